// The message sink: what the application and owned boxes report, and the GUI's default
// modal box once the sink is cleared.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "Dialog.h"
#include "MessageBox.h"
#include "ToolkitTestSupport.h"

namespace {

const DialogTemplate kEmpty{600, "", "", 10, {}};

TEST(MessageBoxes, SinkRecordsOwnerTextAndIcon) {
    RecordingSink sink;
    CDialog page(kEmpty);
    page.create(nullptr);
    appMessageBox("没有发现此串口或此串口被占用");
    page.messageBox("读取失败");
    ownedMessageBox(nullptr, "设置成功");

    ASSERT_EQ(sink.events.size(), 3u);
    EXPECT_EQ(sink.events[0].owner, nullptr);
    EXPECT_EQ(sink.events[0].text, "没有发现此串口或此串口被占用");
    EXPECT_EQ(sink.events[0].icon, MessageIcon::Warning);
    EXPECT_EQ(sink.events[1].owner, &page);
    EXPECT_EQ(sink.events[1].text, "读取失败");
    EXPECT_EQ(sink.events[1].icon, MessageIcon::None);
    EXPECT_EQ(sink.events[2].icon, MessageIcon::None);
    EXPECT_TRUE(sink.events[0].details.empty());

    appMessageBox("没有发现此串口或此串口被占用", "串口：COM1，/dev/ttyS0\n原因：没有这个设备。");
    ASSERT_EQ(sink.events.size(), 4u);
    EXPECT_EQ(sink.events[3].text, "没有发现此串口或此串口被占用");
    EXPECT_EQ(sink.events[3].details, "串口：COM1，/dev/ttyS0\n原因：没有这个设备。");
}

struct ShownBox {
    std::string title, text, details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
    bool okOnly = false;
    int width = 0;
};

// Waits in the background for the modal box, notes what it shows and presses OK.
void answerNextBox(ShownBox& shown) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        shown.title = box->windowTitle().toStdString();
        shown.text = box->text().toStdString();
        shown.details = box->detailedText().toStdString();
        shown.icon = box->icon();
        shown.parent = box->parentWidget();
        shown.okOnly = box->standardButtons() == QMessageBox::Ok;
        shown.width = box->width();
        box->button(QMessageBox::Ok)->click();
        poll->deleteLater();
    });
    poll->start(10);
}

TEST(MessageBoxes, WithoutASinkTheGuiShowsAModalBoxNamedForTheApplication) {
    setMessageSink({});
    CDialog page(kEmpty);
    page.create(nullptr);

    ShownBox app;
    answerNextBox(app);
    appMessageBox("没有发现此串口或此串口被占用");
    EXPECT_EQ(app.title, "KORVAL");
    EXPECT_EQ(app.text, "没有发现此串口或此串口被占用");
    EXPECT_EQ(app.icon, QMessageBox::Warning);
    EXPECT_TRUE(app.okOnly);
    EXPECT_EQ(app.details, "");

    ShownBox explained;
    answerNextBox(explained);
    appMessageBox("没有发现此串口或此串口被占用", "原因：此串口正被另一个程序占用（进程号 42）。");
    EXPECT_EQ(explained.text, "没有发现此串口或此串口被占用");  // the message itself is unchanged
    EXPECT_EQ(explained.details, "原因：此串口正被另一个程序占用（进程号 42）。");
    EXPECT_TRUE(explained.okOnly);

    ShownBox owned;
    answerNextBox(owned);
    page.messageBox("设置成功");
    EXPECT_EQ(owned.title, "KORVAL");
    EXPECT_EQ(owned.text, "设置成功");
    EXPECT_EQ(owned.icon, QMessageBox::NoIcon);
    EXPECT_EQ(owned.parent, &page);
    // A short text still leaves the title bar room for "KORVAL" beside its icon and buttons.
    EXPECT_GE(owned.width, 260);
    EXPECT_GE(app.width, 260);

    // A recording sink replaces the box again, and clearing it brings the box back.
    {
        RecordingSink sink;
        appMessageBox("x");
        EXPECT_EQ(sink.events.size(), 1u);
    }
    ShownBox again;
    answerNextBox(again);
    appMessageBox("y");
    EXPECT_EQ(again.text, "y");
}

}  // namespace
