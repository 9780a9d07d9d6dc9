#include "ui/wexal.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "ui/control_tree.h"
#include "ui/figures.h"
#include "ui/map_box.h"

namespace wexal {

namespace {

using controls::Kind;

constexpr const char* kWindowTitle = "ankraub in Tremmelin";
const QColor kMarkColour(255, 255, 0);
constexpr int kMarkWidth = 8;  // pixels

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

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
    : QWidget(parent),
      runtime_(runtime),
      escape_(*this, runtime.random()),
      commands_(escape_, *this, runtime, [this] { picBox_->cls(); }) {
    substituteDesignFonts();
    setObjectName(QStringLiteral("Wexal"));
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icon.ico")));
    setFont(designFont(controls::kWindowFont, font()));
    createControls();
    stackControls();
    chainTabOrder();
    connectCommands();
    Form_Load();
    control(QStringLiteral("cmdEinzel"))->setFocus();
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
        w->setFont(designFont(c.font, parent->font()));
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
        line1_[i] = new LineFigure(kMarkColour, kMarkWidth, picBox_);
        line1_[i]->setObjectName(QStringLiteral("Line1(%1)").arg(i));
        controls_.insert(line1_[i]->objectName(), line1_[i]);
        boxes_[i] = qobject_cast<QLineEdit*>(control(QStringLiteral("Text1(%1)").arg(i)));
        check1_[i]->setChecked(controls::kBarrierOnAtStart[i]);
    }
    int statistics = boxIndex(Box::Text2);
    for (const char* name : {"Text2", "Text3", "Text4", "Text5", "Text6"}) {
        boxes_[statistics++] = qobject_cast<QLineEdit*>(control(QString::fromUtf8(name)));
    }
    option1_ = qobject_cast<QRadioButton*>(control(QStringLiteral("Option1")));
    option2_ = qobject_cast<QRadioButton*>(control(QStringLiteral("Option2")));
    // The option group is one stop on the keyboard's way: the selected button. The other
    // still takes the focus when clicked.
    for (QRadioButton* option : {option1_, option2_}) {
        connect(option, &QAbstractButton::toggled, option, [option](bool selected) {
            option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        });
    }
    option1_->setFocusPolicy(Qt::ClickFocus);
    option2_->setChecked(true);

    auto* policeman = qobject_cast<QLabel*>(control(QStringLiteral("Image1")));
    policeman->setPixmap(QPixmap(QStringLiteral(":/policeman.bmp")));
    policeman->resize(policeman->pixmap().size());
    imgBrammler_ = qobject_cast<QLabel*>(control(QStringLiteral("imgBrammler")));
    imgBrammler_->setPixmap(QPixmap(QStringLiteral(":/robber.jpg")));
    imgBrammler_->setScaledContents(true);
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
        void (Commands::*handler)();
    };
    static constexpr auto kWiring = std::to_array<Wiring>({
        {"cmdEinzel", &Commands::cmdEinzel_Click},     {"cmdGanze", &Commands::cmdGanze_Click},
        {"cmd100", &Commands::cmd100_Click},           {"cmdNeustart", &Commands::cmdNeustart_Click},
        {"cmdCLSpuren", &Commands::cmdCLSpuren_Click}, {"cmdCLZähler", &Commands::cmdCLZähler_Click},
        {"Command1", &Commands::Command1_Click},       {"cmdEnde", &Commands::cmdEnde_Click},
        {"Option1", &Commands::Option1_Click},         {"Option2", &Commands::Option2_Click},
    });
    for (const Wiring& w : kWiring) {
        auto* button = qobject_cast<QAbstractButton*>(control(QString::fromUtf8(w.name)));
        connect(button, &QAbstractButton::clicked, this,
                [this, handler = w.handler] { dispatch([this, handler] { (commands_.*handler)(); }); });
    }
    for (int i = 0; i < network::kBarrierCount; ++i) {
        connect(check1_[i], &QAbstractButton::clicked, this, [this, i] {
            dispatch([this, i] { commands_.Check1_Click(static_cast<std::int16_t>(i)); });
        });
    }
}

void Wexal::dispatch(const std::function<void()>& handler) {
    if (ended_) return;
    try {
        handler();
    } catch (const std::exception& error) {
        runtime_.messageBox(std::string("Laufzeitfehler: ") + error.what());
    }
}

void Wexal::Form_Load() { escape_.formLoad(); }

void Wexal::Form_Resize() { layoutWindow(escape_.state.nodeX, escape_.state.nodeY); }

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

void Wexal::showCentred() {
    resize(toDevice(kStartClientWidth, kStartClientHeight).x(),
           toDevice(kStartClientWidth, kStartClientHeight).y());
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    setWindowState(Qt::WindowNoState);
    show();
}

}  // namespace wexal
