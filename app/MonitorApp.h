// The application object: runs the main window until it is closed.
#pragma once

class CMonitorApp {
  public:
    // Runs the main window modally; returns false so the program ends with it.
    bool initInstance();
};
