// Builders of template rows: single controls, and the rows that form pages repeat (a
// labelled field row, a labelled edit with its unit and buttons, a grid of check boxes).
// They only make data; CDialog turns it into widgets.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "DialogTemplate.h"

namespace tpl {

// A group box with its own id (kNoId when no code refers to it); the controls inside it
// name `boxKey` as their box.
ControlTemplate group(int id, int boxKey, std::string caption, GridCell cell, int box = 0);
ControlTemplate label(std::string caption, GridCell cell, int box = 0, unsigned style = 0);
ControlTemplate control(ControlKind kind, int id, std::string caption, GridCell cell, int box = 0,
                        unsigned style = 0);
ControlTemplate dropList(int id, std::vector<std::string> items, GridCell cell, int box = 0,
                         unsigned style = 0);
// "1", "2", ... "n"
std::vector<std::string> numberItems(int n);

struct ButtonSpec {
    int id;
    std::string caption;
};

// One field of a row: its label before it and its unit after it (either may be empty).
struct FieldSpec {
    std::string label;
    int id = kNoId;
    std::string unit;
    ControlKind kind = ControlKind::Edit;
    std::string text;                // an edit's initial text
    std::vector<std::string> items;  // a drop list's items
    int chars = 0;                   // an edit's width in digits; 0: the usual width
};
FieldSpec editField(std::string label, int id, std::string unit = {}, std::string text = {});
FieldSpec listField(std::string label, int id, std::vector<std::string> items);
// `field` with an edit `chars` digits wide.
FieldSpec narrow(FieldSpec field, int chars);

// The fields left to right from `column`, each as label, field, unit, then the buttons.
std::vector<ControlTemplate> fieldRow(const std::vector<FieldSpec>& fields,
                                      const std::vector<ButtonSpec>& buttons, int row, int box = 0,
                                      int column = 0);
// A labelled edit with its unit and its buttons (a read and a set button on a form page).
std::vector<ControlTemplate> editRow(std::string label, int edit, std::string unit,
                                     const std::vector<ButtonSpec>& buttons, int row, int box = 0);
// Check box ids[i] captioned captions[i], `columns` to a row, from `firstRow` down.
std::vector<ControlTemplate> checkGrid(std::span<const int> ids,
                                       const std::vector<std::string>& captions, int columns,
                                       int firstRow, int box = 0);

}  // namespace tpl
