// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/german_translations.h"

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace wexal {

bool installGermanTranslations(QCoreApplication& app, const QString& folder) {
    // The exact file: QTranslator's own search would fall back to an untranslated "qtbase.qm".
    const QString file = QDir(folder).filePath(QStringLiteral("qtbase_de.qm"));
    if (!QFileInfo(file).isFile()) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    translator.release()->setParent(&app);  // lives as long as the application
    return true;
}

bool installGermanTranslations(QCoreApplication& app) {
    return installGermanTranslations(app, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace wexal
