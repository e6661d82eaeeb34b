// Lookup of dialog templates by id, and the small builders the template files share.
#include "Templates.h"

#include <map>
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
              makeCellTemplate(IDD_VOLTAGE), makeCellTemplate(IDD_RESISTANCE),
              makeCellTemplate(IDD_TEMPERATURE), makeCurrentTemplate()}) {
            m.emplace(t.id, std::move(t));
        }
        // Pages whose controls come later still get their slot.
        for (int id : {IDD_RECORD_QUERY, IDD_SYSTEM_PARAM, IDD_PROBE}) {
            m.emplace(id, emptyTemplate(id));
        }
        return m;
    }();
    return all;
}

}  // namespace

const DialogTemplate& dialogTemplate(int id) {
    const auto& all = templates();
    if (auto it = all.find(id); it != all.end()) {
        return it->second;
    }
    static std::map<int, DialogTemplate> unknown;
    return unknown.try_emplace(id, emptyTemplate(id)).first->second;
}

std::vector<const DialogTemplate*> allDialogTemplates() {
    std::vector<const DialogTemplate*> list;
    for (const auto& [id, t] : templates()) {
        list.push_back(&t);
    }
    return list;
}

namespace tpl {

ControlTemplate group(int frameKey, std::string caption, GridCell cell, int frame) {
    ControlTemplate c;
    c.kind = ControlKind::GroupBox;
    c.caption = std::move(caption);
    c.cell = cell;
    c.frame = frame;
    c.frameKey = frameKey;
    return c;
}

ControlTemplate label(std::string caption, GridCell cell, int frame, unsigned style) {
    return control(ControlKind::Static, kNoId, std::move(caption), cell, frame, style);
}

ControlTemplate control(ControlKind kind, int id, std::string caption, GridCell cell, int frame,
                        unsigned style) {
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.caption = std::move(caption);
    c.cell = cell;
    c.frame = frame;
    c.style = style;
    return c;
}

ControlTemplate dropList(int id, std::vector<std::string> items, GridCell cell, int frame,
                         unsigned style) {
    ControlTemplate c = control(ControlKind::DropList, id, "", cell, frame, style);
    c.items = std::move(items);
    return c;
}

std::vector<std::string> numberItems(int n) {
    std::vector<std::string> items;
    for (int i = 1; i <= n; ++i) {
        items.push_back(std::to_string(i));
    }
    return items;
}

}  // namespace tpl
