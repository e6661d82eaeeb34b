// Dialog template ids and the lookup of their declarative templates.
#pragma once

#include <vector>

#include "DialogTemplate.h"
#include "TemplateBuilders.h"

enum DialogId : int {
    IDD_ABOUTBOX = 100,
    IDD_MAIN = 102,
    IDD_COMM = 130,
    IDD_BANK = 133,
    IDD_VOLTAGE = 134,
    IDD_RESISTANCE = 135,
    IDD_TEMPERATURE = 136,
    IDD_CURRENT = 137,
    IDD_RECORD_QUERY = 138,
    IDD_SYSTEM_PARAM = 139,
    IDD_PROBE = 140,
    IDD_CURVE_RECORDS = 151,
    IDD_PASSWORD = 153,
    IDD_RESISTANCE_RECORDS = 152,
    IDD_ALARM_RECORDS = 154,
    IDD_VOLTAGE_RECORDS = 155,
    IDD_SCAN = 156,
    IDD_REPORT = 160,
};

// The template of dialog `id`. An id without a template is a mistake in the program:
// std::out_of_range names it.
const DialogTemplate& dialogTemplate(int id);
// Every template the program has (for checks over all of them).
std::vector<const DialogTemplate*> allDialogTemplates();

// The three cell pages share one design; this is the one description of how they differ.
struct CellPageLayout {
    int templateId;
    const char* caption;
    int leftList;   // cells 1-20
    int rightList;  // cells 21-40
    bool viewMode;  // the "切换查看模式" list is shown
    bool manualTest;
};
// IDD_VOLTAGE, IDD_RESISTANCE or IDD_TEMPERATURE; any other id gives the voltage page's.
const CellPageLayout& cellPageLayout(int templateId);

// Templates by subsystem (defined in their own files).
DialogTemplate makeAboutTemplate();
DialogTemplate makeMainTemplate();
DialogTemplate makeCommTemplate();
DialogTemplate makeScanTemplate();
DialogTemplate makeProbeTemplate();
DialogTemplate makeSystemParamTemplate();
DialogTemplate makePasswordTemplate();
DialogTemplate makeRecordQueryTemplate();
DialogTemplate makeVoltageRecordsTemplate();
DialogTemplate makeAlarmRecordsTemplate();
DialogTemplate makeResistanceRecordsTemplate();
DialogTemplate makeCurveRecordsTemplate();
DialogTemplate makeCurrentTemplate();
DialogTemplate makeBankTemplate();
DialogTemplate makeCellTemplate(const CellPageLayout& layout);
DialogTemplate makeReportTemplate();
