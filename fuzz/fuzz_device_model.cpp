// The simulated device's register model on any sequence of requests with a valid CRC: every
// reply is a whole frame with a valid CRC that echoes the address and the function (or
// marks it as an exception), and has the length its function promises.
#include <chrono>
#include <vector>

#include "DeviceModel.h"
#include "FuzzCheck.h"
#include "ModbusFrame.h"

namespace {

void checkReply(const std::vector<uint8_t>& frame, const std::vector<uint8_t>& reply) {
    if (frame.size() < 4) {
        FUZZ_CHECK(reply.empty());  // no function code: nothing to answer
        return;
    }
    FUZZ_CHECK(reply.size() >= 5);
    FUZZ_CHECK(frameCrcOk(reply));
    FUZZ_CHECK(reply[0] == frame[0]);
    const uint8_t function = frame[1];
    if (reply[1] == (function | 0x80)) {
        FUZZ_CHECK(reply.size() == 5);
        FUZZ_CHECK(reply[2] >= 1 && reply[2] <= 4);
        return;
    }
    FUZZ_CHECK(reply[1] == function);
    switch (function) {
        case 0x03:
        case 0x04: {
            const size_t count = (frame[4] << 8) | frame[5];
            FUZZ_CHECK(reply.size() == 5 + 2 * count && reply[2] == 2 * count);
            break;
        }
        case 0x06:
            FUZZ_CHECK(reply.size() == 8);
            FUZZ_CHECK(std::equal(frame.begin(), frame.begin() + 6, reply.begin()));
            break;
        case 0x10:
            FUZZ_CHECK(reply.size() == 8);
            FUZZ_CHECK(std::equal(frame.begin(), frame.begin() + 6, reply.begin()));
            break;
        default:
            FUZZ_CHECK(false);  // any other function must be refused
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    const int address = 1 + in.byte() % 247;
    DeviceModel model(address);
    model.setProbeScanTime(std::chrono::milliseconds(in.byte()));
    while (!in.empty()) {
        const uint8_t op = in.byte();
        if (op >= 0xF0) {
            model.advance(std::chrono::milliseconds(100 * (op - 0xEF)));
            continue;
        }
        // The server hands over only frames for this address whose CRC holds.
        const auto body = in.bytes(op);
        std::vector<uint8_t> frame = frameRequest(address, body);
        const DeviceModel::Reply reply = model.respond(frame);
        checkReply(frame, reply.bytes);
        FUZZ_CHECK(reply.delay.count() >= 0);
    }
    return 0;
}
