// The shape of every device command: open the port with the link settings (or tell the
// operator it cannot be had), run checked exchanges on it, close it on every path.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "ModbusFrame.h"

// Opens the port of the link settings; on failure shows the application box
// "没有发现此串口或此串口被占用" and returns false.
bool openPortOrWarn();

// Opens the port for one handler and closes it when the handler's scope ends.
class PortSession {
  public:
    PortSession() : m_open(openPortOrWarn()) {}
    ~PortSession();
    PortSession(const PortSession&) = delete;
    PortSession& operator=(const PortSession&) = delete;
    bool isOpen() const { return m_open; }

  private:
    bool m_open;
};

// One exchange on the open port: the whole reply frame when it passes the checks.
std::optional<Bytes> runExchange(std::span<const uint8_t> pdu, size_t replyLength,
                                 uint32_t timeoutMs = 1000);
