// The record dialogs where no scenario can look: a long read against the paced korval-device
// (live rows, the progress box, cancel by button and by Escape, the next read afterwards),
// the main window closing in the middle of a read, the time-outs of each kind of read, and
// the message maps against their templates.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <chrono>
#include <string>
#include <vector>

#include "AlarmRecordDlg.h"
#include "CheckTree.h"
#include "CurveChartCtrl.h"
#include "CurveRecordDlg.h"
#include "MainDlg.h"
#include "PageHarness.h"
#include "RecordQueryPage.h"
#include "ReportList.h"
#include "ResistanceRecordDlg.h"
#include "TabCtrl.h"
#include "Templates.h"
#include "VoltageRecordDlg.h"
#include "ids/MainIds.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordCurveIds.h"
#include "ids/RecordQueryIds.h"
#include "ids/RecordResistanceIds.h"
#include "ids/RecordVoltageIds.h"

namespace {

namespace alarm = idc::alarm_records;
namespace resistance = idc::resistance_records;
namespace voltage = idc::voltage_records;

// korval-device as its own process, paced like a real line; stopped with the test.
class PacedDeviceProgram {
  public:
    PacedDeviceProgram(int baud, int records) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            const std::string pace = std::to_string(baud);
            const std::string count = std::to_string(records);
            execl(KORVAL_DEVICE_EXE, KORVAL_DEVICE_EXE, "--pace", pace.c_str(), "--records",
                  count.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        m_path = readPath(fds[0]);
        close(fds[0]);
    }
    ~PacedDeviceProgram() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& path() const { return m_path; }

  private:
    // "korval-device: serving address 1 on /dev/pts/N"
    static std::string readPath(int fd) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (text.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            char buffer[256];
            if (poll(&p, 1, 100) > 0) {
                const ssize_t n = read(fd, buffer, sizeof buffer);
                if (n <= 0) {
                    break;
                }
                text.append(buffer, static_cast<size_t>(n));
            }
        }
        const size_t at = text.find(" on ");
        const size_t end = text.find('\n');
        return at == std::string::npos || end == std::string::npos
                   ? std::string()
                   : text.substr(at + 4, end - at - 4);
    }

    pid_t m_pid = -1;
    std::string m_path;
};

// What the test saw of a long read while it ran.
struct SeenDuringRead {
    bool boxShown = false;
    bool boxModal = false;
    std::string text;
    int rowsShown = 0;
};

// Runs `act` on the long-read box `afterMs` into the read that `start` begins; the box is
// the modal widget of that moment.
SeenDuringRead duringRead(int afterMs, CDialog& dialog, int listId,
                          const std::function<void(QDialog&)>& act,
                          const std::function<void()>& start) {
    SeenDuringRead seen;
    QTimer::singleShot(afterMs, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box == nullptr || box->objectName() != "longReadBox") {
            return;
        }
        seen.boxShown = box->isVisible();
        seen.boxModal = box->isModal();
        if (auto* label = box->findChild<QLabel*>()) {
            seen.text = label->text().toStdString();
        }
        seen.rowsShown = dialog.reportList(listId)->rowCount();
        act(*box);
    });
    start();
    return seen;
}

std::vector<std::string> labels(const CReportList& list) {
    std::vector<std::string> result;
    for (int row = 0; row < list.rowCount(); ++row) {
        result.push_back(list.itemText(row, 0));
    }
    return result;
}

std::vector<std::string> labelsFrom(int first, int count) {
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        result.push_back("记录#" + std::to_string(first + i));
    }
    return result;
}

}  // namespace

class PacedRecordRead : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(program.path().empty()) << "korval-device did not start";
        setPortPath(1, program.path());
        LinkSettings::portNumber = 1;
        LinkSettings::baudRate = 9600;
        LinkSettings::deviceAddress = 1;
        setMessageSink([this](const MessageBoxEvent& e) { messages.push_back(e.text); });
        dialog.create(nullptr);
        dialog.resize(900, 600);
        dialog.show();
    }
    void TearDown() override {
        closeSerialPort();
        setMessageSink({});
        clearPortPaths();
    }

    PacedDeviceProgram program{9600, 500};
    CAlarmRecordDlg dialog;
    std::vector<std::string> messages;
};

TEST_F(PacedRecordRead, CancelKeepsTheRowsReadClosesThePortAndTheNextReadWorks) {
    dialog.clickControl(alarm::kReadCount);
    ASSERT_EQ(dialog.windowText(alarm::kCount), "500");
    CReportList& list = *dialog.reportList(alarm::kList);
    int inserts = 0;
    QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });

    QElapsedTimer clock;
    clock.start();
    const SeenDuringRead byButton = duringRead(
        2500, dialog, alarm::kList,
        [&](QDialog& box) {
            dialog.clickControl(alarm::kDeleteAll);  // refused: the read runs
            box.findChild<QPushButton*>()->click();
        },
        [&] { dialog.clickControl(alarm::kReadAll); });
    const double seconds = clock.elapsed() / 1000.0;

    EXPECT_TRUE(byButton.boxShown);
    EXPECT_TRUE(byButton.boxModal);
    EXPECT_EQ(byButton.text.rfind("正在读取报警记录\n已读取 ", 0), 0u) << byButton.text;
    EXPECT_NE(byButton.text.find(" / 500 条，预计还需 "), std::string::npos) << byButton.text;
    EXPECT_GT(byButton.rowsShown, 5) << "rows appear while the read runs";
    const int rows = list.rowCount();
    EXPECT_GE(rows, byButton.rowsShown);
    EXPECT_LE(rows, byButton.rowsShown + 3) << "only the exchange in flight after the cancel";
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(labels(list), labelsFrom(1, rows));
    EXPECT_EQ(list.itemText(rows - 1, 1).rfind("2024/", 0), 0u);
    EXPECT_LE(inserts, seconds * 10 + 2) << "the view catches up at most ten times a second";
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Escape stops a range read the same way.
    dialog.typeAsUser(alarm::kRangeStart, "101");
    const SeenDuringRead byEscape = duringRead(
        1500, dialog, alarm::kList,
        [](QDialog& box) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&box, &escape);
        },
        [&] { dialog.clickControl(alarm::kReadRange); });
    EXPECT_TRUE(byEscape.boxShown);
    EXPECT_NE(byEscape.text.find(" / 400 条"), std::string::npos) << byEscape.text;
    const int rangeRows = list.rowCount();
    EXPECT_GT(rangeRows, 0);
    EXPECT_LE(rangeRows, byEscape.rowsShown + 3);
    EXPECT_EQ(labels(list), labelsFrom(101, rangeRows));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);

    // The line is clean: a short read right after is whole.
    dialog.typeAsUser(alarm::kRangeStart, "3");
    dialog.typeAsUser(alarm::kRangeEnd, "5");
    dialog.clickControl(alarm::kReadRange);
    EXPECT_EQ(labels(list), labelsFrom(3, 3));
    EXPECT_TRUE(messages.empty());
}

class RecordDialogs : public PageHarness {};

// The main window tells the page it leaves (a tab switch, the window closing); a record
// dialog in the middle of a long read stops once the exchange in flight is over, keeps its
// rows and leaves nothing open.
TEST_F(RecordDialogs, BeingLeftStopsALongReadCleanly) {
    device.setPaceBaud(9600);
    device.seedResistanceRecords(300);
    CMainDlg main;
    main.create(nullptr);
    main.show();
    main.tabCtrl(idc::main_window::kTabs)->selectAsUser(6);
    main.page(6)->clickControl(idc::record_query::kResistanceRecords);
    CDialog* records = main.currentPage();
    ASSERT_EQ(records->templateId(), IDD_RESISTANCE_RECORDS);
    records->clickControl(resistance::kReadCount);
    ASSERT_EQ(records->windowText(resistance::kCount), "300");

    const SeenDuringRead seen = duringRead(
        1500, *records, resistance::kList, [&](QDialog&) { records->onLeave(); },
        [&] { records->clickControl(resistance::kReadAll); });
    EXPECT_TRUE(seen.boxShown);
    const int rows = records->reportList(resistance::kList)->rowCount();
    EXPECT_GT(rows, 0);
    EXPECT_LE(rows, seen.rowsShown + 3);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    const size_t sent = device.requests().size();
    runEventsFor(300);
    EXPECT_EQ(device.requests().size(), sent) << "nothing goes out after the stop";

    // Left for another tab and shown again: the rows are still there.
    main.tabCtrl(idc::main_window::kTabs)->selectAsUser(2);
    EXPECT_EQ(main.currentPage(), main.page(2));
    main.tabCtrl(idc::main_window::kTabs)->selectAsUser(6);
    main.page(6)->clickControl(idc::record_query::kResistanceRecords);
    EXPECT_EQ(main.currentPage(), records);
    EXPECT_EQ(records->reportList(resistance::kList)->rowCount(), rows);
}

// A reply 750 ms late: within a time-out of 1000 ms, past one of 500 ms. Only the last
// record of each read is late, so no late reply can meet a later request.
TEST_F(RecordDialogs, EachReadHasItsOwnTimeouts) {
    device.seedResistanceRecords(7);
    device.seedAlarmRecords(4);
    device.seedVoltageRecords(1, 3);
    auto lateAfter = [this](int passed) {
        device.passReplies(passed);
        device.injectFault(FaultKind::Late, 1, 750);
    };

    CResistanceRecordDlg ir;
    ir.create(nullptr);
    ir.clickControl(resistance::kReadCount);
    lateAfter(7);                             // positioning and six records pass
    ir.clickControl(resistance::kReadRange);  // 1..7: the whole range, 500 ms a record
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_EQ(labels(*ir.reportList(resistance::kList)), labelsFrom(1, 6));
    runEventsFor(400);
    ir.typeAsUser(resistance::kRangeStart, "2");
    lateAfter(6);
    ir.clickControl(resistance::kReadRange);  // 2..7: 1000 ms a record
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(labels(*ir.reportList(resistance::kList)), labelsFrom(2, 6));
    lateAfter(0);  // the positioning of a range waits 1000 ms
    ir.clickControl(resistance::kReadRange);
    EXPECT_TRUE(messages.empty());
    lateAfter(0);  // "读取全部记录" positions within 500 ms
    ir.clickControl(resistance::kReadAll);
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_EQ(ir.reportList(resistance::kList)->rowCount(), 0);
    runEventsFor(400);

    CAlarmRecordDlg alarms;
    alarms.create(nullptr);
    alarms.clickControl(alarm::kReadCount);
    lateAfter(4);  // "读取全部记录" waits 1000 ms for a record
    alarms.clickControl(alarm::kReadAll);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(alarms.reportList(alarm::kList)->rowCount(), 4);
    lateAfter(4);  // a range waits 500 ms
    alarms.clickControl(alarm::kReadRange);
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_EQ(alarms.reportList(alarm::kList)->rowCount(), 3);
    runEventsFor(400);
    lateAfter(0);  // and positions within 500 ms
    alarms.clickControl(alarm::kReadRange);
    EXPECT_EQ(takeMessage(), "读取记录序号校验错误");
    runEventsFor(400);

    CVoltageRecordDlg volts;
    volts.create(nullptr);
    volts.clickControl(voltage::kReadCount);
    lateAfter(3);  // group chosen, size read, two records: the third waits 1000 ms
    volts.clickControl(voltage::kReadGroup);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(volts.reportList(voltage::kList)->rowCount(), 3);
    lateAfter(1);  // the group size waits 500 ms and tells its failure in place
    volts.clickControl(voltage::kReadGroup);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(volts.windowText(voltage::kGroupSize), "读取出错");
    EXPECT_EQ(volts.reportList(voltage::kList)->rowCount(), 0);
}

// A port that cannot be had: the range and group reads tell it in the dialog's own box, with
// the same details (path and cause) as the application box of the other commands.
TEST_F(RecordDialogs, ThePortMessageOfRangeAndGroupReadsTellsPathAndCause) {
    device.seedAlarmRecords(4);
    device.seedVoltageRecords(1, 3);
    CAlarmRecordDlg alarms;
    alarms.create(nullptr);
    alarms.clickControl(alarm::kReadCount);
    CVoltageRecordDlg volts;
    volts.create(nullptr);
    volts.clickControl(voltage::kReadCount);
    ASSERT_TRUE(messages.empty());

    const std::string missing = "/dev/korval-test-no-such-port";
    setPortPath(2, missing);
    LinkSettings::portNumber = 2;
    alarms.clickControl(alarm::kReadAll);  // the application box, for comparison
    ASSERT_EQ(messages.size(), 1u);
    const MessageBoxEvent app = messages.front();
    messages.clear();
    EXPECT_NE(app.details.find(missing), std::string::npos) << app.details;

    alarms.clickControl(alarm::kReadRange);
    volts.clickControl(voltage::kReadGroup);
    ASSERT_EQ(messages.size(), 2u);
    const QWidget* owners[] = {&alarms, &volts};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(messages[i].text, "没有发现此串口或此串口被占用");
        EXPECT_EQ(messages[i].owner, owners[i]);
        EXPECT_EQ(messages[i].icon, MessageIcon::None);
        EXPECT_EQ(messages[i].details, app.details);
    }
    EXPECT_EQ(device.requests().size(), 2u) << "only the two count reads went out";
}

TEST_F(RecordDialogs, MessageMapsFitTheirTemplates) {
    CRecordQueryPage query;
    CVoltageRecordDlg volts;
    CAlarmRecordDlg alarms;
    CResistanceRecordDlg ir;
    CCurveRecordDlg curves;
    for (CDialog* dialog : std::initializer_list<CDialog*>{&query, &volts, &alarms, &ir, &curves}) {
        dialog->create(nullptr);
        EXPECT_EQ(dialog->messageMapFaults(), std::vector<std::string>{}) << dialog->templateId();
    }
    // Without record dialogs the buttons do nothing.
    query.clickControl(idc::record_query::kVoltageRecords);
    query.clickControl(idc::record_query::kCurveRecords);
    EXPECT_TRUE(messages.empty());
}

// The mouse on an item's check box, pressed and released as the operator does it.
void clickCheckBox(CCheckTree& tree, QTreeWidgetItem* item) {
    QStyleOptionViewItem option;
    option.initFrom(tree.viewport());
    option.rect = tree.visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                      QStyleOptionViewItem::HasDecoration;
    option.text = item->text(0);
    option.icon = item->icon(0);
    option.decorationSize = tree.iconSize().isValid() ? tree.iconSize() : QSize(16, 16);
    option.checkState = item->checkState(0);
    const QPoint at = tree.style()
                          ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree)
                          .center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(at), tree.viewport()->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &event);
    }
}

// A click on an item's box has turned the mark before the dialog hears of the click: the
// dialog keeps that mark instead of turning it back. A click on its text turns it, and so
// does Space; the chart follows every one. The root's box is no channel at all.
TEST_F(RecordDialogs, EveryWayACurveTreeMarkTurnsReachesTheChart) {
    CCheckTree bare;  // where the box is: there the tree alone turns the mark
    bare.insertItem("电池1");
    bare.show();
    clickCheckBox(bare, bare.topLevelItem(0));
    ASSERT_TRUE(bare.getCheck(bare.topLevelItem(0)));

    CCurveRecordDlg curves;
    curves.create(nullptr);
    curves.show();
    CCheckTree* tree = curves.checkTree(idc::curve_records::kChannelTree);
    const auto& visible = curves.chartCtrl()->chart().m_visible;
    QTreeWidgetItem* fifth = tree->findItem("电池5");
    ASSERT_NE(fifth, nullptr);
    clickCheckBox(*tree, fifth);
    EXPECT_FALSE(tree->getCheck(fifth)) << "the box turned it, and only once";
    EXPECT_FALSE(visible[4]);
    EXPECT_TRUE(visible[3]);
    clickCheckBox(*tree, fifth);
    EXPECT_TRUE(tree->getCheck(fifth));
    EXPECT_TRUE(visible[4]);

    tree->clickItemAsUser(fifth);  // its text
    EXPECT_FALSE(tree->getCheck(fifth));
    EXPECT_FALSE(visible[4]);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(tree, &space);
    EXPECT_TRUE(tree->getCheck(fifth));
    EXPECT_TRUE(visible[4]);
    tree->clickItemAsUser(fifth);  // the press after the key tells this click from a box's
    EXPECT_FALSE(tree->getCheck(fifth));
    EXPECT_FALSE(visible[4]);
    EXPECT_FALSE(tree->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
}
