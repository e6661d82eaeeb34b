// The program as a desktop application: the window on the screen the run gives (a 1366x768
// laptop whose panel takes 32 pixels, or 1920x1080 at 125 %), with the font set the run gives
// (FONTCONFIG_FILE; KORVAL_CJK_FACES names its CJK faces), Qt's own texts in Chinese, and the
// pages' fonts. Runs under a Chinese locale (LANG=zh_CN.UTF-8). The checks are properties
// (nothing squeezed or cut, the lists whole), never one font's pixel counts.
#include <QApplication>
#include <QDir>
#include <QGlyphRun>
#include <QHeaderView>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "AppFonts.h"
#include "CompactStyle.h"
#include "MainDlg.h"
#include "PageHarness.h"
#include "QtTranslations.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "Templates.h"
#include "ids/BankIds.h"
#include "ids/MainIds.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordResistanceIds.h"
#include "ids/RecordVoltageIds.h"

namespace {

// The window's client area: the screen's free area less a title bar and borders.
QSize clientOn(const QScreen* screen) {
    return screen->availableSize() - QSize(8, 44);
}

// The free screen area this run is given, as KORVAL_SCREEN says ("1366x736").
QSize screenOfTheRun() {
    const char* text = std::getenv("KORVAL_SCREEN");
    const QStringList parts = QString::fromUtf8(text != nullptr ? text : "").split(u'x');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

// The CJK faces of this run's font set, the one the program is to choose first; empty when
// the run uses the machine's fonts as they are.
QStringList cjkFacesOfTheRun() {
    const char* faces = std::getenv("KORVAL_CJK_FACES");
    return QString::fromUtf8(faces != nullptr ? faces : "").split(u',', Qt::SkipEmptyParts);
}

// The program puts its font choice in place before it makes a window; so do these tests.
class ProgramFonts : public ::testing::Environment {
  public:
    void SetUp() override { substituteTemplateFaces(); }
};
[[maybe_unused]] const ::testing::Environment* const kProgramFonts =
    ::testing::AddGlobalTestEnvironment(new ProgramFonts);

// The fonts that draw `text` in `font`, one per run of glyphs, each known by its header
// table (its name may be localised).
std::vector<QByteArray> fontsDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<QByteArray> fonts;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        fonts.push_back(run.rawFont().fontTable("head"));
    }
    return fonts;
}

std::vector<QByteArray> fontOf(const QString& family) {
    return {QRawFont::fromFont(QFont(family)).fontTable("head")};
}

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
        const char* dirs = std::getenv("KORVAL_FONT_DIRS");
        for (const QString& dir : QString::fromUtf8(dirs != nullptr ? dirs : "").split(u',')) {
            if (!dir.isEmpty() && !QDir(dir).exists()) {
                GTEST_SKIP() << dir.toStdString() << " is not installed (scripts/setup.sh)";
            }
        }
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
    ASSERT_EQ(dlg->screen()->availableSize(), screenOfTheRun()) << "run through ctest";
    EXPECT_EQ(dlg->windowType(), Qt::Window);  // a dialog gets no minimise or maximise button
    EXPECT_FALSE(dlg->isModal());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_LE(dlg->width(), clientOn(dlg->screen()).width());
    EXPECT_LE(dlg->height(), clientOn(dlg->screen()).height());
}

// Chinese comes from the face the program chose, whatever fontconfig would rank first;
// letters, digits and units from DejaVu Sans.
TEST_F(Laptop, ChineseIsDrawnInTheChosenFace) {
    const QStringList faces = cjkFacesOfTheRun();
    if (!faces.isEmpty()) {
        EXPECT_EQ(chosenCjkFace(), faces.front().toStdString());
    }
    ASSERT_FALSE(chosenCjkFace().empty()) << "no CJK font installed";
    const auto chinese = fontOf(QString::fromStdString(chosenCjkFace()));
    const auto latin = fontOf(QStringLiteral("DejaVu Sans"));
    for (int tab = 0; tab < kPageCount; ++tab) {
        const QFont font = dlg->page(tab)->font();
        EXPECT_EQ(fontsDrawing(QStringLiteral("电压内阻"), font), chinese)
            << "page " << dlg->page(tab)->templateId();
        EXPECT_EQ(fontsDrawing(QStringLiteral("12.5V 3.2A"), font), latin)
            << "page " << dlg->page(tab)->templateId();
    }
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
    EXPECT_LE(dlg->minimumSizeHint().height(), clientOn(dlg->screen()).height());
    EXPECT_LE(dlg->minimumSizeHint().width(), clientOn(dlg->screen()).width());
}

// On the screen of the run nothing scrolls; in a window made smaller than a page needs, the
// page keeps its size and scrolls as a whole.
TEST_F(Laptop, PagesScrollOnlyWhereTheyCannotFit) {
    CTabCtrl* tabs = dlg->tabCtrl(idc::main_window::kTabs);
    const auto slotWindows = tabs->pageArea()->findChildren<CDialog*>(Qt::FindDirectChildrenOnly);
    QScrollArea* scroll = tabs->pageScroll();
    for (CDialog* window : slotWindows) {
        dlg->showPage(window);
        QApplication::processEvents();
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible())
            << "window " << window->templateId() << " needs " << window->minimumSizeHint().height()
            << " of " << scroll->viewport()->height();
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible())
            << "window " << window->templateId();
    }
    CDialog* tallest = dlg->page(7);  // the system parameters
    dlg->showPage(tallest);
    dlg->resize(640, 400);
    QApplication::processEvents();
    EXPECT_LE(dlg->height(), 400);
    const QSize least = tallest->minimumSizeHint();
    EXPECT_GE(tallest->width(), least.width());
    EXPECT_GE(tallest->height(), least.height());
    ASSERT_TRUE(scroll->verticalScrollBar()->isVisible());
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    QApplication::processEvents();
    const QPoint foot = tallest->mapTo(scroll->viewport(), tallest->rect().bottomLeft());
    EXPECT_EQ(foot.y(), scroll->viewport()->height() - 1) << "the page's foot comes into view";
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
    for (int tab = 0; tab < kPageCount; ++tab) {
        const QFont font = dlg->page(tab)->font();
        for (const char* sign : {"℃", "Ω", "V", "A", "电"}) {
            EXPECT_GT(inkOf(QString::fromUtf8(sign), font), 0)
                << sign << " on page " << dlg->page(tab)->templateId();
        }
    }
}

// The time column of each record list shows the longest time stamp whole, in the list's font.
TEST_F(Laptop, RecordTimeStampsShowWhole) {
    const std::pair<int, int> lists[] = {{IDD_VOLTAGE_RECORDS, idc::voltage_records::kList},
                                         {IDD_ALARM_RECORDS, idc::alarm_records::kList},
                                         {IDD_RESISTANCE_RECORDS, idc::resistance_records::kList}};
    const auto slotWindows = dlg->tabCtrl(idc::main_window::kTabs)
                                 ->pageArea()
                                 ->findChildren<CDialog*>(Qt::FindDirectChildrenOnly);
    for (const auto& [templateId, listId] : lists) {
        const auto found = std::find_if(slotWindows.begin(), slotWindows.end(),
                                        [&](CDialog* w) { return w->templateId() == templateId; });
        ASSERT_NE(found, slotWindows.end()) << templateId;
        const CReportList* list = (*found)->reportList(listId);
        CReportList shown;  // the same column in the same font, holding the longest stamp
        shown.setFont(list->font());
        shown.insertColumn(0, "时间", list->columnWidth(1));
        shown.appendRow({"2024/12/27/10/29/53"});
        const QAbstractItemView& view = shown;  // where the measure is public
        EXPECT_GE(list->columnWidth(1), view.sizeHintForColumn(0)) << "dialog " << templateId;
    }
}

// The resistance records' trend view takes the place of the lists and fits the slot as they do.
TEST_F(Laptop, TheResistanceTrendViewFitsWithoutScrolling) {
    CTabCtrl* tabs = dlg->tabCtrl(idc::main_window::kTabs);
    const auto slotWindows = tabs->pageArea()->findChildren<CDialog*>(Qt::FindDirectChildrenOnly);
    const auto found = std::find_if(slotWindows.begin(), slotWindows.end(), [](CDialog* w) {
        return w->templateId() == IDD_RESISTANCE_RECORDS;
    });
    ASSERT_NE(found, slotWindows.end());
    CDialog* records = *found;
    dlg->showPage(records);
    records->clickControl(idc::resistance_records::kTrendView);
    QApplication::processEvents();
    const QWidget* chart = records->control(idc::resistance_records::kTrendChart);
    ASSERT_TRUE(chart->isVisible());
    EXPECT_GE(chart->height(), chart->minimumHeight());
    EXPECT_GT(chart->height(), records->height() / 2) << "the chart takes the lists' room";
    EXPECT_FALSE(tabs->pageScroll()->verticalScrollBar()->isVisible());
    EXPECT_FALSE(tabs->pageScroll()->horizontalScrollBar()->isVisible());
    records->clickControl(idc::resistance_records::kTrendView);
}
