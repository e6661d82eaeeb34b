// Lookup of dialog templates by id.
#include "Templates.h"

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

DialogTemplate emptyTemplate(int id) {
    DialogTemplate t;
    t.id = id;
    t.fontFace = "宋体";
    return t;
}

const std::map<int, DialogTemplate>& templates() {
    static const std::map<int, DialogTemplate> all = [] {
        std::map<int, DialogTemplate> m;
        for (DialogTemplate t :
             {makeAboutTemplate(), makeMainTemplate(), makeCommTemplate(), makeBankTemplate(),
              makeCellTemplate(cellPageLayout(IDD_VOLTAGE)),
              makeCellTemplate(cellPageLayout(IDD_RESISTANCE)),
              makeCellTemplate(cellPageLayout(IDD_TEMPERATURE)), makeCurrentTemplate(),
              makeProbeTemplate(), makeSystemParamTemplate(), makePasswordTemplate()}) {
            m.emplace(t.id, std::move(t));
        }
        // Pages whose controls come later still get their slot.
        for (int id : {IDD_RECORD_QUERY}) {
            m.emplace(id, emptyTemplate(id));
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
