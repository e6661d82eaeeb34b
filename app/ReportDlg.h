// "生成报告...": the maintenance report dialog. The technician fills in site, string and
// name (kept for next time only when asked), chooses whether to read the resistance records
// and where the PDF goes (the CSV beside it); "生成" reads the device and writes both files.
#pragma once

#include <string>

#include "Dialog.h"
#include "ReportModel.h"

class LongRead;

class CReportDlg : public CDialog {
  public:
    explicit CReportDlg(QWidget* parent = nullptr);
    ~CReportDlg() override;

    // The CSV written beside `pdfPath`.
    static std::string csvPathFor(const std::string& pdfPath);

  private:
    bool onInitDialog() override;
    void onPdfPathChanged();
    void onBrowse();
    void onGenerate();
    void onCancel() override;
    void rememberFields();
    report::ReportInput inputFromFields() const;
    bool readDevice(report::ReportInput& input);  // false: the port could not be had
    void writeFiles(const report::ReportInput& input, const std::string& pdf,
                    const std::string& csv);
    void setBusy(bool busy);
    void finish(const std::string& text);

    LongRead* m_pLongRead = nullptr;  // while the resistance records are read
    bool m_busy = false;

    static const MessageEntry<CReportDlg> kMessageMap[];
};
