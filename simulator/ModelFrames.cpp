// Request parsing and reply framing of the simulated device.
#include "ModelFrames.h"

#include "ModbusCrc.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint16_t word(std::span<const uint8_t> frame, size_t at) {
    return static_cast<uint16_t>(frame[at] << 8 | frame[at + 1]);
}

void putWord(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

Bytes withCrc(Bytes out) {
    const uint16_t crc = modbusCrc16(out.data(), static_cast<int32_t>(out.size()));
    putWord(out, crc);
    return out;
}

ModbusError parseRead(std::span<const uint8_t> frame, ModelRequest& out) {
    if (frame.size() != 8) {
        return ModbusError::IllegalValue;
    }
    out.start = word(frame, 2);
    out.quantity = word(frame, 4);
    if (out.quantity == 0 || out.quantity > kMaxReadCount) {
        return ModbusError::IllegalValue;
    }
    return ModbusError::None;
}

ModbusError parseWriteSingle(std::span<const uint8_t> frame, ModelRequest& out) {
    if (frame.size() != 8) {
        return ModbusError::IllegalValue;
    }
    out.start = word(frame, 2);
    out.quantity = 1;
    out.values = {word(frame, 4)};
    return ModbusError::None;
}

ModbusError parseWriteMultiple(std::span<const uint8_t> frame, ModelRequest& out) {
    if (frame.size() < 9) {
        return ModbusError::IllegalValue;
    }
    out.start = word(frame, 2);
    out.quantity = word(frame, 4);
    const size_t byteCount = frame[6];
    if (out.quantity == 0 || out.quantity > kMaxWriteCount || byteCount != 2u * out.quantity ||
        frame.size() != 9 + byteCount) {
        return ModbusError::IllegalValue;
    }
    out.values.clear();
    for (size_t i = 0; i < out.quantity; ++i) {
        out.values.push_back(word(frame, 7 + 2 * i));
    }
    return ModbusError::None;
}

}  // namespace

ModbusError parseRequest(std::span<const uint8_t> frame, ModelRequest& out) {
    if (frame.size() < 4) {
        return ModbusError::IllegalValue;
    }
    out.address = frame[0];
    out.function = frame[1];
    switch (out.function) {
        case kReadHolding:
        case kReadInput:
            return parseRead(frame, out);
        case kWriteSingle:
            return parseWriteSingle(frame, out);
        case kWriteMultiple:
            return parseWriteMultiple(frame, out);
        default:
            return ModbusError::IllegalFunction;
    }
}

Bytes readReply(uint8_t address, uint8_t function, std::span<const uint16_t> values) {
    Bytes out{address, function, static_cast<uint8_t>(2 * values.size())};
    for (uint16_t v : values) {
        putWord(out, v);
    }
    return withCrc(std::move(out));
}

Bytes writeReply(uint8_t address, uint8_t function, uint16_t first, uint16_t second) {
    Bytes out{address, function};
    putWord(out, first);
    putWord(out, second);
    return withCrc(std::move(out));
}

Bytes exceptionReply(uint8_t address, uint8_t function, ModbusError error) {
    return withCrc(
        Bytes{address, static_cast<uint8_t>(function | 0x80), static_cast<uint8_t>(error)});
}
