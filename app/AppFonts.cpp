// Font substitution for the faces the dialog templates name.
#include "AppFonts.h"

#include <QFont>
#include <QString>
#include <set>
#include <string>

#include "Templates.h"

namespace {
constexpr const char* kLatinFace = "DejaVu Sans";  // every Debian desktop has it (fontconfig)
}

void substituteTemplateFaces() {
    std::set<std::string> faces;
    for (const DialogTemplate* t : allDialogTemplates()) {
        if (!t->fontFace.empty()) {
            faces.insert(t->fontFace);
        }
    }
    for (const std::string& face : faces) {
        QFont::insertSubstitution(QString::fromStdString(face), kLatinFace);
    }
}
