// Dialog template ids and the lookup of their declarative templates.
#pragma once

#include <vector>

#include "DialogTemplate.h"

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
};

// The template of dialog `id`; an unknown id gives an empty template with that id.
const DialogTemplate& dialogTemplate(int id);
// Every template the program has (for checks over all captions).
std::vector<const DialogTemplate*> allDialogTemplates();

// Builders the per-subsystem template files share.
namespace tpl {
ControlTemplate group(int frameKey, std::string caption, GridCell cell, int frame = 0);
ControlTemplate label(std::string caption, GridCell cell, int frame = 0, unsigned style = 0);
ControlTemplate control(ControlKind kind, int id, std::string caption, GridCell cell, int frame = 0,
                        unsigned style = 0);
ControlTemplate dropList(int id, std::vector<std::string> items, GridCell cell, int frame = 0,
                         unsigned style = 0);
// "1", "2", ... "n"
std::vector<std::string> numberItems(int n);
}  // namespace tpl

// Templates by subsystem (defined in their own files).
DialogTemplate makeAboutTemplate();
DialogTemplate makeMainTemplate();
DialogTemplate makeCommTemplate();
DialogTemplate makeCurrentTemplate();
DialogTemplate makeBankTemplate();
DialogTemplate makeCellTemplate(int id);  // 134, 135, 136
