// Request helpers for the device model tests: build real frames with the link's builders,
// hand them to the model and pick its replies apart.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

#include "DeviceModel.h"
#include "ModbusFrame.h"

namespace modeltest {

inline Bytes ask(DeviceModel& model, const Bytes& pdu) {
    return model.answer(frameRequest(model.address(), pdu));
}

// The exception code of a well-formed 5-byte exception reply, none for any other reply.
inline std::optional<uint8_t> exceptionCode(const Bytes& reply) {
    if (reply.size() != 5 || (reply[1] & 0x80) == 0 || !frameCrcOk(reply)) {
        return std::nullopt;
    }
    return reply[2];
}

inline std::vector<uint16_t> registersOf(const Bytes& reply) {
    std::vector<uint16_t> values;
    for (size_t i = 3; i + 3 < reply.size(); i += 2) {
        values.push_back(static_cast<uint16_t>(reply[i] << 8 | reply[i + 1]));
    }
    return values;
}

// Reads with 0x03 (or 0x04) and fails the test unless the reply is a proper read reply.
inline std::vector<uint16_t> readRegs(DeviceModel& model, uint16_t start, uint16_t count,
                                      bool input = false) {
    const Bytes reply =
        ask(model, input ? readInputRequest(start, count) : readHoldingRequest(start, count));
    EXPECT_EQ(reply.size(), readReplyLength(count)) << "read of " << start;
    EXPECT_TRUE(frameCrcOk(reply));
    if (reply.size() != readReplyLength(count)) {
        return {};
    }
    EXPECT_EQ(reply[2], 2 * count);
    return registersOf(reply);
}

inline uint16_t readReg(DeviceModel& model, uint16_t reg) {
    const std::vector<uint16_t> values = readRegs(model, reg, 1);
    return values.empty() ? 0xDEAD : values[0];
}

inline std::optional<uint8_t> readError(DeviceModel& model, uint16_t start, uint16_t count) {
    return exceptionCode(ask(model, readHoldingRequest(start, count)));
}

inline Bytes write06(DeviceModel& model, uint16_t reg, uint16_t value) {
    return ask(model, writeSingleRequest(reg, value));
}

// True when the device echoed the 0x06 request, i.e. took the value.
inline bool set06(DeviceModel& model, uint16_t reg, uint16_t value) {
    const Bytes request = frameRequest(model.address(), writeSingleRequest(reg, value));
    return model.answer(request) == request;
}

inline Bytes write10(DeviceModel& model, uint16_t start, std::initializer_list<uint16_t> values) {
    Bytes data;
    for (uint16_t v : values) {
        data.push_back(static_cast<uint8_t>(v >> 8));
        data.push_back(static_cast<uint8_t>(v & 0xFF));
    }
    return ask(model, writeMultipleRequest(start, data));
}

// True when the device gave the 8-byte 0x10 reply with the request's start and quantity.
inline bool set10(DeviceModel& model, uint16_t start, std::initializer_list<uint16_t> values) {
    const Bytes reply = write10(model, start, values);
    const Bytes expected =
        frameRequest(model.address(), Bytes{0x10, static_cast<uint8_t>(start >> 8),
                                            static_cast<uint8_t>(start & 0xFF), 0,
                                            static_cast<uint8_t>(values.size())});
    return reply == expected;
}

}  // namespace modeltest
