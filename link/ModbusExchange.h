// One checked request/reply exchange on the open port (LinkSettings::portHandle).
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "ModbusFrame.h"

enum class ExchangeResult { Ok, Failed };

class ModbusExchange {
  public:
    // Sends `pdu` to LinkSettings::deviceAddress, waits for `replyLength` bytes and reads
    // them. Ok only when the CRC holds, the queue held exactly `replyLength` bytes and the
    // read returned them all; `reply` then holds the whole frame, and is empty on failure.
    // Bytes left in the receive queue by an earlier exchange are discarded before sending.
    // `afterSend`, when given, runs once the request is written and before the wait begins
    // (a device that needs time before it answers, such as a calibration).
    static ExchangeResult exchange(std::span<const uint8_t> pdu, size_t replyLength,
                                   uint32_t timeoutMs, Bytes& reply,
                                   const std::function<void()>& afterSend = {});

    // The time-out actually waited: never shorter than the reply's time on the line at
    // `baudRate` (10 bits a byte) plus 100 ms, so slow links can succeed at all.
    static uint32_t effectiveTimeout(uint32_t timeoutMs, size_t replyLength, int baudRate);
};

// Register `index` of a read reply (data starts at byte 3, high byte first); 0 when the
// reply is too short to hold it.
uint16_t replyRegister(std::span<const uint8_t> reply, size_t index);
