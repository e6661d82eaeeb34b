// What page tests share: the simulated device on COM1 over a real pseudo-terminal, the
// link settings a fresh program has, recorded message boxes, and an event loop that runs
// for a while so timers fire.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "DeviceServer.h"
#include "EventLoop.h"
#include "LinkSettings.h"
#include "MessageBox.h"
#include "SerialPort.h"

class PageHarness : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device.start());
        setPortPath(1, device.path());
        LinkSettings::portNumber = 1;
        LinkSettings::baudRate = 9600;
        LinkSettings::deviceAddress = 1;
        setMessageSink([this](const MessageBoxEvent& e) { messages.push_back(e); });
    }
    void TearDown() override {
        closeSerialPort();
        setMessageSink({});
        clearPortPaths();
    }

    // The oldest unread message box, taken off the list ("" when none).
    std::string takeMessage(MessageIcon* icon = nullptr) {
        if (messages.empty()) {
            return {};
        }
        MessageBoxEvent e = messages.front();
        messages.pop_front();
        if (icon != nullptr) {
            *icon = e.icon;
        }
        return e.text;
    }

    DeviceServer device;
    std::deque<MessageBoxEvent> messages;
};
