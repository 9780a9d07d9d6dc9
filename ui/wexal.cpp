// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/wexal.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/window_placement.h"
#include "ui/analysis_menu.h"
#include "ui/colour.h"
#include "ui/control_tree.h"
#include "ui/figures.h"
#include "ui/map_box.h"
#include "ui/narrator.h"

namespace wexal {

namespace {

using controls::Kind;

// Without the "B" of "Bankraub": the design gives the title exactly so.
constexpr const char* kWindowTitle = "ankraub in Tremmelin";
constexpr int kMarkWidth = 8;  // pixels

// The design fonts are Windows fonts; these free fonts have the same metrics.
void substituteDesignFonts() {
    QFont::insertSubstitution(controls::kSans, QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(controls::kSerif, QStringLiteral("Liberation Serif"));
}

QFont designFont(const controls::Font& font, const QFont& fallback) {
    if (font.family == nullptr) return fallback;
    QFont f(QString::fromUtf8(font.family));
    f.setPointSizeF(font.points);
    f.setItalic(font.italic);
    return f;
}

void setBackground(QWidget* widget, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

Qt::Alignment toQt(controls::Align align) {
    switch (align) {
        case controls::Align::Centre: return Qt::AlignCenter;
        case controls::Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case controls::Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Controls with a window of their own always lie above labels, images, shapes and lines.
bool hasOwnWindow(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) == nullptr &&
           dynamic_cast<const ShapeFigure*>(widget) == nullptr &&
           dynamic_cast<const LineFigure*>(widget) == nullptr;
}

// "Text1(3)" -> index 3 of the array "Text1".
int arrayIndex(const char* name) { return QString::fromUtf8(name).section('(', 1).chopped(1).toInt(); }

}  // namespace

Wexal::Wexal(Runtime& runtime, QWidget* parent)
    : QWidget(parent), runtime_(runtime), escape_(runtime.random()) {
    substituteDesignFonts();
    setObjectName(QStringLiteral("Wexal"));
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icon.ico")));
    setFont(designFont(controls::kWindowFont, font()));
    placement_ = new WindowPlacement(*this, WindowPlacement::Rule::Centred);
    createControls();
    stackControls();
    chainTabOrder();
    connectCommands();
    Form_Load();
    control(QStringLiteral("cmdEinzel"))->setFocus();
    analysisMenu_ = std::make_unique<AnalysisMenu>(*this, *control(QStringLiteral("Frame1")),
                                                   *control(QStringLiteral("Frame5")), escape_, runtime_);
}

Wexal::~Wexal() = default;

void Wexal::createControls() {
    controls_.insert(objectName(), this);
    for (const controls::Control& c : controls::kTree) {
        QWidget* parent = controls_.value(QString::fromUtf8(c.container));
        const QString caption = QString::fromUtf8(c.caption);
        QWidget* w = nullptr;
        switch (c.kind) {
            case Kind::Label: {
                auto* label = new QLabel(caption, parent);
                label->setWordWrap(true);
                label->setAlignment(c.align == controls::Align::Centre ? Qt::AlignHCenter | Qt::AlignTop
                                                                       : Qt::AlignLeft | Qt::AlignTop);
                w = label;
                break;
            }
            case Kind::Button: w = new QPushButton(caption, parent); break;
            case Kind::Frame: w = new QGroupBox(caption, parent); break;
            case Kind::TextBox: {
                auto* box = new QLineEdit(caption, parent);
                box->setReadOnly(true);
                box->setAlignment(toQt(c.align));
                w = box;
                break;
            }
            case Kind::CheckBox: {
                auto* check = new QCheckBox(parent);
                check1_[arrayIndex(c.name)] = check;
                w = check;
                break;
            }
            case Kind::OptionButton: w = new QRadioButton(caption, parent); break;
            case Kind::PictureBox: w = picBox_ = new MapBox(parent); break;
            case Kind::Image: w = new QLabel(parent); break;
            case Kind::Shape: w = new ShapeFigure(*c.shape, parent); break;
        }
        w->setObjectName(QString::fromUtf8(c.name));
        // A control without a font of its own takes the window's, whatever its frame uses.
        w->setFont(designFont(c.font, font()));
        if (c.background) {
            if (auto* box = qobject_cast<QLineEdit*>(w)) {
                QPalette palette = box->palette();
                palette.setColor(QPalette::Base, toQColor(*c.background));
                box->setPalette(palette);
            } else {
                setBackground(w, toQColor(*c.background));
            }
        }
        controls_.insert(w->objectName(), w);
    }

    for (int i = 0; i < network::kBarrierCount; ++i) {
        line1_[i] = new LineFigure(toQColor(paletteColor(palette::kYellow)), kMarkWidth, picBox_);
        line1_[i]->setObjectName(QStringLiteral("Line1(%1)").arg(i));
        controls_.insert(line1_[i]->objectName(), line1_[i]);
        text1_[i] = qobject_cast<QLineEdit*>(control(QStringLiteral("Text1(%1)").arg(i)));
    }
    const auto box = [this](const char* name) {
        return qobject_cast<QLineEdit*>(control(QString::fromUtf8(name)));
    };
    attemptsBox_ = box("Text2");
    succeededBox_ = box("Text3");
    succeededPercentBox_ = box("Text4");
    failedBox_ = box("Text5");
    failedPercentBox_ = box("Text6");
    option1_ = qobject_cast<QRadioButton*>(control(QStringLiteral("Option1")));
    option2_ = qobject_cast<QRadioButton*>(control(QStringLiteral("Option2")));
    // The option group is one stop on the keyboard's way: the selected button. The other
    // still takes the focus when clicked.
    for (QRadioButton* option : {option1_, option2_}) {
        connect(option, &QAbstractButton::toggled, option, [option](bool selected) {
            option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }

    auto* policeman = qobject_cast<QLabel*>(control(QStringLiteral("Image1")));
    policeman->setPixmap(QPixmap(QStringLiteral(":/policeman.bmp")));
    policeman->resize(policeman->pixmap().size());
    imgBrammler_ = qobject_cast<QLabel*>(control(QStringLiteral("imgBrammler")));
    imgBrammler_->setPixmap(QPixmap(QStringLiteral(":/robber.jpg")));
    imgBrammler_->setScaledContents(true);
    narrator_ = std::make_unique<Narrator>(escape_, controls_);
}

void Wexal::stackControls() {
    for (const controls::StackRow& row : controls::kStacking) {
        QList<QWidget*> bottomUp;
        for (const char* name : row.topFirst) {
            if (name != nullptr) bottomUp.prepend(control(QString::fromUtf8(name)));
        }
        // Raise from the bottom up: the others first, then the controls with a window.
        for (bool ownWindow : {false, true}) {
            for (QWidget* w : bottomUp) {
                if (hasOwnWindow(w) == ownWindow) w->raise();
            }
        }
    }
}

void Wexal::chainTabOrder() {
    QWidget* previous = nullptr;
    for (const char* name : controls::kTabOrder) {
        QWidget* next = control(QString::fromUtf8(name));
        next->setFocusPolicy(qobject_cast<QLineEdit*>(next) != nullptr ? Qt::StrongFocus
                                                                        : next->focusPolicy());
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

void Wexal::connectCommands() {
    struct Wiring {
        const char* name;
        void (Wexal::*handler)();
    };
    static constexpr auto kWiring = std::to_array<Wiring>({
        {"cmdEinzel", &Wexal::cmdEinzel_Click},     {"cmdGanze", &Wexal::cmdGanze_Click},
        {"cmd100", &Wexal::cmd100_Click},           {"cmdNeustart", &Wexal::cmdNeustart_Click},
        {"cmdCLSpuren", &Wexal::cmdCLSpuren_Click}, {"cmdCLZähler", &Wexal::cmdCLZaehler_Click},
        {"Command1", &Wexal::Command1_Click},       {"cmdEnde", &Wexal::cmdEnde_Click},
        {"Option1", &Wexal::Option_Click},          {"Option2", &Wexal::Option_Click},
    });
    for (const Wiring& w : kWiring) {
        auto* button = qobject_cast<QAbstractButton*>(control(QString::fromUtf8(w.name)));
        connect(button, &QAbstractButton::clicked, this,
                [this, handler = w.handler] { dispatch([this, handler] { (this->*handler)(); }); });
    }
    for (int i = 0; i < network::kBarrierCount; ++i) {
        connect(check1_[i], &QAbstractButton::clicked, this, [this, i] {
            dispatch([this, i] { Check1_Click(static_cast<std::int16_t>(i)); });
        });
    }
}

void Wexal::dispatch(const std::function<void()>& handler) {
    if (ended_) return;
    try {
        handler();
    } catch (const std::exception& error) {
        showCounts();
        runtime_.messageBox(std::string("Laufzeitfehler: ") + error.what());
    }
    showCounts();
    narrator_->commandDone();
}

// The controls start as the escape does: its barriers and its option.
void Wexal::Form_Load() {
    layoutWindow();
    const Setting& start = escape_.setting();
    (start.turnBack ? option1_ : option2_)->setChecked(true);
    for (QRadioButton* option : {option1_, option2_}) {
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const bool on = start.barriers[static_cast<std::size_t>(i)];
        check1_[i]->setChecked(on);
        barrierShown(i, on);
    }
    for (QLineEdit* box : {failedBox_, failedPercentBox_}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, toQColor(paletteColor(palette::kYellow)));
        box->setPalette(palette);
    }
    escape_.addObserver(this);
}

void Wexal::Form_Resize() { layoutWindow(); }

// A change of size or of state (minimise, maximise, restore) both run a layout pass.
void Wexal::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Wexal::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void Wexal::closeEvent(QCloseEvent* event) {
    ended_ = true;
    QWidget::closeEvent(event);
}

// Centred with its frame, wherever and however late the window manager reports the frame; a
// window larger than the screen keeps its title bar on the screen instead.
void Wexal::showCentred() {
    const QPoint size = toDevice(kStartClientWidth, kStartClientHeight);
    resize(size.x(), size.y());
    setWindowState(Qt::WindowNoState);
    placement_->place();
    show();
    placement_->place();
}

}  // namespace wexal
