// How a page talks to the device: in registers (device/RegisterLink), on a port it holds
// open. The port is opened with the link settings (or the operator is told why it cannot be
// had) and closed when its holder goes; a page never sees a frame, a CRC or a reply length.
#pragma once

#include "RegisterLink.h"

// The port for one handler: opened (or the operator told) at construction, closed when the
// handler's scope ends.
class PortSession : public LinkPort {
  public:
    PortSession();
    explicit operator bool() const { return isOpen(); }
};

// The port a page keeps open across timer ticks (a continuous reading): open() when the work
// starts, release() when it stops; released at the latest when the page goes.
class HeldPort : public LinkPort {
  public:
    // Opens the port of the link settings, or tells the operator and returns false.
    bool open();
    void release() { close(); }
};
