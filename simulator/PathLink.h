// A symbolic link that names the device's terminal for as long as the program runs.
#pragma once

#include <string>

class PathLink {
  public:
    PathLink() = default;
    ~PathLink();
    PathLink(const PathLink&) = delete;
    PathLink& operator=(const PathLink&) = delete;

    // Makes `linkPath` point at `target`. A symbolic link already there (left by an earlier
    // run) is replaced; anything else is refused. On failure `error` says why.
    bool create(const std::string& linkPath, const std::string& target, std::string& error);
    // Removes the link, but only while it still points where this one made it point.
    void remove();

  private:
    std::string m_linkPath;
    std::string m_target;
};
