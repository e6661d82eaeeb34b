// The device's end of a pseudo-terminal: the master side it reads and writes, and the
// slave path a program opens as its serial port.
#pragma once

#include <string>

class PtyEndpoint {
  public:
    PtyEndpoint() = default;
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    // Creates the pair; false with errno kept on failure. The master is non-blocking.
    bool open();
    // Closes both sides: a program holding the slave sees a hang-up.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

  private:
    int m_master = -1;
    // Held open (and never read) so the line stays up while programs close and reopen
    // the slave; without it the master would report a hang-up after every close.
    int m_ownSlave = -1;
    std::string m_slavePath;
};
