// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own messages in German whatever the system's language, and no harm where the German
// file is missing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>

#include "platform/qt/german_translations.h"

namespace wexal {
namespace {

QString unknownOption() {
    return QCoreApplication::translate("QCommandLineParser", "Unknown option '%1'.");
}

class GermanTranslations : public testing::Test {
  protected:
    int argc_ = 1;
    char name_[16] = "wexal_cli_tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_{argc_, argv_};
};

TEST_F(GermanTranslations, WithoutTheGermanFileNothingChanges) {
    const QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    for (const QString& folder : {empty.path(), empty.filePath("missing")}) {
        EXPECT_FALSE(installGermanTranslations(app_, folder)) << folder.toStdString();
    }
    EXPECT_EQ(unknownOption(), "Unknown option '%1'.");
    EXPECT_TRUE(app_.findChildren<QTranslator*>().isEmpty());
}

// tools/install-deps.sh installs qt6-translations-l10n, which puts qtbase_de.qm there.
TEST_F(GermanTranslations, QtsOwnFolderGivesGermanOwnedByTheApplication) {
    ASSERT_TRUE(installGermanTranslations(app_))
        << "no qtbase_de.qm in "
        << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
    EXPECT_EQ(unknownOption(), "Unbekannte Option '%1'.");
    EXPECT_EQ(app_.findChildren<QTranslator*>().size(), 1);
}

}  // namespace
}  // namespace wexal
