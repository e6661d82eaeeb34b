// The offscreen Qt Gui of the report command.
#include "ReportGui.h"

#include <QGuiApplication>

namespace {
// QGuiApplication keeps argc and argv for its life.
int g_argc = 3;
char g_name[] = "korval";
char g_option[] = "-platform";
char g_platform[] = "offscreen";
char* g_argv[] = {g_name, g_option, g_platform, nullptr};
}  // namespace

ReportGui::ReportGui() {
    if (QGuiApplication::instance() == nullptr) {
        m_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
    }
}

ReportGui::~ReportGui() = default;
