// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in the window, German after installGermanTranslations as in main().
#include <memory>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "platform/qt/german_translations.h"

namespace {

// The Cancel button, then the entries of a line edit's standard context menu.
QStringList texts() {
    const QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QStringList result{box.button(QDialogButtonBox::Cancel)->text()};
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) result << action->text().section(u'\t', 0, 0);
    }
    return result;
}

}  // namespace

class GermanTextsTest : public QObject {
    Q_OBJECT

private slots:
    // Qt loads no translation by itself: English first, German once installed.
    void standardButtonsAndContextMenu() {
        const QStringList english = texts();
        QCOMPARE(english.first(), QStringLiteral("Cancel"));
        QVERIFY(wexal::installGermanTranslations(*QCoreApplication::instance()));
        const QStringList german = texts();
        QCOMPARE(german.first(), QStringLiteral("Abbrechen"));
        QCOMPARE(german.at(1), QStringLiteral("&Rückgängig"));
        QCOMPARE(german.size(), english.size());
        for (qsizetype i = 0; i < german.size(); ++i) {
            QVERIFY2(german.at(i) != english.at(i), qPrintable(english.at(i) + " not translated"));
        }
    }
};

QTEST_MAIN(GermanTextsTest)
#include "german_texts_test.moc"
