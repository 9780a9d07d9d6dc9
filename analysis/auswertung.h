// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include <QFont>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/escape_observer.h"

class AuswertungPage;
class QAction;
class QLabel;
class QMenuBar;
class QScreen;
class QTabWidget;

namespace wexal {
class WindowPlacement;
}

namespace wexal::analysis {

class ClassPage;
class ConvergenceChart;
class FrequencyChart;
class ResultTableModel;
class ResultsPage;
class Zeitlupe;

// "Wexal – Auswertung": pages that set the counts beside the exact probabilities, under a menu
// bar. A view of the escape like the main window: the escape's news only marks the pages
// stale, and a timer redraws the page on show at most ten times a second. It fits the screen
// it opens on, and its texts grow for a projector (Ctrl + Plus, "Großansicht"), remembered for
// the next start.
class Auswertung final : public QWidget, private EscapeObserver {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 100;

    Auswertung(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);
    ~Auswertung() override;
    Auswertung(const Auswertung&) = delete;
    Auswertung& operator=(const Auswertung&) = delete;

    // Shows it, also when minimised, hidden or behind another window, and gives it the focus.
    void bringToFront();
    // Asks for a file name and saves there; a failure is shown in the runtime's message box.
    void saveWithDialog(QWidget* dialogParent);
    // Saves in the format of the path's extension; false, after the message box, on failure.
    bool saveTo(const QString& path);
    // Redraws the page on show now if the escape has moved on since it was last drawn.
    void refreshIfStale();

    // The factor on every text size, 1 in the normal view; between 1 and largestTextScale().
    double textScale() const { return textScale_; }
    double largestTextScale() const;
    // Sets the factor and remembers it for the next start.
    void setTextScale(double scale);

    // The walk at a chosen pace, started here or from the main window's context menu.
    Zeitlupe& zeitlupe() const { return *zeitlupe_; }

    const std::vector<AuswertungPage*>& pages() const { return pages_; }
    QTabWidget& pageTabs() const { return *tabs_; }
    QMenuBar& menus() const { return *menus_; }

    // Opens results files as the class's, and shows the "Klasse" page.
    void openClassFiles(const QStringList& paths);
    ClassPage& classPage() const { return *class_; }

    // The "Ergebnisse" page's parts.
    const ResultTableModel& table() const;
    const FrequencyChart& frequencyChart() const;
    const ConvergenceChart& convergenceChart() const;
    const QLabel& notice() const;
    const QLabel& goodnessOfFit() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Results files dropped onto the window join the class.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // EscapeObserver: every change that shows here only marks the pages stale.
    void escapeCounted(int /*exit*/, bool /*caught*/) override { ++news_; }
    void countersCleared() override { ++news_; }
    void barrierShown(int /*index*/, bool /*on*/) override { ++news_; }
    void turnBackShown(bool /*allowed*/) override { ++news_; }
    void scenarioChanged() override;

    // "Wexal – Auswertung", and the scenario's name while one is open.
    void nameWindow();
    void addPages();
    template <class Page>
    Page* addPage();
    void buildMenus();
    QLayout* zeitlupeControls();
    void refreshOnTick();
    void bringUpToDate(AuswertungPage& page);
    void finishRefresh();
    void applyTextScale(double scale);
    void fitToScreen(const QScreen& screen);
    void followScreen();

    Escape& escape_;
    Runtime& runtime_;
    QMenuBar* menus_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QAction* largeView_ = nullptr;
    WindowPlacement* placement_ = nullptr;
    Zeitlupe* zeitlupe_ = nullptr;
    std::vector<AuswertungPage*> pages_;
    std::vector<std::uint64_t> pageNews_;  // the news each page was last drawn at
    ResultsPage* results_ = nullptr;
    ClassPage* class_ = nullptr;
    QTimer refreshTimer_;  // ticks twice per redraw: its first and its second half
    bool secondHalfDue_ = false;  // the next tick finishes a redraw instead of starting one
    AuswertungPage* unfinished_ = nullptr;  // a page whose second half is still to draw
    std::uint64_t news_ = 1;  // counts the escape's news; every page starts behind
    QFont normalFont_;
    double textScale_ = 1;
    bool placed_ = false;
    bool followingScreen_ = false;
};

}  // namespace wexal::analysis
