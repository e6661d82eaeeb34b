// The application object: runs the main window until it is closed.
#pragma once

class CMonitorApp {
  public:
    // Shows the main window as the program's application window and runs until it is
    // closed; returns false so the program ends with it.
    bool initInstance();
};
