// One request/reply exchange on the open port and the checks a reply must pass.
#include "ModbusExchange.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "LinkSettings.h"
#include "SerialPort.h"
#include "TrafficRecorder.h"

namespace {

constexpr double kBitsPerByte = 10.0;  // start, 8 data, stop
constexpr double kLineMarginMs = 100.0;

// One exchange as the traffic record keeps it, when recording is on. It only copies bytes
// and reads clocks, and it reads what the exchange would drop unread: the bytes waiting
// before the request (the discard follows at once, as it always does) and the surplus of an
// over-long reply already queued (the next exchange would discard it). The device sees no
// difference, and the exchange's verdict is made before the trace finishes.
class ExchangeTrace {
  public:
    explicit ExchangeTrace(PortHandle handle)
        : m_handle(handle), m_on(trafficRecorder().enabled()) {}

    void beforeSend() {
        if (m_on) {
            takeRxBytes(m_handle, m_record.discarded);
        }
    }
    void sent(const Bytes& request, size_t written) {
        if (m_on) {
            m_start = std::chrono::steady_clock::now();
            m_record.time = std::chrono::system_clock::now();
            m_record.request.assign(request.begin(),
                                    request.begin() + static_cast<std::ptrdiff_t>(written));
        }
    }
    void sendFailed() { finish(TrafficOutcome::SendFailed); }
    void received(const Bytes& frame, size_t got, uint32_t queued, bool accepted) {
        if (!m_on) {
            return;
        }
        m_record.reply.assign(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(got));
        if (queued > got) {
            takeRxBytes(m_handle, m_record.reply);
        }
        finish(classifyReply(m_record.reply, frame.size(), accepted));
    }

  private:
    void finish(TrafficOutcome outcome) {
        if (!m_on) {
            return;
        }
        m_record.outcome = outcome;
        m_record.onLine = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - m_start);
        trafficRecorder().add(m_record);
    }

    PortHandle m_handle;
    bool m_on;
    TrafficRecord m_record;
    std::chrono::steady_clock::time_point m_start{};
};

}  // namespace

// On failure `reply` is left empty, so no caller can decode a rejected frame.
ExchangeResult ModbusExchange::exchange(std::span<const uint8_t> pdu, size_t replyLength,
                                        uint32_t timeoutMs, Bytes& reply,
                                        const std::function<void()>& afterSend) {
    const PortHandle handle = LinkSettings::portHandle;
    const Bytes request = frameRequest(LinkSettings::deviceAddress, pdu);
    reply.clear();
    if (handle == nullptr || replyLength > std::numeric_limits<uint16_t>::max()) {
        return ExchangeResult::Failed;
    }
    ExchangeTrace trace(handle);
    // The tail of an earlier late reply would otherwise be read as the start of this one.
    trace.beforeSend();
    discardRxBytes(handle);
    const size_t written = writePort(handle, request.data(), request.size());
    trace.sent(request, written);
    if (written != request.size()) {
        trace.sendFailed();
        return ExchangeResult::Failed;  // the device cannot have the whole request
    }
    if (afterSend) {
        afterSend();
    }
    const uint32_t wait = effectiveTimeout(timeoutMs, replyLength, portBaudRate(handle));
    const uint32_t count = waitForRxBytes(handle, static_cast<uint16_t>(replyLength), wait);
    Bytes frame(replyLength);
    // A wait that ended short has failed the exchange already: take only what came, so a
    // silent device costs the time-out and not the read's own time-out on top of it.
    const size_t toRead = std::min<size_t>(count, replyLength);
    const size_t got = readPort(handle, frame.data(), toRead);
    const bool accepted = frameCrcOk(frame) && count == replyLength && got == replyLength;
    trace.received(frame, got, count, accepted);
    if (!accepted) {
        return ExchangeResult::Failed;
    }
    reply = std::move(frame);
    return ExchangeResult::Ok;
}

uint32_t ModbusExchange::effectiveTimeout(uint32_t timeoutMs, size_t replyLength, int baudRate) {
    if (baudRate <= 0) {
        return timeoutMs;
    }
    const double lineMs = static_cast<double>(replyLength) * kBitsPerByte * 1000.0 / baudRate;
    const double floorMs = std::ceil(lineMs + kLineMarginMs);
    if (timeoutMs >= floorMs) {
        return timeoutMs;
    }
    constexpr double kMax = std::numeric_limits<uint32_t>::max();
    return floorMs >= kMax ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(floorMs);
}

uint16_t replyRegister(std::span<const uint8_t> reply, size_t index) {
    if (reply.size() < 5 || index >= (reply.size() - 3) / 2) {
        return 0;
    }
    return static_cast<uint16_t>((reply[3 + 2 * index] << 8) | reply[4 + 2 * index]);
}
