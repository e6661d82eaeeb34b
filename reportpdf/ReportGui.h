// Qt Gui for a program without a window (korval report): an offscreen QGuiApplication while
// this lives, unless the program already has one. No display is needed.
#pragma once

#include <memory>

class QGuiApplication;

class ReportGui {
  public:
    ReportGui();
    ~ReportGui();
    ReportGui(const ReportGui&) = delete;
    ReportGui& operator=(const ReportGui&) = delete;

  private:
    std::unique_ptr<QGuiApplication> m_app;
};
