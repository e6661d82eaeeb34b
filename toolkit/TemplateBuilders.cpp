// Template row builders.
#include "TemplateBuilders.h"

#include <algorithm>
#include <utility>

namespace tpl {

ControlTemplate group(int id, int boxKey, std::string caption, GridCell cell, int box) {
    ControlTemplate c = control(ControlKind::GroupBox, id, std::move(caption), cell, box);
    c.boxKey = boxKey;
    return c;
}

ControlTemplate label(std::string caption, GridCell cell, int box, unsigned style) {
    return control(ControlKind::Static, kNoId, std::move(caption), cell, box, style);
}

ControlTemplate control(ControlKind kind, int id, std::string caption, GridCell cell, int box,
                        unsigned style) {
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.caption = std::move(caption);
    c.cell = cell;
    c.box = box;
    c.style = style;
    return c;
}

ControlTemplate dropList(int id, std::vector<std::string> items, GridCell cell, int box,
                         unsigned style) {
    ControlTemplate c = control(ControlKind::DropList, id, "", cell, box, style);
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

FieldSpec editField(std::string label, int id, std::string unit, std::string text) {
    FieldSpec f;
    f.label = std::move(label);
    f.id = id;
    f.unit = std::move(unit);
    f.text = std::move(text);
    return f;
}

FieldSpec listField(std::string label, int id, std::vector<std::string> items) {
    FieldSpec f;
    f.label = std::move(label);
    f.id = id;
    f.kind = ControlKind::DropList;
    f.items = std::move(items);
    return f;
}

FieldSpec narrow(FieldSpec field, int chars) {
    field.chars = chars;
    return field;
}

std::vector<ControlTemplate> fieldRow(const std::vector<FieldSpec>& fields,
                                      const std::vector<ButtonSpec>& buttons, int row, int box,
                                      int column) {
    std::vector<ControlTemplate> controls;
    for (const FieldSpec& f : fields) {
        if (!f.label.empty()) {
            controls.push_back(label(f.label, {row, column++}, box));
        }
        ControlTemplate field = control(f.kind, f.id, f.text, {row, column++}, box);
        field.items = f.items;
        field.chars = f.chars;
        controls.push_back(std::move(field));
        if (!f.unit.empty()) {
            controls.push_back(label(f.unit, {row, column++}, box));
        }
    }
    for (const ButtonSpec& b : buttons) {
        controls.push_back(control(ControlKind::PushButton, b.id, b.caption, {row, column++}, box));
    }
    return controls;
}

std::vector<ControlTemplate> editRow(std::string label, int edit, std::string unit,
                                     const std::vector<ButtonSpec>& buttons, int row, int box) {
    return fieldRow({editField(std::move(label), edit, std::move(unit))}, buttons, row, box);
}

std::vector<ControlTemplate> checkGrid(std::span<const int> ids,
                                       const std::vector<std::string>& captions, int columns,
                                       int firstRow, int box) {
    std::vector<ControlTemplate> controls;
    const int perRow = std::max(columns, 1);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int index = static_cast<int>(i);
        const GridCell cell{firstRow + index / perRow, index % perRow};
        const std::string caption = i < captions.size() ? captions[i] : std::string();
        controls.push_back(control(ControlKind::CheckBox, ids[i], caption, cell, box));
    }
    return controls;
}

}  // namespace tpl
