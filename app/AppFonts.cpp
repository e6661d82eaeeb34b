// Font substitution for the faces the dialog templates name.
#include "AppFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <set>
#include <vector>

#include "Templates.h"

namespace {

constexpr const char* kLatinFace = "DejaVu Sans";  // every Debian desktop has it (fontconfig)
// fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei, as the package depends on them,
// each with the names Qt may list it under (a Chinese locale lists the Chinese one).
struct CjkFace {
    const char* name;
    std::vector<const char*> listedAs;
};
const CjkFace kCjkFaces[] = {
    {"WenQuanYi Micro Hei", {"WenQuanYi Micro Hei", "文泉驿微米黑", "文泉驛微米黑"}},
    {"Noto Sans CJK SC", {"Noto Sans CJK SC"}},
    {"WenQuanYi Zen Hei", {"WenQuanYi Zen Hei", "文泉驿正黑", "文泉驛正黑"}},
};

}  // namespace

std::string chosenCjkFace() {
    const QStringList installed = QFontDatabase::families();
    for (const CjkFace& face : kCjkFaces) {
        for (const char* name : face.listedAs) {
            if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive)) {
                return face.name;
            }
        }
    }
    return {};
}

void substituteTemplateFaces() {
    QStringList substitutes{QString::fromUtf8(kLatinFace)};
    if (const std::string cjk = chosenCjkFace(); !cjk.empty()) {
        substitutes << QString::fromStdString(cjk);
    }
    std::set<std::string> faces;
    for (const DialogTemplate* t : allDialogTemplates()) {
        if (!t->fontFace.empty()) {
            faces.insert(t->fontFace);
        }
    }
    // The dialogs' fonts take these as their family list (CDialog), so Chinese comes from
    // this face even where fontconfig ranks another first.
    for (const std::string& face : faces) {
        const QString name = QString::fromStdString(face);
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, substitutes);
    }
}
