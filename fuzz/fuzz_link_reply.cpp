// The link's pure parts against references: the CRC against a bit-by-bit CRC, the reply
// check against that reference, frame building and checking as a round trip (with every
// single-bit error caught), request builders read back, register access and decoding.
#include <cmath>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "ModbusCrc.h"
#include "ModbusExchange.h"
#include "ModbusFrame.h"
#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

// CRC-16/MODBUS one bit at a time, as in textbooks; the value as computed (low byte first
// on the wire).
uint16_t referenceCrc(const uint8_t* data, size_t size) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

// The big-endian word at `at`.
size_t wordAt(const Bytes& bytes, size_t at) {
    return (size_t{bytes[at]} << 8) | bytes[at + 1];
}

bool referenceFrameOk(const uint8_t* data, size_t size) {
    if (size < 3) {
        return false;
    }
    const uint16_t crc = referenceCrc(data, size - 2);
    return data[size - 2] == (crc & 0xFF) && data[size - 1] == (crc >> 8);
}

void checkCrcAndFrames(const uint8_t* data, size_t size) {
    const uint16_t crc = modbusCrc16(data, static_cast<int32_t>(size));
    const uint16_t reference = referenceCrc(data, size);
    FUZZ_CHECK(crc == static_cast<uint16_t>((reference << 8) | (reference >> 8)));
    FUZZ_CHECK(frameCrcOk({data, size}) == referenceFrameOk(data, size));

    if (size == 0) {
        return;
    }
    // The first two bytes make an address of which only the low byte may go out.
    const int address = data[0] | (size > 1 ? (data[1] << 8) : 0);
    const std::span<const uint8_t> pdu(data + 1, size - 1);
    Bytes frame = frameRequest(address, pdu);
    FUZZ_CHECK(frame.size() == pdu.size() + 3);
    FUZZ_CHECK(frame[0] == data[0]);
    FUZZ_CHECK(std::equal(pdu.begin(), pdu.end(), frame.begin() + 1));
    FUZZ_CHECK(frameCrcOk(frame));
    FUZZ_CHECK(referenceFrameOk(frame.data(), frame.size()));
    // CRC-16 catches every single-bit error.
    const size_t bit = (static_cast<size_t>(data[size - 1]) * 131 + size) % (frame.size() * 8);
    frame[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    FUZZ_CHECK(!frameCrcOk(frame));
}

void checkRequests(FuzzReader in) {
    const uint16_t start = in.word();
    const uint16_t count = in.word();
    const Bytes read = readHoldingRequest(start, count);
    FUZZ_CHECK(read.size() == 5 && read[0] == 0x03);
    FUZZ_CHECK(wordAt(read, 1) == start && wordAt(read, 3) == count);
    FUZZ_CHECK(readInputRequest(start, count)[0] == 0x04);
    FUZZ_CHECK(readReplyLength(count) == 5 + 2 * size_t{count});
    const Bytes single = writeSingleRequest(start, count);
    FUZZ_CHECK(single.size() == 5 && single[0] == 0x06 && wordAt(single, 3) == count);

    const auto values = in.bytes(300);
    const Bytes multiple = writeMultipleRequest(start, values);
    const size_t registers = std::min<size_t>(values.size() / 2, 123);
    FUZZ_CHECK(multiple.size() == 6 + 2 * registers);
    FUZZ_CHECK(multiple[0] == 0x10 && wordAt(multiple, 3) == registers);
    FUZZ_CHECK(multiple[5] == 2 * registers);
    FUZZ_CHECK(std::equal(multiple.begin() + 6, multiple.end(), values.begin()));

    const uint32_t timeout = static_cast<uint32_t>(in.word()) * 1000u + in.byte();
    const int baud = static_cast<int>(in.word()) * 64;
    const size_t length = in.word();
    const uint32_t waited = ModbusExchange::effectiveTimeout(timeout, length, baud);
    FUZZ_CHECK(waited >= timeout);
    if (baud > 0) {
        FUZZ_CHECK(waited >= static_cast<double>(length) * 10000.0 / baud);
    }
}

void checkRegisters(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> reply(data, size);
    for (size_t index = 0; index < 130; ++index) {
        const uint16_t value = replyRegister(reply, index);
        if (size >= 5 && index < (size - 3) / 2) {
            FUZZ_CHECK(value == ((data[3 + 2 * index] << 8) | data[4 + 2 * index]));
        } else {
            FUZZ_CHECK(value == 0);
        }
    }
    if (size < 2) {
        return;
    }
    const uint16_t value = static_cast<uint16_t>((data[0] << 8) | data[1]);
    // Sign and magnitude read back: the sign from bit 15, the number within rounding.
    const std::string temperature = formatValue(kTemperature, value);
    FUZZ_CHECK((temperature[0] == '-') == smNegative(value));
    const double shown = std::strtod(temperature.c_str(), nullptr);
    FUZZ_CHECK(std::fabs(std::fabs(shown) - smMagnitude(value) * 0.1) <= 0.05 + 1e-9);
    const std::string voltage = formatValue(kBankVoltage, value);
    FUZZ_CHECK(std::fabs(std::strtod(voltage.c_str(), nullptr) - value * 0.001) <= 0.0005 + 1e-9);
    FUZZ_CHECK(voltage.back() == 'V');

    FUZZ_CHECK(fromBcd(data[0]) == (data[0] >> 4) * 10 + (data[0] & 0x0F));
    const int decimal = data[1] % 100;
    FUZZ_CHECK(fromBcd(toBcd(decimal)) == decimal);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkCrcAndFrames(data, size);
    checkRequests(FuzzReader(data, size));
    checkRegisters(data, size);
    return 0;
}
