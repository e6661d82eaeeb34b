// Declarative dialog templates: the controls of a dialog with their ids, kinds, captions,
// items and initial state. Placement is a grid cell in the dialog or in a group box. The
// builders in TemplateBuilders.h write them.
#pragma once

#include <string>
#include <vector>

enum class ControlKind {
    PushButton,
    Edit,
    Static,
    GroupBox,
    DropList,  // drop-down list combo box
    CheckBox,
    RadioButton,
    ListView,  // report-style list
    TreeView,  // tree with check boxes
    TabControl,
};

// Initial state bits of a control.
enum ControlStyle : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kPassword = 1u << 2,
    kChecked = 1u << 3,
    kReadOnly = 1u << 4,
    kGroupStart = 1u << 5,  // first radio button of a group
    kDefaultButton = 1u << 6,
};

inline constexpr int kNoId = -1;
inline constexpr int IDOK = 1;      // the buttons that end a modal dialog
inline constexpr int IDCANCEL = 2;  // controls no code refers to (labels, group boxes)

struct GridCell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
};

struct ControlTemplate {
    ControlKind kind = ControlKind::Static;
    int id = kNoId;
    std::string caption;
    GridCell cell;
    unsigned style = 0;
    std::vector<std::string> items;  // drop-down list items, in order
    int chars = 0;                   // edits: width for this many digits; 0: the usual width
    int box = 0;                     // boxKey of the group box this control sits in; 0: the dialog
    int boxKey = 0;                  // group boxes only: the key their controls name in `box`
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::string fontFace;  // the face the template names; fontconfig finds a fallback
    int fontPoints = 10;
    std::vector<ControlTemplate> controls;

    void add(std::vector<ControlTemplate> more) {
        controls.insert(controls.end(), more.begin(), more.end());
    }
};
