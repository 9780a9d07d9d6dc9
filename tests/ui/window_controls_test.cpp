// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens: every control, caption, colour, initial state, stacking, tab order.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "ui/control_table.h"
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
    void stacking();
    void everySwitchWorksItsOwnBarrier();
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

// The window builds each row of its table: a widget of the row's kind, in the row's container,
// showing the row's caption.
void WindowControls::controlTree_data() {
    QTest::addColumn<int>("row");
    for (const controls::Control& c : controls::kTable) {
        QTest::newRow(c.name) << static_cast<int>(controls::indexOf(c.id));
    }
}

void WindowControls::controlTree() {
    QFETCH(int, row);
    const controls::Control& c = controls::kTable.at(static_cast<std::size_t>(row));
    static const std::map<controls::Kind, QString> kClass = {
        {controls::Kind::Window, "wexal::Wexal"},        {controls::Kind::Label, "QLabel"},
        {controls::Kind::Button, "QPushButton"},         {controls::Kind::Frame, "QGroupBox"},
        {controls::Kind::TextBox, "QLineEdit"},          {controls::Kind::CheckBox, "QCheckBox"},
        {controls::Kind::OptionButton, "QRadioButton"},  {controls::Kind::PictureBox, "wexal::MapBox"},
        {controls::Kind::Image, "QLabel"},               {controls::Kind::Shape, "wexal::ShapeFigure"},
        {controls::Kind::Line, "wexal::LineFigure"},
    };
    WindowUnderTest t;
    QWidget* w = t.get(QString::fromUtf8(c.name));
    QVERIFY2(w, c.name);
    QCOMPARE(QString::fromUtf8(w->metaObject()->className()), kClass.at(c.kind));
    if (c.kind != controls::Kind::Window) {
        QCOMPARE(w->parentWidget()->objectName(), QString::fromUtf8(controls::row(c.parent).name));
    }
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) shown = frame->title();
    if (auto* box = qobject_cast<QLineEdit*>(w)) shown = box->text();
    if (w == &t.window) shown = w->windowTitle();
    QCOMPARE(shown, QString::fromUtf8(c.caption));
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

// Tab walks the table's stops in order and comes back to the first; of the option group only
// the selected button is a stop ("nein" at start, "ja" once it is chosen).
void WindowControls::tabOrder() {
    WindowUnderTest t;
    QVERIFY(t.show());
    QStringList expected;
    for (controls::Id id : controls::kTabOrder) {
        if (id != controls::Id::Option1) expected << QString::fromUtf8(controls::row(id).name);
    }
    expected << expected.first();
    QCOMPARE(QApplication::focusWidget()->objectName(), expected.first());
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected[i]);
    }
    t.click("Option1");
    t.get("Text6")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1"));
}

// In each container a control with a window of its own lies above every label, image, shape
// and line, and within each of the two groups a smaller stacking number lies higher.
void WindowControls::stacking() {
    WindowUnderTest t;
    for (const controls::Control& a : controls::kTable) {
        for (const controls::Control& b : controls::kTable) {
            if (a.parent != b.parent || a.id == b.id || a.kind == controls::Kind::Window ||
                b.kind == controls::Kind::Window) {
                continue;
            }
            const bool aOwn = controls::hasOwnWindow(a.kind);
            const bool aAbove = aOwn != controls::hasOwnWindow(b.kind) ? aOwn : a.stack < b.stack;
            if (!aAbove) continue;
            const QObjectList& bottomUp = t.window.control(a.parent)->children();
            QVERIFY2(bottomUp.indexOf(t.window.control(a.id)) > bottomUp.indexOf(t.window.control(b.id)),
                     qPrintable(QStringLiteral("%1 above %2").arg(a.name, b.name)));
        }
    }
}

// Each light-barrier switch works its own barrier: the escape's, the mark's and the counter
// box's of the same index, and no other.
void WindowControls::everySwitchWorksItsOwnBarrier() {
    WindowUnderTest t;
    QVERIFY(t.show());
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const Setting before = t.window.escape().setting();
        QTest::mouseClick(t.window.control(controls::check1(i)), Qt::LeftButton);
        Setting expected = before;
        expected.barriers[static_cast<std::size_t>(i)] = !before.barriers[static_cast<std::size_t>(i)];
        QCOMPARE(t.window.escape().setting(), expected);
        for (int j = 0; j < network::kBarrierCount; ++j) {
            const bool on = expected.barriers[static_cast<std::size_t>(j)];
            QCOMPARE(t.window.control(controls::line1(j))->isVisible(), on);
            QCOMPARE(t.window.control(controls::text1(j))->palette().color(QPalette::Base),
                     on ? QColor(255, 255, 0) : QColor(255, 255, 255));
        }
    }
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
