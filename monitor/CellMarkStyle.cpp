// Cell mark colours: over a limit dark red, near one amber, within them pale green, old
// values grey italic on the list's own background.
#include "CellMarkStyle.h"

ReportItemStyle cellMarkStyle(triage::CellMark mark) {
    switch (mark) {
        case triage::CellMark::Over:
            return {QColor(0xB7, 0x1C, 0x1C), QColor(Qt::white), false};
        case triage::CellMark::Warning:
            return {QColor(0xFF, 0xC1, 0x07), QColor(Qt::black), false};
        case triage::CellMark::Normal:
            return {QColor(0xE3, 0xF2, 0xE1), QColor(Qt::black), false};
        case triage::CellMark::Stale:
            return {QColor(), QColor(0x80, 0x80, 0x80), true};
        case triage::CellMark::None:
            break;
    }
    return {};
}
