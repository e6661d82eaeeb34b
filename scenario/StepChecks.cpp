// Expectations on the window the steps address and on the main window: control texts,
// list cells, list items, states, the tab, the page slot, the caption and the link.
#include <QAbstractButton>
#include <QComboBox>
#include <cctype>
#include <charconv>

#include "CellMarkStyle.h"
#include "CheckTree.h"
#include "CurveChartCtrl.h"
#include "Dialog.h"
#include "LinkSettings.h"
#include "MainDlg.h"
#include "ReportList.h"
#include "ScenarioSession.h"
#include "ScenarioSteps.h"

namespace {

std::string joinItems(const std::vector<std::string>& items) {
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        joined += (i > 0 ? "|" : "") + items[i];
    }
    return items.empty() ? "no items" : quoted(joined);
}

// Expected and actual agree, or the actual value is what was found.
StepFailure same(const std::string& expected, const std::string& actual) {
    if (expected == actual) {
        return std::nullopt;
    }
    return actual;
}

StepFailure checkNumber(const std::string& text, int low, int high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        return quoted(text);
    }
    return std::nullopt;
}

StepFailure checkCell(const CReportList& list, int row, int column, const std::string& text) {
    if (row >= list.rowCount()) {
        return std::to_string(list.rowCount()) + " rows";
    }
    if (column >= list.columnCount()) {
        return std::to_string(list.columnCount()) + " columns";
    }
    return same(quoted(text), quoted(list.itemText(row, column)));
}

constexpr const char* kMarkWords[] = {"none", "normal", "warning", "over", "stale"};

// The mark whose colours the cell is drawn with; colours of no mark are a cell of its own.
std::string markOf(const ReportItemStyle& style) {
    for (int m = 0; m <= static_cast<int>(triage::CellMark::Stale); ++m) {
        if (cellMarkStyle(static_cast<triage::CellMark>(m)) == style) {
            return kMarkWords[m];
        }
    }
    return "unmarked colours";
}

StepFailure checkCellMark(const CReportList& list, int row, int column, ScenarioMark mark) {
    if (row >= list.rowCount() || column >= list.columnCount()) {
        return checkCell(list, row, column, "");
    }
    return same(kMarkWords[static_cast<int>(mark)], markOf(list.itemStyle(row, column)));
}

StepFailure checkCellTip(const CReportList& list, int row, int column, const std::string& text) {
    if (row >= list.rowCount() || column >= list.columnCount()) {
        return checkCell(list, row, column, "");
    }
    const std::string tip = list.itemToolTip(row, column);
    if (text.empty() ? tip.empty() : tip.find(text) != std::string::npos) {
        return std::nullopt;
    }
    return "tip " + quoted(tip);
}

// "#FFE182", or "none" where the list's own background shows.
std::string colorName(const std::optional<QColor>& color) {
    return color ? color->name(QColor::HexRgb).toUpper().toStdString() : "none";
}

StepFailure checkCellColor(const CReportList& list, int row, int column, std::string wanted) {
    if (row >= list.rowCount() || column >= list.columnCount()) {
        return std::to_string(list.rowCount()) + " rows, " + std::to_string(list.columnCount()) +
               " columns";
    }
    for (char& c : wanted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return same(wanted == "NONE" ? "none" : wanted, colorName(list.cellBackground(row, column)));
}

StepFailure checkList(const CDialog& window, const Step& step) {
    const int id = step.numbers[0];
    const CReportList* list = window.reportList(id);
    if (list == nullptr) {
        return "control " + std::to_string(id) + " is not a list view";
    }
    if (step.op == StepOp::ExpectRows) {
        return same(std::to_string(step.numbers[1]) + " rows",
                    std::to_string(list->rowCount()) + " rows");
    }
    if (step.op == StepOp::ExpectCellColor) {
        if (!step.text.empty()) {
            return checkCellColor(*list, step.numbers[1], step.numbers[2], step.text);
        }
        if (step.mark == ScenarioMark::None) {
            if (StepFailure f = checkCellColor(*list, step.numbers[1], step.numbers[2], "none")) {
                return f;
            }
        }
        return checkCellMark(*list, step.numbers[1], step.numbers[2], step.mark);
    }
    if (step.op == StepOp::ExpectCellTip) {
        return checkCellTip(*list, step.numbers[1], step.numbers[2], step.text);
    }
    return checkCell(*list, step.numbers[1], step.numbers[2], step.text);
}

StepFailure checkDropList(const CDialog& window, const Step& step, const QWidget& control) {
    if (dynamic_cast<const QComboBox*>(&control) == nullptr) {
        return "control " + std::to_string(step.numbers[0]) + " is not a drop-down list";
    }
    const int id = step.numbers[0];
    if (step.op == StepOp::ExpectItems) {
        return same(joinItems(step.items), joinItems(window.items(id)));
    }
    return same("selection " + std::to_string(step.numbers[1]),
                "selection " + std::to_string(window.curSel(id)));
}

StepFailure checkTreeItem(const Step& step, QWidget& control) {
    const auto* tree = dynamic_cast<const CCheckTree*>(&control);
    if (tree == nullptr) {
        return "control " + std::to_string(step.numbers[0]) + " is not a tree";
    }
    const QTreeWidgetItem* item = tree->findItem(step.text);
    if (item == nullptr) {
        return "no item " + quoted(step.text);
    }
    const bool wanted = step.op == StepOp::ExpectItemChecked;
    return same(wanted ? "checked" : "unchecked", tree->getCheck(item) ? "checked" : "unchecked");
}

StepFailure checkChart(const Step& step, QWidget& control) {
    const auto* ctrl = dynamic_cast<const CCurveChartCtrl*>(&control);
    if (ctrl == nullptr) {
        return "control " + std::to_string(step.numbers[0]) + " is not a curve chart";
    }
    const CCurveChart& chart = ctrl->chart();
    if (step.op == StepOp::ExpectSamples) {
        return same(std::to_string(step.numbers[1]) + " samples",
                    std::to_string(chart.sampleCount()) + " samples");
    }
    return same(std::to_string(step.numbers[1]) + " curves",
                std::to_string(chart.drawnCurveCount()) + " curves");
}

StepFailure checkState(const std::string& wanted, bool isFirst, const char* first,
                       const char* second) {
    return same(wanted, isFirst ? first : second);
}

}  // namespace

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

StepFailure findControl(const CDialog* window, int id, QWidget*& control) {
    if (window == nullptr) {
        return std::string("no window in the page slot");
    }
    control = window->control(id);
    if (control == nullptr) {
        return "no control " + std::to_string(id) + " in window " +
               std::to_string(window->templateId());
    }
    return std::nullopt;
}

StepFailure checkControl(ScenarioSession& session, const Step& step) {
    const CDialog* window = session.target();
    const int id = step.numbers[0];
    QWidget* control = nullptr;
    if (auto failure = findControl(window, id, control)) {
        return failure;
    }
    switch (step.op) {
        case StepOp::ExpectText:
            return same(quoted(step.text), quoted(window->windowText(id)));
        case StepOp::ExpectNumber:
            return checkNumber(window->windowText(id), step.numbers[1], step.numbers[2]);
        case StepOp::ExpectCell:
        case StepOp::ExpectCellColor:
        case StepOp::ExpectCellTip:
        case StepOp::ExpectRows:
            return checkList(*window, step);
        case StepOp::ExpectItems:
        case StepOp::ExpectSelected:
            return checkDropList(*window, step, *control);
        case StepOp::ExpectChecked:
        case StepOp::ExpectUnchecked:
            return checkState(step.op == StepOp::ExpectChecked ? "checked" : "unchecked",
                              window->isChecked(id), "checked", "unchecked");
        case StepOp::ExpectItemChecked:
        case StepOp::ExpectItemUnchecked:
            return checkTreeItem(step, *control);
        case StepOp::ExpectCurves:
        case StepOp::ExpectSamples:
            return checkChart(step, *control);
        case StepOp::ExpectEnabled:
        case StepOp::ExpectDisabled:
            return checkState(step.op == StepOp::ExpectEnabled ? "enabled" : "disabled",
                              window->isControlEnabled(id), "enabled", "disabled");
        case StepOp::ExpectVisible:
        case StepOp::ExpectHidden:
            return checkState(step.op == StepOp::ExpectVisible ? "visible" : "hidden",
                              window->isControlShown(id), "visible", "hidden");
        default:
            return "a step that is not a control check";
    }
}

StepFailure checkWindow(ScenarioSession& session, const Step& step) {
    const CMainDlg& main = session.mainWindow();
    switch (step.op) {
        case StepOp::ExpectTab:
            return same("tab " + std::to_string(step.numbers[0]),
                        "tab " + std::to_string(main.currentTab()));
        case StepOp::ExpectShowing: {
            const CDialog* shown = main.currentPage();
            return same("window " + std::to_string(step.numbers[0]),
                        shown ? "window " + std::to_string(shown->templateId()) : "no window");
        }
        case StepOp::ExpectTitle:
            return same(quoted(step.text), quoted(main.windowTitle().toStdString()));
        case StepOp::ExpectLink: {
            const auto link = [](int port, int baud, int address) {
                return "link " + std::to_string(port) + " " + std::to_string(baud) + " " +
                       std::to_string(address);
            };
            return same(link(step.numbers[0], step.numbers[1], step.numbers[2]),
                        link(LinkSettings::portNumber, LinkSettings::baudRate,
                             LinkSettings::deviceAddress));
        }
        default:
            return "a step that is not a window check";
    }
}
