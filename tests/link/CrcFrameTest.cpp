// CRC vectors, request bytes on the wire, and the pure parts of the exchange.
#include <gtest/gtest.h>

#include <random>

#include "ModbusCrc.h"
#include "ModbusExchange.h"
#include "ModbusFrame.h"

namespace {

uint16_t crcOf(const Bytes& bytes) {
    return modbusCrc16(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// The plain bit-by-bit CRC-16/MODBUS, returned in the same swapped form.
uint16_t bitwiseCrc(const Bytes& bytes) {
    uint16_t crc = 0xFFFF;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) {
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(crc >> 1);
        }
    }
    return static_cast<uint16_t>((crc << 8) | (crc >> 8));
}

TEST(ModbusCrc, KnownFramesEndWithTheirCrc) {
    EXPECT_EQ(crcOf({0x01, 0x03, 0x00, 0x50, 0x00, 0x01}), 0x841B);
    EXPECT_EQ(crcOf({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}), 0xC5CD);
    EXPECT_EQ(crcOf({0x01, 0x06, 0x00, 0x01, 0x00, 0x03}), 0x980B);
    EXPECT_EQ(crcOf({0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}), 0x7687);
    // The catalogue check value of CRC-16/MODBUS is 0x4B37; swapped here.
    EXPECT_EQ(crcOf({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0x374B);
}

TEST(ModbusCrc, NothingToCoverGivesInitialValue) {
    const uint8_t byte = 0x55;
    EXPECT_EQ(modbusCrc16(&byte, 0), 0xFFFF);
    EXPECT_EQ(modbusCrc16(&byte, -5), 0xFFFF);
    EXPECT_EQ(modbusCrc16(nullptr, 10), 0xFFFF);
}

TEST(ModbusCrc, TablesAgreeWithBitwiseAlgorithm) {
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(1, 300);
    for (int round = 0; round < 500; ++round) {
        Bytes data(static_cast<size_t>(length(rng)));
        for (auto& b : data) {
            b = static_cast<uint8_t>(byte(rng));
        }
        ASSERT_EQ(crcOf(data), bitwiseCrc(data)) << "round " << round;
    }
}

TEST(ModbusFrame, RequestBuildersPutFieldsHighByteFirst) {
    EXPECT_EQ(readHoldingRequest(0x0050, 1), (Bytes{0x03, 0x00, 0x50, 0x00, 0x01}));
    EXPECT_EQ(readInputRequest(0x1000, 3), (Bytes{0x04, 0x10, 0x00, 0x00, 0x03}));
    EXPECT_EQ(writeSingleRequest(0x10A0, 0xABCD), (Bytes{0x06, 0x10, 0xA0, 0xAB, 0xCD}));
    const Bytes values{0x20, 0x24, 0x01, 0x15};
    EXPECT_EQ(writeMultipleRequest(0x1006, values),
              (Bytes{0x10, 0x10, 0x06, 0x00, 0x02, 0x04, 0x20, 0x24, 0x01, 0x15}));
}

TEST(ModbusFrame, WriteMultipleKeepsCountsConsistent) {
    const Bytes odd{0x01, 0x02, 0x03};
    EXPECT_EQ(writeMultipleRequest(0x0001, odd),
              (Bytes{0x10, 0x00, 0x01, 0x00, 0x01, 0x02, 0x01, 0x02}));
    const Bytes tooMany(2 * 200, 0x7F);
    const Bytes pdu = writeMultipleRequest(0x0000, tooMany);
    EXPECT_EQ(pdu[4], 123);  // register count
    EXPECT_EQ(pdu[5], 246);  // byte count
    EXPECT_EQ(pdu.size(), 6u + 246u);
    EXPECT_EQ(writeMultipleRequest(0x0000, Bytes{}), (Bytes{0x10, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ModbusFrame, FrameSendsLowByteOfAddressAndCrcLast) {
    const Bytes pdu = readHoldingRequest(0x0050, 1);
    EXPECT_EQ(frameRequest(1, pdu), (Bytes{0x01, 0x03, 0x00, 0x50, 0x00, 0x01, 0x84, 0x1B}));
    EXPECT_EQ(frameRequest(257, pdu), frameRequest(1, pdu));
    EXPECT_EQ(frameRequest(300, pdu)[0], 0x2C);
    EXPECT_EQ(frameRequest(-1, pdu)[0], 0xFF);
    const Bytes frame = frameRequest(0x11, writeMultipleRequest(0x0001, Bytes{0, 1, 0, 2}));
    EXPECT_EQ(frame.size(), 9u + 2 * 2);
    EXPECT_TRUE(frameCrcOk(frame));
}

TEST(ModbusFrame, CrcCheckRejectsDamageAndFragments) {
    Bytes frame = frameRequest(1, readHoldingRequest(0, 10));
    ASSERT_TRUE(frameCrcOk(frame));
    for (size_t i = 0; i < frame.size(); ++i) {
        Bytes damaged = frame;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(frameCrcOk(damaged)) << "byte " << i;
    }
    EXPECT_FALSE(frameCrcOk(Bytes{}));
    EXPECT_FALSE(frameCrcOk(Bytes{0xFF, 0xFF}));  // the CRC of nothing: not a frame
}

TEST(ModbusFrame, ReadReplyLengths) {
    EXPECT_EQ(readReplyLength(1), 7u);
    EXPECT_EQ(readReplyLength(40), 85u);
    EXPECT_EQ(readReplyLength(121), 247u);
    EXPECT_EQ(kWriteReplyLength, 8u);
}

TEST(ModbusExchange, EffectiveTimeoutCoversSlowLines) {
    EXPECT_EQ(ModbusExchange::effectiveTimeout(1000, 247, 1200), 2159u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(1000, 247, 2400), 1130u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(1000, 247, 9600), 1000u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(500, 247, 19200), 500u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(7000, 8, 1200), 7000u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(0, 7, 9600), 108u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(300, 7, 0), 300u);
    EXPECT_EQ(ModbusExchange::effectiveTimeout(300, 7, -9600), 300u);
}

TEST(ModbusExchange, ReplyRegisterIsBoundsChecked) {
    const Bytes reply{0x01, 0x03, 0x04, 0x12, 0x34, 0x80, 0x05, 0xAA, 0xBB};
    EXPECT_EQ(replyRegister(reply, 0), 0x1234);
    EXPECT_EQ(replyRegister(reply, 1), 0x8005);
    EXPECT_EQ(replyRegister(reply, 2), 0xAABB);  // the CRC bytes: still inside the buffer
    EXPECT_EQ(replyRegister(reply, 3), 0);
    EXPECT_EQ(replyRegister(reply, SIZE_MAX), 0);
    EXPECT_EQ(replyRegister(Bytes{0x01, 0x03, 0x02, 0x12}, 0), 0);
    EXPECT_EQ(replyRegister(Bytes{}, 0), 0);
}

}  // namespace
