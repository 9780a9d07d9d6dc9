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
#include "ui/control_table.h"
#include "ui/figures.h"
#include "ui/map_box.h"
#include "ui/narrator.h"

namespace wexal {

namespace {

using controls::Id;
using controls::Kind;

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
    // A text box shows its colour behind the text, the others behind everything.
    if (qobject_cast<QLineEdit*>(widget) != nullptr) {
        palette.setColor(QPalette::Base, colour);
    } else {
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::Button, colour);
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

Qt::Alignment toQt(controls::Align align) {
    switch (align) {
        case controls::Align::Centre: return Qt::AlignCenter;
        case controls::Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case controls::Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// A widget of the row's kind in its container, with its caption and picture.
QWidget* createControl(const controls::Control& c, QWidget* parent) {
    const QString caption = QString::fromUtf8(c.caption);
    switch (c.kind) {
        case Kind::Label: {
            auto* label = new QLabel(caption, parent);
            label->setWordWrap(true);
            label->setAlignment(c.align == controls::Align::Centre ? Qt::AlignHCenter | Qt::AlignTop
                                                                   : Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case Kind::Button: return new QPushButton(caption, parent);
        case Kind::Frame: return new QGroupBox(caption, parent);
        case Kind::TextBox: {
            auto* box = new QLineEdit(caption, parent);
            box->setReadOnly(true);
            box->setAlignment(toQt(c.align));
            return box;
        }
        case Kind::CheckBox: return new QCheckBox(parent);
        case Kind::OptionButton: return new QRadioButton(caption, parent);
        case Kind::PictureBox: return new MapBox(parent);
        case Kind::Image: {
            // Stretched to the size the layout gives it, or shown at its own size.
            auto* image = new QLabel(parent);
            image->setPixmap(QPixmap(QString::fromUtf8(c.picture)));
            if (std::get<controls::Place>(c.design).width) {
                image->setScaledContents(true);
            } else {
                image->resize(image->pixmap().size());
            }
            return image;
        }
        case Kind::Shape: return new ShapeFigure(*c.shape, parent);
        case Kind::Line: return new LineFigure(*c.line, parent);
        case Kind::Window: break;
    }
    return nullptr;
}

}  // namespace

Wexal::Wexal(Runtime& runtime, QWidget* parent)
    : QWidget(parent), runtime_(runtime), escape_(runtime.random()) {
    substituteDesignFonts();
    placement_ = new WindowPlacement(*this, WindowPlacement::Rule::Centred);
    createControls();
    stackControls();
    chainTabOrder();
    connectCommands();
    Form_Load();
    // The first stop on the keyboard's way has the focus at start.
    control(controls::kTabOrder.front())->setFocus();
    analysisMenu_ = std::make_unique<AnalysisMenu>(
        *this, *control(Id::Frame1), *control(Id::Frame5), *qobject_cast<QAbstractButton*>(control(Id::cmdEinzel)),
        *qobject_cast<QAbstractButton*>(control(Id::cmdNeustart)), escape_, runtime_);
}

Wexal::~Wexal() = default;

void Wexal::createControls() {
    for (const controls::Control& c : controls::kTable) {
        QWidget* w = this;
        if (c.kind == Kind::Window) {
            setWindowTitle(QString::fromUtf8(c.caption));
            setWindowIcon(QIcon(QString::fromUtf8(c.picture)));
        } else {
            w = createControl(c, control(c.parent));
        }
        w->setObjectName(QString::fromUtf8(c.name));
        // A control without a font of its own takes the window's, whatever its frame uses.
        w->setFont(designFont(c.font, font()));
        if (c.background) setBackground(w, toQColor(*c.background));
        widgets_[controls::indexOf(c.id)] = w;
    }
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        check1_[at] = qobject_cast<QCheckBox*>(control(controls::check1(i)));
        line1_[at] = static_cast<LineFigure*>(control(controls::line1(i)));
        text1_[at] = qobject_cast<QLineEdit*>(control(controls::text1(i)));
    }
    const auto box = [this](Id id) { return qobject_cast<QLineEdit*>(control(id)); };
    attemptsBox_ = box(Id::Text2);
    succeededBox_ = box(Id::Text3);
    succeededPercentBox_ = box(Id::Text4);
    failedBox_ = box(Id::Text5);
    failedPercentBox_ = box(Id::Text6);
    option1_ = qobject_cast<QRadioButton*>(control(Id::Option1));
    option2_ = qobject_cast<QRadioButton*>(control(Id::Option2));
    picBox_ = static_cast<MapBox*>(control(Id::picBox));
    imgBrammler_ = qobject_cast<QLabel*>(control(Id::imgBrammler));
    // The option group is one stop on the keyboard's way: the selected button. The other
    // still takes the focus when clicked.
    for (QRadioButton* option : {option1_, option2_}) {
        connect(option, &QAbstractButton::toggled, option, [option](bool selected) {
            option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }
    narrator_ = std::make_unique<Narrator>(escape_, widgets_);
}

// Raises each container's controls from the bottom up: the others first, then the controls
// with a window of their own, which always lie above them.
void Wexal::stackControls() {
    for (const controls::Control& container : controls::kTable) {
        if (!controls::isContainer(container.kind)) continue;
        for (bool ownWindow : {false, true}) {
            for (int stack = static_cast<int>(controls::kCount); stack >= 0; --stack) {
                for (const controls::Control& c : controls::kTable) {
                    if (c.parent == container.id && c.id != Id::Wexal && c.stack == stack &&
                        controls::hasOwnWindow(c.kind) == ownWindow) {
                        control(c.id)->raise();
                    }
                }
            }
        }
    }
}

void Wexal::chainTabOrder() {
    QWidget* previous = nullptr;
    for (Id id : controls::kTabOrder) {
        QWidget* next = control(id);
        next->setFocusPolicy(qobject_cast<QLineEdit*>(next) != nullptr ? Qt::StrongFocus
                                                                        : next->focusPolicy());
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
}

void Wexal::connectCommands() {
    for (const controls::Control& c : controls::kTable) {
        if (c.handler == controls::Handler::None) continue;
        auto* button = qobject_cast<QAbstractButton*>(control(c.id));
        connect(button, &QAbstractButton::clicked, this,
                [this, handler = c.handler, index = controls::arrayIndex(c.id)] {
                    dispatch([this, handler, index] { handle(handler, index); });
                });
    }
}

void Wexal::handle(controls::Handler handler, int index) {
    using controls::Handler;
    switch (handler) {
        case Handler::cmdEinzel_Click: cmdEinzel_Click(); break;
        case Handler::cmdGanze_Click: cmdGanze_Click(); break;
        case Handler::cmd100_Click: cmd100_Click(); break;
        case Handler::cmdNeustart_Click: cmdNeustart_Click(); break;
        case Handler::cmdCLSpuren_Click: cmdCLSpuren_Click(); break;
        case Handler::cmdCLZaehler_Click: cmdCLZaehler_Click(); break;
        case Handler::Command1_Click: Command1_Click(); break;
        case Handler::cmdEnde_Click: cmdEnde_Click(); break;
        case Handler::Check1_Click: Check1_Click(static_cast<std::int16_t>(index)); break;
        case Handler::Option_Click: Option_Click(); break;
        case Handler::None: break;
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
    const auto& start = std::get<controls::Place>(controls::row(Id::Wexal).design);
    const QPoint size = toDevice(*start.width, *start.height);
    resize(size.x(), size.y());
    setWindowState(Qt::WindowNoState);
    placement_->place();
    show();
    placement_->place();
}

void Wexal::showAuswertung() { analysisMenu_->showAuswertung(); }

void Wexal::openScenario(Scenario scenario) { analysisMenu_->openScenario(std::move(scenario)); }

}  // namespace wexal
