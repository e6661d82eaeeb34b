// Port opening and exchanges as every page runs them.
#include "DeviceCommand.h"

#include "MessageBox.h"
#include "Messages.h"
#include "ModbusExchange.h"
#include "SerialPort.h"

bool openPortOrWarn() {
    if (openSerialPort(LinkSettings::portNumber, LinkSettings::baudRate) == nullptr) {
        appMessageBox(kMsgPortOpenFailed);
        return false;
    }
    return true;
}

PortSession::~PortSession() {
    if (m_open) {
        closeSerialPort();
    }
}

std::optional<Bytes> runExchange(std::span<const uint8_t> pdu, size_t replyLength,
                                 uint32_t timeoutMs) {
    Bytes reply;
    if (ModbusExchange::exchange(pdu, replyLength, timeoutMs, reply) != ExchangeResult::Ok) {
        return std::nullopt;
    }
    return reply;
}
