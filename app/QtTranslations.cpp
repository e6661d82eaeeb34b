// Loads Qt's own translation catalogue (qtbase: the widgets' texts) for the program.
#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {
constexpr const char* kCatalogue = "qtbase";
}

std::unique_ptr<QTranslator> loadQtTranslation(const QLocale& locale, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(locale, kCatalogue, "_", folder) ||
        translator->load(QLocale(QLocale::Chinese, QLocale::China), kCatalogue, "_", folder)) {
        return translator;
    }
    return nullptr;
}

void installQtTranslation() {
    auto* app = QCoreApplication::instance();
    std::unique_ptr<QTranslator> translator =
        loadQtTranslation(QLocale::system(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (app != nullptr && translator != nullptr) {
        QTranslator* owned = translator.release();
        owned->setParent(app);
        QCoreApplication::installTranslator(owned);
    }
}
