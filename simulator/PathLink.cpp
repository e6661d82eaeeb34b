// Symbolic link management for korval-device's --link option.
#include "PathLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string readLink(const std::string& path) {
    char buffer[4096];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

}  // namespace

PathLink::~PathLink() {
    remove();
}

bool PathLink::create(const std::string& linkPath, const std::string& target, std::string& error) {
    struct stat info {};
    if (lstat(linkPath.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        error = linkPath + " exists and is not a symbolic link; not replacing it";
        return false;
    }
    // Made under a temporary name and renamed over the old one, so the path is never
    // missing or half made for a program that opens it meanwhile.
    const std::string temporary = linkPath + ".tmp" + std::to_string(getpid());
    ::unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        error = "cannot create " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    if (std::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        error = "cannot create " + linkPath + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    m_linkPath = linkPath;
    m_target = target;
    return true;
}

void PathLink::remove() {
    if (!m_linkPath.empty() && readLink(m_linkPath) == m_target) {
        ::unlink(m_linkPath.c_str());
    }
    m_linkPath.clear();
}
