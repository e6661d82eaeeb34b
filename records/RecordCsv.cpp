// Record lists as CSV: the header and cell forms, the streamed export and the menu command.
#include "RecordCsv.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include "CsvFile.h"
#include "Dialog.h"
#include "RegisterCoding.h"
#include "ReportList.h"
#include "Strings.h"
#include "Utf8.h"

namespace {

constexpr int kTimeColumn = 1;
constexpr char kCsvSuffix[] = ".csv";

int firstChannelColumn(RecordKind kind) {
    return kind == RecordKind::Alarm ? 3 : 2;
}

// The unit the list writes after each channel value.
std::string_view channelUnit(RecordKind kind) {
    switch (kind) {
        case RecordKind::Voltage:
            return "V";
        case RecordKind::Resistance:
            return "mΩ";
        case RecordKind::Alarm:
            break;
    }
    return {};
}

const char* channelHeading(RecordKind kind) {
    switch (kind) {
        case RecordKind::Voltage:
            return kCsvVoltageHeading;
        case RecordKind::Resistance:
            return kCsvResistanceHeading;
        case RecordKind::Alarm:
            break;
    }
    return nullptr;
}

std::optional<int> decimalField(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

SaveFileAsker& currentAsker() {
    static SaveFileAsker asker;
    return asker;
}

std::string askWithFileDialog(QWidget* owner, const std::string& suggestedPath) {
    QFileDialog dialog(owner, qstr(kExportCsvTitle), {}, qstr(kCsvFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("csv");  // the overwrite question then asks about the real name
    dialog.selectFile(qstr(suggestedPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return utf8(dialog.selectedFiles().front());
}

std::string askSaveFile(QWidget* owner, const std::string& suggestedPath) {
    const SaveFileAsker asker = currentAsker();
    return asker ? asker(owner, suggestedPath) : askWithFileDialog(owner, suggestedPath);
}

// The folder of the last export, or the home folder, with a name after the records.
std::string& lastFolder() {
    static std::string folder;
    return folder;
}

std::string suggestedPath(std::string_view what) {
    const QString folder = lastFolder().empty() ? QDir::homePath() : qstr(lastFolder());
    return utf8(QDir(folder).filePath(qstr(what) + kCsvSuffix));
}

std::string withCsvSuffix(const std::string& path) {
    const QString name = qstr(path);
    return name.endsWith(QLatin1StringView(kCsvSuffix), Qt::CaseInsensitive) ? path
                                                                             : path + kCsvSuffix;
}

// A full list takes about a second to write: meanwhile windows are painted, as during a wait
// on the line; user input waits, so no other command starts.
class KeepPainting {
  public:
    void now() {
        if (!m_last.isValid() || m_last.elapsed() >= kPaintEveryMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_last.restart();
        }
    }

  private:
    static constexpr int kPaintEveryMs = 10;
    QElapsedTimer m_last;
};

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

std::vector<std::string> recordCsvHeader(RecordKind kind) {
    std::vector<std::string> header;
    for (const RecordColumn& column : recordColumns(kind)) {
        header.push_back(column.heading);
    }
    if (const char* heading = channelHeading(kind)) {
        for (int channel = 1; channel <= kRecordChannels; ++channel) {
            header[static_cast<size_t>(firstChannelColumn(kind) + channel - 1)] =
                formatText(heading, channel);
        }
    }
    return header;
}

std::string recordCsvCell(RecordKind kind, int column, std::string_view listText) {
    if (column == kTimeColumn) {
        // A stamp that is no date is written as the list shows it, not made up.
        return isoTimeFromStampText(listText).value_or(std::string(listText));
    }
    const std::string_view unit = channelUnit(kind);
    if (column >= firstChannelColumn(kind) && !unit.empty() && listText.ends_with(unit)) {
        listText.remove_suffix(unit.size());
    }
    return std::string(listText);
}

std::optional<std::string> isoTimeFromStampText(std::string_view stampText) {
    std::array<int, 6> fields{};
    for (size_t i = 0; i < fields.size(); ++i) {
        const size_t slash = stampText.find('/');
        const bool last = i + 1 == fields.size();
        if (last != (slash == std::string_view::npos)) {
            return std::nullopt;
        }
        const auto value = decimalField(stampText.substr(0, slash));
        if (!value) {
            return std::nullopt;
        }
        fields[i] = *value;
        stampText.remove_prefix(last ? stampText.size() : slash + 1);
    }
    if (fields[0] < 1 || fields[0] > 9999 ||
        !isDateTime({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]})) {
        return std::nullopt;
    }
    return formatText("%04d-%02d-%02d %02d:%02d:%02d", fields[0], fields[1], fields[2], fields[3],
                      fields[4], fields[5]);
}

bool exportRecordsCsv(const CReportList& list, RecordKind kind, const std::string& path,
                      std::string& error) {
    const int rowCount = list.rowCount();
    if (rowCount == 0) {
        error = kMsgNothingToExport;
        return false;
    }
    const std::vector<std::string> header = recordCsvHeader(kind);
    const int columns = std::min(static_cast<int>(header.size()), list.columnCount());
    const ReportRows* rows = list.rows();
    std::vector<std::string> cells(static_cast<size_t>(columns));
    int next = -1;  // the header comes first
    KeepPainting painting;
    auto nextLine = [&](std::string& line) {
        if (next == rowCount) {
            return false;
        }
        painting.now();
        if (next < 0) {
            line = csvLine(header);
        } else {
            for (int c = 0; c < columns; ++c) {
                const std::string shown =
                    rows != nullptr ? rows->cellText(next, c) : list.itemText(next, c);
                cells[static_cast<size_t>(c)] = recordCsvCell(kind, c, shown);
            }
            line = csvLine(cells);
        }
        ++next;
        return true;
    };
    return writeCsvFileTold(path, nextLine, error);
}

bool writeCsvFileTold(const std::string& path, const CsvLineSource& nextLine, std::string& error) {
    int errorNumber = 0;
    if (!writeCsvFile(path, nextLine, errorNumber)) {
        error = fileErrorText(errorNumber);
        return false;
    }
    return true;
}

void exportRecordListAsUser(CDialog& owner, const CReportList& list, RecordKind kind,
                            std::string_view what) {
    exportCsvAsUser(owner, list.rowCount(), what, [&](const std::string& path, std::string& error) {
        return exportRecordsCsv(list, kind, path, error);
    });
}

void exportCsvAsUser(CDialog& owner, int rows, std::string_view what, const CsvExport& write) {
    if (rows == 0) {
        owner.messageBox(kMsgNothingToExport);
        return;
    }
    const std::string asked = askSaveFile(&owner, suggestedPath(what));
    if (asked.empty()) {
        return;
    }
    const std::string path = withCsvSuffix(asked);
    std::string error;
    bool exported = false;
    {
        WaitCursor wait;
        exported = write(path, error);
    }
    if (!exported) {
        owner.messageBox(formatText(kMsgExportFailed, path.c_str(), error.c_str()));
        return;
    }
    lastFolder() = utf8(QFileInfo(qstr(path)).absolutePath());
    owner.messageBox(formatText(kMsgExported, rows, path.c_str()));
}

void setSaveFileAsker(SaveFileAsker asker) {
    currentAsker() = std::move(asker);
}
