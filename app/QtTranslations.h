// Qt's own texts (standard buttons, the edit menu of text fields) in the language of the
// system locale, or in Chinese where Qt has no translation for that locale, so that a
// message box's button reads "确定" as everything else in the program is Chinese.
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <memory>

// Qt's translation of its own texts for `locale`, from `folder`; Chinese when there is
// none for `locale`; null when not even Chinese is there (Qt then speaks English).
std::unique_ptr<QTranslator> loadQtTranslation(const QLocale& locale, const QString& folder);

// The same for the system locale from Qt's installed translations, installed in the
// application; the translator lives as long as the application object.
void installQtTranslation();
