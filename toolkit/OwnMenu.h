// Controls with a context menu of their own (a list's export, a chart's picture): the main
// window's menu leaves right clicks on them, and on their children, to them.
#pragma once

#include <QWidget>

inline constexpr const char* kOwnMenuProperty = "korvalOwnMenu";

inline void markOwnContextMenu(QWidget* widget) {
    widget->setProperty(kOwnMenuProperty, true);
}

inline bool hasOwnContextMenu(const QWidget* widget) {
    for (; widget != nullptr && !widget->isWindow(); widget = widget->parentWidget()) {
        if (widget->property(kOwnMenuProperty).toBool()) {
            return true;
        }
    }
    return false;
}
