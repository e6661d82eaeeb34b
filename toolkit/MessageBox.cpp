// The process-wide message sink and the GUI's default: a modal QMessageBox with the
// application's name as caption and an OK button.
#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

#include "Utf8.h"

namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

void showModalBox(const MessageBoxEvent& event) {
    const auto icon =
        event.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon;
    QWidget* parent = event.owner != nullptr ? event.owner : QApplication::activeWindow();
    QMessageBox box(icon, QString::fromUtf8(kAppName), qstr(event.text), QMessageBox::Ok, parent);
    if (!event.details.empty()) {
        box.setDetailedText(qstr(event.details));
    }
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
