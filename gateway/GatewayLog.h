// Where the gateway tells what happened (a port that does not open, a device that stopped
// answering, the broker gone): one line or a few at a time, from any of its threads.
#pragma once

#include <functional>
#include <mutex>
#include <ostream>
#include <string>

class GatewayLog {
  public:
    explicit GatewayLog(std::ostream& out) : m_out(out) {}
    void say(const std::string& text) {
        std::lock_guard lock(m_mutex);
        m_out << "korval serve: " << text << std::endl;
    }

  private:
    std::mutex m_mutex;
    std::ostream& m_out;
};
