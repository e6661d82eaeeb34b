// The program as a desktop application on a laptop: the window on a 1366x768 screen whose
// panel takes 32 pixels (the test screen is the 1366x736 left free), Qt's own texts in
// Chinese, and the pages' fonts. Runs under a Chinese locale (LANG=zh_CN.UTF-8).
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

#include "AppFonts.h"
#include "CompactStyle.h"
#include "MainDlg.h"
#include "PageHarness.h"
#include "QtTranslations.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "ids/BankIds.h"
#include "ids/MainIds.h"

namespace {

// The window's client area, less a title bar and borders on the 1366x736 left by the panel.
const QSize kLaptopClient(1366 - 8, 736 - 44);

// How many pixels `text` blackens when drawn in `font`.
int inkOf(const QString& text, const QFont& font) {
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(4, 30, text);
    }
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return ink;
}

QString standardButtonText(QMessageBox::StandardButton which) {
    QMessageBox box(QMessageBox::Warning, "KORVAL", "x", QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(which)->text();
}

// A translator takes itself out of the application when it goes.
class Translation : public ::testing::Test {
  protected:
    QString okAndCancelWith(const QLocale& locale, const QString& folder) {
        translator = loadQtTranslation(locale, folder);
        if (translator != nullptr) {
            QCoreApplication::installTranslator(translator.get());
        }
        return standardButtonText(QMessageBox::Ok) + "|" + standardButtonText(QMessageBox::Cancel);
    }
    static QString qtFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

    std::unique_ptr<QTranslator> translator;
};

class Laptop : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        QApplication::setStyle(new CCompactStyle);
        dlg = std::make_unique<CMainDlg>();
        dlg->create(nullptr);
        dlg->showAsMainWindow();
    }
    void TearDown() override {
        dlg.reset();
        PageHarness::TearDown();
    }

    std::unique_ptr<CMainDlg> dlg;
};

}  // namespace

TEST_F(Translation, ButtonsFollowTheLocaleAndOtherwiseSpeakChinese) {
    EXPECT_EQ(okAndCancelWith(QLocale::c(), qtFolder()).toStdString(), "确定|取消");
    EXPECT_EQ(okAndCancelWith(QLocale("sw_KE"), qtFolder()).toStdString(), "确定|取消");
    EXPECT_EQ(okAndCancelWith(QLocale("de_DE"), qtFolder()).toStdString(), "OK|Abbrechen");
    EXPECT_EQ(okAndCancelWith(QLocale("zh_TW"), qtFolder()).toStdString(), "確定|取消");
}

TEST_F(Translation, WithoutQtsTranslationsTheButtonsStayUsable) {
    const QTemporaryDir empty;
    EXPECT_EQ(okAndCancelWith(QLocale::c(), empty.path()).toStdString(), "OK|Cancel");
    EXPECT_EQ(translator, nullptr);
}

TEST_F(Laptop, TheWindowOpensWithinTheScreenAsAnApplicationWindow) {
    ASSERT_EQ(dlg->screen()->availableSize(), QSize(1366, 736)) << "run with laptop_screen.json";
    EXPECT_EQ(dlg->windowType(), Qt::Window);  // a dialog gets no minimise or maximise button
    EXPECT_FALSE(dlg->isModal());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_LE(dlg->width(), kLaptopClient.width());
    EXPECT_LE(dlg->height(), kLaptopClient.height());
}

// A page squeezed below its minimum size would have controls cut off. Every window the
// page slot shows counts: the tab pages and the record dialogs.
TEST_F(Laptop, EveryPageFitsTheWindowWhole) {
    const auto slotWindows = dlg->tabCtrl(idc::main_window::kTabs)
                                 ->pageArea()
                                 ->findChildren<CDialog*>(Qt::FindDirectChildrenOnly);
    ASSERT_GE(slotWindows.size(), kPageCount);
    for (CDialog* window : slotWindows) {
        dlg->showPage(window);
        QApplication::processEvents();
        const QSize least = window->minimumSizeHint();
        EXPECT_GE(window->width(), least.width()) << "window " << window->templateId();
        EXPECT_GE(window->height(), least.height()) << "window " << window->templateId();
    }
    EXPECT_LE(dlg->minimumSizeHint().height(), kLaptopClient.height());
    EXPECT_LE(dlg->minimumSizeHint().width(), kLaptopClient.width());
}

TEST_F(Laptop, TheBankPageShowsAllFortyChannelsOfEachList) {
    dlg->tabCtrl(idc::main_window::kTabs)->selectAsUser(1);
    QApplication::processEvents();
    for (int id :
         {idc::bank::kVoltageList, idc::bank::kResistanceList, idc::bank::kTemperatureList}) {
        const CReportList* list = dlg->page(1)->reportList(id);
        const int rowHeight = list->verticalHeader()->defaultSectionSize();
        EXPECT_GE(list->viewport()->height(), 10 * rowHeight) << "list " << id;
        EXPECT_FALSE(list->verticalScrollBar()->isVisible()) << "list " << id;
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << "list " << id;
    }
}

TEST_F(Laptop, AllPagesUseTheWindowsFontFace) {
    for (int tab = 0; tab < kPageCount; ++tab) {
        EXPECT_EQ(dlg->page(tab)->font().family(), dlg->font().family())
            << "page " << dlg->page(tab)->templateId();
    }
}

// The unit signs of the live values, drawn under a Chinese locale in the face of the pages.
TEST_F(Laptop, UnitSignsAreDrawnInEveryPagesFont) {
    substituteTemplateFaces();
    for (int tab = 0; tab < kPageCount; ++tab) {
        const QFont font = dlg->page(tab)->font();
        for (const char* sign : {"℃", "Ω", "V", "A", "电"}) {
            EXPECT_GT(inkOf(QString::fromUtf8(sign), font), 0)
                << sign << " on page " << dlg->page(tab)->templateId();
        }
    }
}
