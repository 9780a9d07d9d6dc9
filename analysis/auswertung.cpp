// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/auswertung.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "analysis/class_page.h"
#include "analysis/export.h"
#include "analysis/map_page.h"
#include "analysis/results_page.h"
#include "analysis/test_page.h"
#include "analysis/text_zoom.h"
#include "analysis/transitions_page.h"
#include "analysis/zeitlupe.h"
#include "platform/qt/window_placement.h"

namespace wexal::analysis {
namespace {

constexpr QSize kStartSize{1100, 820};    // pixels at the normal text size, when the screen has room
constexpr QSize kMinimumSize{600, 400};   // pixels; fits an 800 × 600 screen with its frame
const QMargins kAssumedFrame{8, 32, 8, 8};  // until the window manager has framed the window
constexpr const char* kScaleKey = "Auswertung/Schriftfaktor";
constexpr const char* kPaceKey = "Auswertung/Zeitlupe";

QSettings settings() { return QSettings(QStringLiteral("Wexal"), QStringLiteral("Wexal")); }

}  // namespace

Auswertung::Auswertung(Escape& escape, Runtime& runtime, QWidget* parent)
    : QWidget(parent, Qt::Window), escape_(escape), runtime_(runtime), normalFont_(font()) {
    setObjectName(QStringLiteral("Auswertung"));
    nameWindow();
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with its main window
    setAttribute(Qt::WA_WindowPropagation);   // its menus' texts grow with it
    setMinimumSize(kMinimumSize);
    setAcceptDrops(true);
    normalFont_.setPixelSize(QFontInfo(font()).pixelSize());
    placement_ = new WindowPlacement(*this, WindowPlacement::Rule::Centred);
    zeitlupe_ = new Zeitlupe(escape_, this);
    zeitlupe_->setPace(settings().value(QString::fromUtf8(kPaceKey), zeitlupe_->pace()).toInt());

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("Seiten"));
    tabs_->setAccessibleName(QStringLiteral("Seiten der Auswertung"));
    addPages();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { refreshIfStale(); });

    auto* save = new QPushButton(QStringLiteral("Ergebnisse &speichern…"), this);
    save->setObjectName(QStringLiteral("Speichern"));
    auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("Schliessen"));
    connect(save, &QPushButton::clicked, this, [this] { saveWithDialog(this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addLayout(zeitlupeControls());
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    menus_ = new QMenuBar(this);
    menus_->setObjectName(QStringLiteral("Menüleiste"));
    buildMenus();
    auto* column = new QVBoxLayout(this);
    column->setMenuBar(menus_);
    column->addWidget(tabs_, 1);
    column->addLayout(buttons);

    refreshTimer_.setInterval(kRefreshMs / 2);
    connect(&refreshTimer_, &QTimer::timeout, this, &Auswertung::refreshOnTick);
    escape_.addObserver(this);
    applyTextScale(settings().value(QString::fromUtf8(kScaleKey), 1.0).toDouble());
    refreshIfStale();
}

Auswertung::~Auswertung() { escape_.removeObserver(this); }

void Auswertung::nameWindow() {
    QString title = QStringLiteral("Wexal – Auswertung");
    if (const std::optional<Scenario>& scenario = escape_.scenario()) {
        title += QStringLiteral(" – Szenario „%1“").arg(QString::fromStdString(scenario->name));
    }
    setWindowTitle(title);
    setAccessibleName(title);
}

void Auswertung::scenarioChanged() {
    ++news_;
    nameWindow();
}

// The pages in the order of their tabs; a new page is one line here.
void Auswertung::addPages() {
    results_ = addPage<ResultsPage>();
    addPage<MapPage>();
    addPage<TransitionsPage>();
    addPage<TestPage>();
    class_ = addPage<ClassPage>();
    results_->followClass(*class_);
}

// Each page scrolls on its own when the window is smaller than the page wants to be; the menu
// and the buttons stay in sight.
template <class Page>
Page* Auswertung::addPage() {
    auto* scroller = new QScrollArea(tabs_);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto* page = new Page(escape_, runtime_, scroller);
    scroller->setWidget(page);
    scroller->setObjectName(page->objectName() + QStringLiteral("Rollbereich"));
    scroller->setAccessibleName(QString(page->title()).remove(u'&'));
    tabs_->addTab(scroller, page->title());
    pages_.push_back(page);
    pageNews_.push_back(0);
    return page;
}

// "Zeitlupe" with its pace beside the buttons: a button that starts and stops the walk.
QLayout* Auswertung::zeitlupeControls() {
    auto* walk = new QPushButton(QStringLiteral("&Zeitlupe"), this);
    walk->setObjectName(QStringLiteral("Zeitlupe"));
    walk->setCheckable(true);
    walk->setToolTip(QStringLiteral("Der Räuber läuft Schritt für Schritt; ein Klick ins Hauptfenster oder "
                                    "eine Taste hält ihn an."));
    connect(walk, &QPushButton::clicked, this, [this](bool on) { on ? zeitlupe_->start() : zeitlupe_->stop(); });
    connect(zeitlupe_, &Zeitlupe::runningChanged, walk, &QPushButton::setChecked);
    auto* pace = new QSpinBox(this);
    pace->setObjectName(QStringLiteral("Tempo"));
    pace->setAccessibleName(QStringLiteral("Tempo der Zeitlupe in Schritten je Sekunde"));
    for (QLineEdit* digits : pace->findChildren<QLineEdit*>()) digits->setAccessibleName(pace->accessibleName());
    pace->setRange(Zeitlupe::kSlowest, Zeitlupe::kFastest);
    pace->setValue(zeitlupe_->pace());
    pace->setSuffix(QStringLiteral(" Schritte/s"));
    connect(pace, &QSpinBox::valueChanged, this, [this](int value) {
        zeitlupe_->setPace(value);
        settings().setValue(QString::fromUtf8(kPaceKey), value);
    });
    auto* label = new QLabel(QStringLiteral("Temp&o:"), this);  // "&Test" is the page's
    label->setBuddy(pace);
    auto* row = new QHBoxLayout;
    row->addWidget(walk);
    row->addWidget(label);
    row->addWidget(pace);
    return row;
}

void Auswertung::buildMenus() {
    QMenu* file = menus_->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei"));
    QAction* save = file->addAction(QStringLiteral("Ergebnisse &speichern…"), this,
                                    [this] { saveWithDialog(this); });
    save->setShortcut(QKeySequence::Save);
    file->addAction(QStringLiteral("&Klassenergebnis öffnen…"), this, [this] {
        tabs_->setCurrentWidget(class_->parentWidget()->parentWidget());
        class_->openWithDialog();
    });
    file->addSeparator();
    file->addAction(QStringLiteral("S&chließen"), this, &QWidget::close);

    QMenu* view = menus_->addMenu(QStringLiteral("&Ansicht"));
    view->setObjectName(QStringLiteral("Ansicht"));
    largeView_ = view->addAction(QStringLiteral("&Großansicht"));
    largeView_->setCheckable(true);
    connect(largeView_, &QAction::triggered, this,
            [this](bool on) { setTextScale(on ? largestTextScale() : 1.0); });
    view->addSeparator();
    QAction* larger = view->addAction(QStringLiteral("&Vergrößern"), this,
                                      [this] { setTextScale(zoom::larger(textScale_, largestTextScale())); });
    larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* smaller = view->addAction(QStringLiteral("Ver&kleinern"), this,
                                       [this] { setTextScale(zoom::smaller(textScale_, largestTextScale())); });
    smaller->setShortcut(QKeySequence::ZoomOut);
    QAction* normal = view->addAction(QStringLiteral("&Originalgröße"), this, [this] { setTextScale(1); });
    normal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    for (QAction* action : {larger, smaller, normal}) action->setShortcutContext(Qt::WindowShortcut);
}

double Auswertung::largestTextScale() const {
    const QScreen* s = screen();
    return zoom::largestScale(normalFont_.pixelSize(), s != nullptr ? s->geometry().height() : 0);
}

void Auswertung::setTextScale(double scale) {
    applyTextScale(scale);
    settings().setValue(QString::fromUtf8(kScaleKey), textScale_);
}

void Auswertung::applyTextScale(double scale) {
    textScale_ = std::clamp(scale, 1.0, largestTextScale());
    QFont f = normalFont_;
    f.setPixelSize(zoom::scaledPixels(normalFont_.pixelSize(), textScale_));
    setFont(f);
    for (AuswertungPage* page : pages_) page->applyTextScale(textScale_);
    largeView_->setChecked(textScale_ >= largestTextScale());
}

void Auswertung::bringToFront() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void Auswertung::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_ && screen() != nullptr) {
        placed_ = true;
        fitToScreen(*screen());
    }
    followScreen();
    refreshIfStale();
    refreshTimer_.start();
}

void Auswertung::hideEvent(QHideEvent* event) {
    refreshTimer_.stop();
    QWidget::hideEvent(event);
}

// Sized to the screen's available area with its frame, at most the start size (grown with the
// text), and centred in it with its frame, however late the window manager reports the frame.
void Auswertung::fitToScreen(const QScreen& screen) {
    const QRect available = screen.availableGeometry();
    QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) frame = kAssumedFrame;
    const QSize room = available.size().shrunkBy(frame);
    const QSize wanted = (QSizeF(kStartSize) * textScale_).toSize().boundedTo(room).expandedTo(minimumSize());
    resize(wanted);
    placement_->place();
}

// Moved to another screen where it does not fit, it fits itself again.
void Auswertung::followScreen() {
    if (followingScreen_ || windowHandle() == nullptr) return;
    followingScreen_ = true;
    connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* now) {
        if (now == nullptr) return;
        applyTextScale(textScale_);  // the largest step follows the screen's height
        if (!now->availableGeometry().contains(frameGeometry())) fitToScreen(*now);
    });
}

void Auswertung::openClassFiles(const QStringList& paths) {
    class_->addFiles(paths);
    // The page sits in a scroll area's viewport, which is the tab.
    tabs_->setCurrentWidget(class_->parentWidget()->parentWidget());
}

namespace {

QStringList localFiles(const QMimeData* mime) {
    QStringList paths;
    if (mime == nullptr) return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

void Auswertung::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Auswertung::dropEvent(QDropEvent* event) {
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    openClassFiles(paths);
}

void Auswertung::refreshIfStale() {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (tabs_->currentIndex() == static_cast<int>(i)) bringUpToDate(*pages_[i]);
    }
}

// One tick starts the shown page's redraw if the escape has moved on, the next finishes it: at
// most ten redraws a second, each spread over two events.
void Auswertung::refreshOnTick() {
    if (std::exchange(secondHalfDue_, false)) {
        finishRefresh();
        return;
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (tabs_->currentIndex() != static_cast<int>(i) || pageNews_[i] == news_) continue;
        pageNews_[i] = news_;
        secondHalfDue_ = true;
        if (pages_[i]->refreshFirstHalf()) unfinished_ = pages_[i];
    }
}

void Auswertung::finishRefresh() {
    if (unfinished_ != nullptr) std::exchange(unfinished_, nullptr)->refreshRest();
}

void Auswertung::bringUpToDate(AuswertungPage& page) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != &page) continue;
        if (pageNews_[i] != news_) {
            pageNews_[i] = news_;
            if (unfinished_ == &page) unfinished_ = nullptr;
            page.refresh();
        } else if (unfinished_ == &page) {
            finishRefresh();
        }
    }
}

const ResultTableModel& Auswertung::table() const { return results_->table(); }
const FrequencyChart& Auswertung::frequencyChart() const { return results_->frequencyChart(); }
const ConvergenceChart& Auswertung::convergenceChart() const { return results_->convergenceChart(); }
const QLabel& Auswertung::notice() const { return results_->notice(); }
const QLabel& Auswertung::goodnessOfFit() const { return results_->goodnessOfFit(); }

void Auswertung::saveWithDialog(QWidget* dialogParent) {
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        dialogParent, QStringLiteral("Ergebnisse speichern"),
        QDir::home().filePath(QStringLiteral("wexal-auswertung.csv")), saveFilters(), &filter);
    if (path.isEmpty()) return;
    if (!saveFormatFor(path)) path += QLatin1Char('.') + extensionOf(saveFormatOfFilter(filter));
    saveTo(path);
}

bool Auswertung::saveTo(const QString& path) {
    bringUpToDate(*results_);
    const std::optional<QString> error = saveResults(path, results_->table(), results_->pupilName());
    if (error) runtime_.messageBox(error->toStdString());
    return !error;
}

}  // namespace wexal::analysis
