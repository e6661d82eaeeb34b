// The process-wide message sink and the GUI's default: a modal QMessageBox with the
// application's name as caption and an OK button.
#include "MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <algorithm>
#include <utility>

#include "Utf8.h"

namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

// A window manager draws the caption between the window's icon and its buttons: a box
// sized for a short text ("读取失败") leaves the caption no room, and it shows as "..." or
// not at all. The box is kept wide enough for the caption and that frame.
constexpr int kTitleBarButtonsPx = 160;
constexpr int kMinBoxWidthPx = 260;

void keepCaptionWhole(QMessageBox& box) {
    const int caption = box.fontMetrics().horizontalAdvance(box.windowTitle());
    const int width = std::max(kMinBoxWidthPx, caption * 3 / 2 + kTitleBarButtonsPx);
    // The box sets its own fixed size from its layout, so the width goes in as a spacer.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void showModalBox(const MessageBoxEvent& event) {
    const auto icon =
        event.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon;
    QWidget* parent = event.owner != nullptr ? event.owner : QApplication::activeWindow();
    QMessageBox box(icon, QString::fromUtf8(kAppName), qstr(event.text), QMessageBox::Ok, parent);
    if (!event.details.empty()) {
        box.setDetailedText(qstr(event.details));
    }
    keepCaptionWhole(box);
    box.exec();
}

void deliver(const MessageBoxEvent& event) {
    const MessageSink sink = currentSink();  // a copy: the sink may replace itself
    if (sink) {
        sink(event);
    } else {
        showModalBox(event);
    }
}

}  // namespace

void setMessageSink(MessageSink sink) {
    currentSink() = std::move(sink);
}

void appMessageBox(std::string_view text, std::string_view details) {
    deliver({nullptr, std::string(text), MessageIcon::Warning, std::string(details)});
}

void ownedMessageBox(QWidget* owner, std::string_view text, std::string_view details) {
    deliver({owner, std::string(text), MessageIcon::None, std::string(details)});
}
