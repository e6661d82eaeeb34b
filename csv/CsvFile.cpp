// CSV fields and lines, and the file written through a temporary one beside it.
#include "CsvFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr size_t kFlushBytes = 64 * 1024;  // the buffer a long file is written in

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// "dir/.name.XXXXXX": hidden, in the target's folder, so the rename never crosses a disk.
std::string temporaryPattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameAt) + "." + path.substr(nameAt) + ".XXXXXX";
}

// mkstemp makes the file private; the export gets what any new file of the user gets.
void giveUsualMode(int fd) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

bool writeLines(int fd, const CsvLineSource& nextLine) {
    std::string buffer(kUtf8Bom);
    std::string line;
    while (nextLine(line)) {
        buffer += line;
        buffer += kCsvLineEnd;
        if (buffer.size() >= kFlushBytes) {
            if (!writeAll(fd, buffer)) {
                return false;
            }
            buffer.clear();
        }
    }
    return writeAll(fd, buffer) && ::fsync(fd) == 0;
}

}  // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvLine(std::span<const std::string> fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += csvField(fields[i]);
    }
    return line;
}

namespace {

// Runs `write` on a temporary file beside `path` and renames it into place once all of it is
// on disk; on failure the temporary file is removed and `errorNumber` says why.
bool writeAside(const std::string& path, const std::function<bool(int fd)>& write,
                int& errorNumber) {
    std::string temporary = temporaryPattern(path);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        errorNumber = errno;
        return false;
    }
    giveUsualMode(fd);
    const bool written = write(fd);
    int failure = written ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        errorNumber = failure;
        return false;
    }
    errorNumber = 0;
    return true;
}

}  // namespace

bool writeCsvFile(const std::string& path, const CsvLineSource& nextLine, int& errorNumber) {
    return writeAside(
        path, [&](int fd) { return writeLines(fd, nextLine); }, errorNumber);
}

bool writeFileAside(const std::string& path, std::string_view bytes, int& errorNumber) {
    return writeAside(
        path, [&](int fd) { return writeAll(fd, bytes) && ::fsync(fd) == 0; }, errorNumber);
}

bool writeCsvFile(const std::string& path, std::span<const std::string> lines, int& errorNumber) {
    size_t next = 0;
    return writeCsvFile(
        path,
        [&](std::string& line) {
            if (next == lines.size()) {
                return false;
            }
            line = lines[next++];
            return true;
        },
        errorNumber);
}
