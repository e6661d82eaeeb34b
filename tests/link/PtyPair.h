// A pseudo-terminal whose slave stands in for a serial port; the test plays the device
// on the master side.
#pragma once

#include <chrono>
#include <string>

#include "ModbusFrame.h"

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0; }
    const std::string& slavePath() const { return m_slavePath; }

    void send(const Bytes& bytes);
    // Reads until `count` bytes came or `timeout` passed; returns what came.
    Bytes receive(size_t count, std::chrono::milliseconds timeout);
    // The device vanishes: the slave side sees a hang-up.
    void closeMaster();

  private:
    int m_master = -1;
    std::string m_slavePath;
};
