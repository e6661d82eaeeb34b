// The simulated device's serving thread: reads requests from the pseudo-terminal, lets
// the model answer those addressed to it, and writes the (possibly faulty) replies.
#include "DeviceServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>

#include "LineSchedule.h"
#include "ModbusFrame.h"
#include "ModelAddresses.h"
#include "RtuFramer.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A request that stops for this long is over, whatever its length says.
constexpr milliseconds kMinIdleGap{50};
// How often the model's clock runs and its values drift.
constexpr milliseconds kAdvancePeriod{100};
// How long to leave the line alone after it reports a hang-up, instead of spinning on it.
constexpr milliseconds kHangupBackoff{50};

bool makePipe(int fds[2]) {
    if (pipe(fds) != 0) {
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        if (fcntl(fds[i], F_SETFL, O_NONBLOCK) != 0 || fcntl(fds[i], F_SETFD, FD_CLOEXEC) != 0) {
            return false;
        }
    }
    return true;
}

// What a master at the wrong rate makes of a reply: no frame at all.
constexpr uint8_t kMisheardReply[] = {0xF8, 0x00, 0x80, 0xFE};

// The rate a program set on the slave side, as the master side sees it; 0 when unknown.
int masterLineRate(int masterFd) {
    termios t{};
    if (masterFd < 0 || tcgetattr(masterFd, &t) != 0) {
        return 0;
    }
    constexpr std::pair<speed_t, int> kRates[] = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    for (const auto& [speed, rate] : kRates) {
        if (cfgetispeed(&t) == speed) {
            return rate;
        }
    }
    return 0;
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void drain(int fd) {
    uint8_t sink[64];
    while (read(fd, sink, sizeof sink) > 0) {
    }
}

// Bytes nobody is reading pile up in the terminal until the buffer is full; on a real line
// they would simply be lost, so a refused write drops them.
void writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

timespec untilNow(Clock::time_point wakeAt) {
    const auto wait = std::max(wakeAt - Clock::now(), Clock::duration::zero());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    timespec result{};
    result.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    result.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return result;
}

Clock::duration idleGapFor(Clock::duration byteTime) {
    return std::max<Clock::duration>(kMinIdleGap, byteTime * 7 / 2);
}

}  // namespace

struct DeviceServer::Line {
    RtuFramer framer{kMinIdleGap};
    LineSchedule schedule;
    int paceBaud = -1;
    Clock::time_point lastAdvance = Clock::now();
    Clock::time_point quietUntil{};

    void applyPace(int baud) {
        if (baud != paceBaud) {
            paceBaud = baud;
            schedule.setByteTime(LineSchedule::byteTime(baud));
            framer.setIdleGap(idleGapFor(schedule.byteTime()));
        }
    }

    Clock::time_point nextWake() const {
        Clock::time_point wakeAt = lastAdvance + kAdvancePeriod;
        if (auto due = schedule.nextDue()) {
            wakeAt = std::min(wakeAt, *due);
        }
        if (auto idle = framer.idleDeadline()) {
            wakeAt = std::min(wakeAt, *idle);
        }
        return wakeAt;
    }
};

DeviceServer::DeviceServer() : DeviceServer(Options{}) {}

DeviceServer::DeviceServer(Options options)
    : m_options(options),
      m_model(options.address),
      m_randomFaults(options.faultRatePercent, options.faultSeed),
      m_paceBaud(options.paceBaud) {
    for (const int address : m_options.busAddresses) {
        if (address != m_options.address && !m_busModels.contains(address)) {
            m_busModels.emplace(address, std::make_unique<DeviceModel>(address));
        }
    }
}

DeviceServer::~DeviceServer() {
    stop();
}

bool DeviceServer::start() {
    if (m_thread.joinable()) {
        return true;
    }
    if (!makePipe(m_wakePipe) || !m_pty.open()) {
        const int error = errno;
        closeFd(m_wakePipe[0]);
        closeFd(m_wakePipe[1]);
        errno = error;
        return false;
    }
    m_stopRequested = false;
    m_vanished = false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void DeviceServer::stop() {
    stopThread();
    m_pty.close();
}

bool DeviceServer::running() const {
    return m_thread.joinable();
}

std::string DeviceServer::path() const {
    return m_pty.slavePath();
}

void DeviceServer::vanish() {
    stop();
    m_vanished = true;
}

bool DeviceServer::vanished() const {
    return m_vanished;
}

void DeviceServer::setPaceBaud(int baud) {
    m_paceBaud = std::max(baud, 0);
    wake();
}

void DeviceServer::setAutoRegistrationDelayMs(int delayMs) {
    std::lock_guard lock(m_mutex);
    m_model.setProbeScanTime(milliseconds(delayMs));
    for (auto& entry : m_busModels) {
        entry.second->setProbeScanTime(milliseconds(delayMs));
    }
}

void DeviceServer::setRegister(uint16_t reg, uint16_t value) {
    std::lock_guard lock(m_mutex);
    m_model.setRegister(reg, value);
}

void DeviceServer::setLine(int address, int lineBaud) {
    std::lock_guard lock(m_mutex);
    m_options.address = address;
    m_options.lineBaud = lineBaud;
    m_model.setRegister(devreg::kDeviceAddress, static_cast<uint16_t>(address));
    if (lineBaud > 0) {
        m_model.setRegister(devreg::kBaudRate, static_cast<uint16_t>(lineBaud));
    }
}

std::optional<uint16_t> DeviceServer::registerValue(uint16_t reg) const {
    std::lock_guard lock(m_mutex);
    return m_model.registerValue(reg);
}

void DeviceServer::seedVoltageRecords(int group, int count) {
    std::lock_guard lock(m_mutex);
    m_model.seedVoltageRecords(group, count);
}

void DeviceServer::seedResistanceRecords(int count) {
    std::lock_guard lock(m_mutex);
    m_model.seedResistanceRecords(count);
}

void DeviceServer::seedAlarmRecords(int count) {
    std::lock_guard lock(m_mutex);
    m_model.seedAlarmRecords(count);
}

void DeviceServer::withModel(const std::function<void(DeviceModel&)>& action) {
    std::lock_guard lock(m_mutex);
    action(m_model);
}

bool DeviceServer::withModelAt(int address, const std::function<void(DeviceModel&)>& action) {
    std::lock_guard lock(m_mutex);
    DeviceModel* model = modelAt(address);
    if (model != nullptr) {
        action(*model);
    }
    return model != nullptr;
}

std::vector<int> DeviceServer::addresses() const {
    std::vector<int> result{m_options.address};
    for (const auto& entry : m_busModels) {
        result.push_back(entry.first);
    }
    return result;
}

void DeviceServer::silence(int address, bool silent) {
    std::lock_guard lock(m_mutex);
    if (modelAt(address) == nullptr) {
        return;
    }
    if (silent) {
        m_silenced.insert(address);
    } else {
        m_silenced.erase(address);
    }
}

bool DeviceServer::silenced(int address) const {
    std::lock_guard lock(m_mutex);
    return m_silenced.contains(address);
}

DeviceModel* DeviceServer::modelAt(int address) {
    if (address == m_options.address) {
        return &m_model;
    }
    const auto found = m_busModels.find(address);
    return found == m_busModels.end() ? nullptr : found->second.get();
}

void DeviceServer::injectFault(FaultKind kind, int count, int parameter) {
    std::lock_guard lock(m_mutex);
    m_faults.add(kind, count, parameter);
}

void DeviceServer::passReplies(int count) {
    std::lock_guard lock(m_mutex);
    m_faults.pass(count);
}

void DeviceServer::clearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::vector<LoggedFrame> DeviceServer::requests() const {
    std::lock_guard lock(m_mutex);
    return {m_log.begin(), m_log.end()};
}

std::vector<LoggedFrame> DeviceServer::requestsSince(uint64_t sequence) const {
    std::lock_guard lock(m_mutex);
    const auto first = std::find_if(m_log.begin(), m_log.end(), [sequence](const LoggedFrame& f) {
        return f.sequence >= sequence;
    });
    return {first, m_log.end()};
}

uint64_t DeviceServer::requestsSeen() const {
    std::lock_guard lock(m_mutex);
    return m_requestsSeen;
}

ServerCounters DeviceServer::counters() const {
    std::lock_guard lock(m_mutex);
    return m_counters;
}

void DeviceServer::clearRequests() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

void DeviceServer::wake() {
    if (m_wakePipe[1] >= 0) {
        const uint8_t byte = 1;
        [[maybe_unused]] const ssize_t n = write(m_wakePipe[1], &byte, 1);
    }
}

void DeviceServer::stopThread() {
    if (m_thread.joinable()) {
        m_stopRequested = true;
        wake();
        m_thread.join();
    }
    closeFd(m_wakePipe[0]);
    closeFd(m_wakePipe[1]);
}

void DeviceServer::serve() {
    Line line;
    const int master = m_pty.masterFd();
    uint8_t buffer[512];
    while (!m_stopRequested) {
        line.applyPace(m_paceBaud);
        const bool listening = Clock::now() >= line.quietUntil;
        pollfd fds[2] = {{m_wakePipe[0], POLLIN, 0}, {master, POLLIN, 0}};
        const Clock::time_point wakeAt =
            listening ? line.nextWake() : std::min(line.nextWake(), line.quietUntil);
        const timespec timeout = untilNow(wakeAt);
        if (ppoll(fds, listening ? 2 : 1, &timeout, nullptr) < 0 && errno != EINTR) {
            line.quietUntil = Clock::now() + kHangupBackoff;
            continue;
        }
        if (fds[0].revents != 0) {
            drain(m_wakePipe[0]);
        }
        if (listening && fds[1].revents != 0) {
            bool hungUp = (fds[1].revents & POLLIN) == 0;
            ssize_t n = 0;
            while ((n = read(master, buffer, sizeof buffer)) > 0) {
                const auto now = Clock::now();
                for (auto& frame : line.framer.push({buffer, static_cast<size_t>(n)}, now)) {
                    handleFrame(line, std::move(frame.bytes), frame.truncated, frame.firstByte);
                }
            }
            hungUp = hungUp || n == 0 || (errno != EAGAIN && errno != EINTR);
            if (hungUp) {
                line.quietUntil = Clock::now() + kHangupBackoff;
            }
        }
        const auto now = Clock::now();
        if (auto frame = line.framer.expire(now)) {
            handleFrame(line, std::move(frame->bytes), frame->truncated, frame->firstByte);
        }
        if (now - line.lastAdvance >= kAdvancePeriod) {
            const auto elapsed = std::chrono::duration_cast<milliseconds>(now - line.lastAdvance);
            line.lastAdvance += elapsed;
            std::lock_guard lock(m_mutex);
            m_model.advance(elapsed);
            for (auto& entry : m_busModels) {
                entry.second->advance(elapsed);
            }
        }
        writeAll(master, line.schedule.takeDue(Clock::now()));
    }
}

void DeviceServer::handleFrame(Line& line, std::vector<uint8_t> frame, bool truncated,
                               Clock::time_point firstByte) {
    // The terminal hands over a request at once; on the line it takes its own time.
    const auto arrival = firstByte + line.schedule.byteTime() * static_cast<long>(frame.size());
    ShapedReply shaped;
    {
        std::lock_guard lock(m_mutex);
        m_log.push_back(LoggedFrame{frame, arrival, m_requestsSeen++, {}});
        if (m_log.size() > kRequestLogLimit) {
            m_log.pop_front();
        }
        DeviceModel* model = truncated || !frameCrcOk(frame) || m_silenced.contains(frame[0])
                                 ? nullptr
                                 : modelAt(frame[0]);
        if (model == nullptr) {
            return;
        }
        if (m_options.lineBaud > 0 && masterLineRate(m_pty.masterFd()) != m_options.lineBaud) {
            shaped.bytes.assign(std::begin(kMisheardReply), std::end(kMisheardReply));
            m_log.back().reply = shaped.bytes;
            line.schedule.enqueue(std::move(shaped.bytes), std::max(arrival, Clock::now()));
            return;
        }
        // Queued faults and passes come first; random ones only fill in where none is queued.
        const bool queued = !m_faults.empty();
        std::optional<Fault> fault = m_faults.takeNext();
        if (!queued) {
            fault = m_randomFaults.draw();
        }
        ++m_counters.answered;
        m_counters.faultsInjected += fault ? 1 : 0;
        DeviceModel::Reply reply;
        if (!fault || faultExecutesRequest(*fault)) {
            reply = model->respond(frame);
        }
        shaped = fault ? shapeReply(*fault, frame[0], frame[1], std::move(reply.bytes))
                       : ShapedReply{std::move(reply.bytes), milliseconds(0)};
        // A late fault on a reply the device keeps back anyway: the later of the two.
        shaped.delay = std::max(shaped.delay, reply.delay);
        m_log.back().reply = shaped.bytes;
    }
    // Slow and late replies wait on the line's schedule, not on this thread: the device goes
    // on answering meanwhile, and a stop drops them with the schedule. A frame ended by an
    // idle gap is handled after its arrival; its reply starts now.
    const auto earliest = std::max(arrival + shaped.delay, Clock::now());
    line.schedule.enqueue(std::move(shaped.bytes), earliest);
}
