// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QCoreApplication;

namespace wexal {

// Qt's own texts (file dialog, standard buttons, context menus, QCommandLineParser's messages)
// in German whatever the system's language, since the whole program speaks German. The
// translator belongs to `app`. Without a German file in the folder nothing changes and the
// result is false: Qt's English is still better than no program.
bool installGermanTranslations(QCoreApplication& app, const QString& folder);
// From the folder where this Qt keeps its translations (Debian: qt6-translations-l10n).
bool installGermanTranslations(QCoreApplication& app);

}  // namespace wexal
