// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens: every control, caption, colour, initial state, stacking, tab order.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

class WindowControls : public QObject {
    Q_OBJECT

private slots:
    void titles();
    void controlTree_data();
    void controlTree();
    void startState();
    void focusStartsOnEinzelschritt();
    void tabOrder();
    void stacking_data();
    void stacking();
    void textBoxesRejectTyping();
    void ambiguousAccessKeyOnlyMovesTheFocus();
    void pictures();
};

void WindowControls::titles() {
    WindowUnderTest t;
    QCOMPARE(t.window.windowTitle(), QStringLiteral("ankraub in Tremmelin"));
    QCOMPARE(t.window.objectName(), QStringLiteral("Wexal"));
    QVERIFY(!t.window.windowIcon().isNull());
}

void WindowControls::controlTree_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* name, const char* kind, const char* container, const QString& caption) {
        QTest::newRow(name) << QString::fromUtf8(name) << kind << container << caption;
    };
    row("Label6", "QLabel", "Wexal", "Wexalversuche");
    row("Command1", "QPushButton", "Wexal", "Information");
    row("Frame1", "QGroupBox", "Wexal", "");
    row("Frame5", "QGroupBox", "Wexal", "Statistik");
    row("Label1", "QLabel", "Frame5", "Wexalversuche");
    row("Label2", "QLabel", "Frame5", "gelungen");
    row("Label3", "QLabel", "Frame5", QStringLiteral("mißglückt"));
    row("Label4", "QLabel", "Frame5", "%");
    row("Label5", "QLabel", "Frame5", "%");
    for (const char* box : {"Text2", "Text3", "Text4", "Text5", "Text6"}) row(box, "QLineEdit", "Frame5", "0");
    row("Label8", "QLabel", "Frame1",
        "Durch Anklicken der Auswahlfelder kann man die Lichtschranken ein- und ausschalten");
    row("Image1", "QLabel", "Frame1", "");
    row("picBox", "wexal::MapBox", "Frame1", "");
    for (int i = 0; i < 8; ++i) {
        const QByteArray text = QStringLiteral("Text1(%1)").arg(i).toUtf8();
        row(text.constData(), "QLineEdit", "Frame1", "0");
        const QByteArray check = QStringLiteral("Check1(%1)").arg(i).toUtf8();
        row(check.constData(), "QCheckBox", (i == 0 || i == 2 || i == 3) ? "picBox" : "Frame1", "");
        const QByteArray line = QStringLiteral("Line1(%1)").arg(i).toUtf8();
        row(line.constData(), "wexal::LineFigure", "picBox", "");
    }
    row("Frame2", "QGroupBox", "Frame1", "Simulation");
    row("Label7", "QLabel", "Frame2", QStringLiteral("Hin-und-her möglich"));
    row("Option1", "QRadioButton", "Frame2", "ja");
    row("Option2", "QRadioButton", "Frame2", "nein");
    row("cmdEinzel", "QPushButton", "Frame2", "&Einzelschritt");
    row("cmdGanze", "QPushButton", "Frame2", "ganze &Wexal");
    row("cmdNeustart", "QPushButton", "Frame2", "&Neustart");
    row("cmd100", "QPushButton", "Frame2", "&50 Wexalen");
    row("cmdEnde", "QPushButton", "Frame2", "&Ende");
    row("Frame4", "QGroupBox", "Frame1", "Anzeige");
    row("cmdCLZähler", "QPushButton", "Frame4", QStringLiteral("&Zähler löschen"));
    row("cmdCLSpuren", "QPushButton", "Frame4", QStringLiteral("&Spuren löschen"));
    row("Label9", "QLabel", "picBox", " Bank");
    row("imgBrammler", "QLabel", "picBox", "");
    for (const char* shape : {"Shape1", "Shape3", "Shape4", "Shape5", "Shape6", "Shape7", "Shape8",
                              "Shape9", "Shape10", "Shape11"}) {
        row(shape, "wexal::ShapeFigure", "picBox", "");
    }
}

void WindowControls::controlTree() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    WindowUnderTest t;
    QWidget* w = t.get(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromUtf8(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) shown = frame->title();
    if (auto* box = qobject_cast<QLineEdit*>(w)) shown = box->text();
    QCOMPARE(shown, caption);
}

void WindowControls::startState() {
    WindowUnderTest t;
    const QColor yellow(255, 255, 0);
    const QColor white(255, 255, 255);
    const bool on[8] = {true, false, true, true, false, true, false, true};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(t.get<QCheckBox>(QStringLiteral("Check1(%1)").arg(i))->isChecked(), on[i]);
        QCOMPARE(t.get(QStringLiteral("Line1(%1)").arg(i))->isVisibleTo(&t.window), on[i]);
        QCOMPARE(t.get<QLineEdit>(QStringLiteral("Text1(%1)").arg(i))->palette().color(QPalette::Base),
                 on[i] ? yellow : white);
        QCOMPARE(t.get<QCheckBox>(QStringLiteral("Check1(%1)").arg(i))->text(), QString());
    }
    QVERIFY(t.get<QRadioButton>("Option2")->isChecked());
    QVERIFY(!t.get<QRadioButton>("Option1")->isChecked());
    QVERIFY(!t.window.escape().setting().turnBack);
    QCOMPARE(t.currentNode(), 1);
    for (const char* box : {"Text2", "Text3", "Text4", "Text5", "Text6"}) QCOMPARE(t.text(box), QStringLiteral("0"));
    QCOMPARE(t.get<QLineEdit>("Text5")->palette().color(QPalette::Base), yellow);
    QCOMPARE(t.get<QLineEdit>("Text6")->palette().color(QPalette::Base), yellow);
    QCOMPARE(t.get<QLineEdit>("Text2")->palette().color(QPalette::Base), QColor(192, 255, 192));
    const QColor window = QApplication::palette().color(QPalette::Base);
    QCOMPARE(t.get<QLineEdit>("Text3")->palette().color(QPalette::Base), window);
    QCOMPARE(t.get<QLineEdit>("Text4")->palette().color(QPalette::Base), window);
    QCOMPARE(t.get<QLineEdit>("Text2")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(t.get<QLineEdit>("Text1(0)")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(t.get<QLabel>("Label9")->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(t.get("picBox")->palette().color(QPalette::Window), QColor(224, 224, 224));
    QCOMPARE(t.get<QLabel>("Label6")->font().pointSizeF(), 45.0);
    QVERIFY(t.get<QLabel>("Label6")->font().italic());
    QCOMPARE(t.get<QLineEdit>("Text1(3)")->font().pointSizeF(), 15.75);
    QCOMPARE(t.get<QLineEdit>("Text2")->font().pointSizeF(), 13.5);
    QCOMPARE(QFontInfo(t.get<QLineEdit>("Text1(3)")->font()).family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(QFontInfo(t.get<QPushButton>("cmdEnde")->font()).family(), QStringLiteral("Liberation Sans"));
    // The options have no font of their own: the window's 8.25 pt, not their frame's 12 pt.
    for (const char* option : {"Option1", "Option2"}) QCOMPARE(t.get(option)->font().pointSizeF(), 8.25);
}

void WindowControls::focusStartsOnEinzelschritt() {
    WindowUnderTest t;
    QVERIFY(t.show());
    QCOMPARE(QApplication::focusWidget(), t.get("cmdEinzel"));
    QVERIFY(!t.window.isMaximized());
    QVERIFY(!t.window.isMinimized());
}

void WindowControls::tabOrder() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const QStringList expected = {
        "cmdEinzel", "Text1(6)", "Text1(4)", "Text1(3)", "Text1(2)", "Text1(1)", "Text1(0)", "picBox",
        "Text1(5)", "Text1(7)", "cmdGanze", "cmdNeustart", "cmd100", "cmdEnde", QStringLiteral("cmdCLZähler"),
        "cmdCLSpuren", "Check1(0)", "Check1(1)", "Check1(2)", "Check1(3)", "Check1(4)", "Check1(5)",
        "Check1(6)", "Check1(7)", "Text2", "Text3", "Text5", "Text4", "Text6", "Option2", "Command1",
        "cmdEinzel"};
    QCOMPARE(QApplication::focusWidget()->objectName(), expected.first());
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected[i]);
    }
    // With "ja" selected the option group's stop is "ja".
    t.click("Option1");
    t.get("Text6")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1"));
}

void WindowControls::stacking_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("bottomUp");
    // Labels, images, shapes and lines lie below every control with a window of its own.
    QTest::newRow("window") << "Wexal" << QStringList{"Label6", "Frame1", "Frame5", "Command1"};
    QTest::newRow("Frame5") << "Frame5"
                            << QStringList{"Label1", "Label2", "Label3", "Label4", "Label5", "Text2",
                                           "Text3", "Text5", "Text4", "Text6"};
    QTest::newRow("Frame1") << "Frame1"
                            << QStringList{"Label8", "Image1", "Text1(6)", "Text1(4)", "Text1(3)", "Text1(2)",
                                           "Text1(1)", "Text1(0)", "picBox", "Text1(5)", "Text1(7)", "Frame2",
                                           "Frame4", "Check1(1)", "Check1(4)", "Check1(5)", "Check1(6)",
                                           "Check1(7)"};
    QTest::newRow("Frame2") << "Frame2"
                            << QStringList{"Label7", "cmdGanze", "cmdNeustart", "cmdEinzel", "cmd100",
                                           "cmdEnde", "Option1", "Option2"};
    QTest::newRow("picBox") << "picBox"
                            << QStringList{"Line1(7)", "Line1(6)", "Line1(5)", "Line1(4)", "Line1(3)",
                                           "Line1(2)", "Line1(1)", "Line1(0)", "Shape9", "Shape8", "Shape7",
                                           "Shape6", "Shape5", "Shape4", "Shape3", "Shape1", "Shape10",
                                           "Shape11", "imgBrammler", "Label9", "Check1(0)", "Check1(2)",
                                           "Check1(3)"};
}

void WindowControls::stacking() {
    QFETCH(QString, container);
    QFETCH(QStringList, bottomUp);
    WindowUnderTest t;
    QStringList actual;
    for (QObject* child : t.get(container)->children()) {
        if (child->isWidgetType() && bottomUp.contains(child->objectName())) actual << child->objectName();
    }
    QCOMPARE(actual, bottomUp);
}

void WindowControls::textBoxesRejectTyping() {
    WindowUnderTest t;
    QVERIFY(t.show());
    for (const char* name : {"Text1(0)", "Text2", "Text6"}) {
        auto* box = t.get<QLineEdit>(name);
        box->setFocus();
        QVERIFY(box->hasFocus());
        QTest::keyClicks(box, "123");
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("0"));
    }
}

// "&Einzelschritt" and "&Ende" share E: Alt+E moves the focus between them and clicks neither.
void WindowControls::ambiguousAccessKeyOnlyMovesTheFocus() {
    WindowUnderTest t;
    QVERIFY(t.show());
    QTest::keyClick(&t.window, Qt::Key_E, Qt::AltModifier);
    const QString first = QApplication::focusWidget()->objectName();
    QTest::keyClick(&t.window, Qt::Key_E, Qt::AltModifier);
    const QString second = QApplication::focusWidget()->objectName();
    QCOMPARE(QSet<QString>({first, second}), QSet<QString>({"cmdEinzel", "cmdEnde"}));
    QTest::qWait(300);  // past any animated click
    QVERIFY(!t.runtime.ended());
    QVERIFY(t.window.isVisible());
    QCOMPARE(t.currentNode(), 1);  // no step was taken
}

void WindowControls::pictures() {
    WindowUnderTest t;
    const QLabel* policeman = t.get<QLabel>("Image1");
    QCOMPARE(policeman->pixmap().size(), QSize(105, 207));
    QCOMPARE(policeman->size(), QSize(105, 207));
    const QLabel* robber = t.get<QLabel>("imgBrammler");
    QCOMPARE(robber->pixmap().size(), QSize(95, 113));
    QVERIFY(robber->hasScaledContents());
    QCOMPARE(QImage(":/icon.ico").size(), QSize(32, 32));
}

QTEST_MAIN(WindowControls)
#include "window_controls_test.moc"
