// The two message boxes: the application box (warning icon) and the box a dialog owns
// (no icon). Both carry the application's name as caption and pass through one sink.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class QWidget;

inline constexpr const char* kAppName = "KORVAL";

enum class MessageIcon { None, Warning };

struct MessageBoxEvent {
    QWidget* owner = nullptr;  // null for the application box
    std::string text;
    MessageIcon icon = MessageIcon::None;
    std::string details;  // shown behind the box's details button; empty: no such button
};

using MessageSink = std::function<void(const MessageBoxEvent&)>;

// Replaces the sink; an empty sink restores the GUI's modal QMessageBox.
void setMessageSink(MessageSink sink);
// `details`, when given, explain the message further (the box's "show details" part); the
// message itself stays as it is.
void appMessageBox(std::string_view text, std::string_view details = {});
void ownedMessageBox(QWidget* owner, std::string_view text, std::string_view details = {});
