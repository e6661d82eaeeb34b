// Lookup of dialog templates by id.
#include "Templates.h"

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

const std::map<int, DialogTemplate>& templates() {
    static const std::map<int, DialogTemplate> all = [] {
        std::map<int, DialogTemplate> m;
        for (DialogTemplate t :
             {makeAboutTemplate(), makeMainTemplate(), makeCommTemplate(), makeScanTemplate(),
              makeBankTemplate(), makeCellTemplate(cellPageLayout(IDD_VOLTAGE)),
              makeCellTemplate(cellPageLayout(IDD_RESISTANCE)),
              makeCellTemplate(cellPageLayout(IDD_TEMPERATURE)), makeCurrentTemplate(),
              makeProbeTemplate(), makeSystemParamTemplate(), makePasswordTemplate(),
              makeRecordQueryTemplate(), makeVoltageRecordsTemplate(), makeAlarmRecordsTemplate(),
              makeResistanceRecordsTemplate(), makeCurveRecordsTemplate(), makeReportTemplate()}) {
            m.emplace(t.id, std::move(t));
        }
        return m;
    }();
    return all;
}

}  // namespace

const DialogTemplate& dialogTemplate(int id) {
    const auto& all = templates();
    if (const auto it = all.find(id); it != all.end()) {
        return it->second;
    }
    throw std::out_of_range("no dialog template " + std::to_string(id));
}

std::vector<const DialogTemplate*> allDialogTemplates() {
    std::vector<const DialogTemplate*> list;
    for (const auto& [id, t] : templates()) {
        list.push_back(&t);
    }
    return list;
}
