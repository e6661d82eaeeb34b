// "生成报告..." from the main window's context menu, against the simulated device: the
// dialog opens, writes the PDF and the CSV beside it and says where they are; the header's
// fields come back next time only when the technician saved them.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "MainDlg.h"
#include "PageHarness.h"
#include "ReportDlg.h"
#include "Templates.h"
#include "ids/ReportIds.h"

namespace {

namespace id = idc::report;

class ReportDialog : public PageHarness {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // The remembered fields go to this test's own configuration folder.
        setenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8().constData(), 1);
        PageHarness::SetUp();
        device.seedResistanceRecords(3);
        window = std::make_unique<CMainDlg>();
        window->create(nullptr);
        window->show();
    }
    void TearDown() override {
        CDialog::setModalHook({});
        window.reset();
        PageHarness::TearDown();
    }

    // Opens the dialog from the context menu as the technician does; `act` works in it and
    // its result ends it. Returns whether the dialog was the report's.
    bool openReport(const std::function<void(CDialog&)>& act) {
        bool opened = false;
        CDialog::setModalHook([&](CDialog& dialog) -> std::optional<int> {
            opened = dialog.templateId() == IDD_REPORT;
            act(dialog);
            return IDCANCEL;
        });
        QWidget* page = window->currentPage();
        const QPoint at(3, 3);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, page->mapToGlobal(at));
        QApplication::sendEvent(page, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return false;
        }
        QAction* report = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QString::fromUtf8(kReportMenuCaption)) {
                report = action;
            }
        }
        // As a click does: the menu hides, then its action runs (and the menu closes).
        const QPointer<QMenu> open(menu);
        menu->hide();
        if (report != nullptr) {
            report->trigger();
        }
        if (open != nullptr) {
            open->close();
        }
        CDialog::setModalHook({});
        return opened;
    }

    std::string path(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    std::unique_ptr<CMainDlg> window;
};

}  // namespace

TEST_F(ReportDialog, MenuEntryOpensTheDialogThatWritesBothFiles) {
    const std::string pdf = path("visit.pdf");
    ASSERT_TRUE(openReport([&](CDialog& d) {
        d.typeAsUser(id::kSite, "一号站");
        d.typeAsUser(id::kTechnician, "张三");
        d.setChecked(id::kReadRecords, true);
        d.typeAsUser(id::kPdfPath, path("visit"));
        EXPECT_EQ(d.windowText(id::kCsvPath), "CSV文件：" + path("visit.csv"));
        d.clickControl(id::kGenerate);
        EXPECT_TRUE(d.isControlEnabled(id::kGenerate)) << "ready for another report";
    }));
    EXPECT_EQ(takeMessage(), "报告已生成。\nPDF：" + pdf + "\nCSV：" + path("visit.csv"));
    QFile file(QString::fromStdString(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("visit.csv"))));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReportDialog, FieldsComeBackOnlyWhenSaved) {
    ASSERT_TRUE(openReport([&](CDialog& d) {
        EXPECT_EQ(d.windowText(id::kSite), "");
        d.typeAsUser(id::kSite, "二号站");
        d.typeAsUser(id::kPdfPath, path("a.pdf"));
        d.clickControl(id::kGenerate);
    }));
    ASSERT_TRUE(openReport([&](CDialog& d) {
        EXPECT_EQ(d.windowText(id::kSite), "") << "not saved, not kept";
        d.typeAsUser(id::kSite, "三号站");
        d.setChecked(id::kSaveFields, true);
        d.typeAsUser(id::kPdfPath, path("b.pdf"));
        d.clickControl(id::kGenerate);
    }));
    ASSERT_TRUE(openReport([&](CDialog& d) {
        EXPECT_EQ(d.windowText(id::kSite), "三号站");
        EXPECT_TRUE(d.isChecked(id::kSaveFields));
    }));
    messages.clear();
}

TEST_F(ReportDialog, ASilentDeviceGivesAReportThatSaysWhatIsMissing) {
    LinkSettings::deviceAddress = 9;  // nobody answers
    ASSERT_TRUE(openReport([&](CDialog& d) {
        d.typeAsUser(id::kPdfPath, path("silent.pdf"));
        d.clickControl(id::kGenerate);
    }));
    const std::string message = takeMessage();
    EXPECT_EQ(message.rfind("报告已生成。", 0), 0u) << message;
    EXPECT_NE(message.find("以下内容未能读取，报告中已注明：\n未能读取：设备身份（设备没有应答）"),
              std::string::npos)
        << message;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("silent.pdf"))));
}

TEST_F(ReportDialog, CancellingTheRecordsKeepsThoseReadAndStillWritesTheReport) {
    device.seedResistanceRecords(300);
    device.setPaceBaud(9600);  // about a tenth of a second a record: half a minute in all
    bool boxShown = false;
    ASSERT_TRUE(openReport([&](CDialog& d) {
        d.setChecked(id::kReadRecords, true);
        d.typeAsUser(id::kPdfPath, path("cancelled.pdf"));
        QTimer::singleShot(2500, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (box != nullptr && box->objectName() == "longReadBox") {
                boxShown = box->isVisible();
                box->findChild<QPushButton*>()->click();
            }
        });
        d.clickControl(id::kGenerate);
    }));
    EXPECT_TRUE(boxShown) << "the records' read shows its progress box";
    const std::string message = takeMessage();
    EXPECT_EQ(message.rfind("报告已生成。", 0), 0u) << message;
    EXPECT_NE(message.find("未能读取：内阻记录（读取已取消，只用了前 "), std::string::npos)
        << message;
    EXPECT_NE(message.find("条（共 300 条）"), std::string::npos) << message;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("cancelled.csv"))));
}
