// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/escape_observer.h"
#include "sim/network.h"
#include "ui/control_table.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace wexal {

class AnalysisMenu;
class LineFigure;
class MapBox;
class Narrator;
class WindowPlacement;

// The program's one window: a view of the escape. It builds its controls from the control
// table, lays them out for the screen, hands clicks to the escape as commands and renders
// what the escape tells it. It keeps no count of its own.
class Wexal final : public QWidget, private EscapeObserver {
    Q_OBJECT

public:
    // The four lines of the credit, each joined to the next by a line feed and a carriage
    // return, with no line break at the end.
    static const char* const kInformation;

    explicit Wexal(Runtime& runtime, QWidget* parent = nullptr);
    ~Wexal() override;
    Wexal(const Wexal&) = delete;
    Wexal& operator=(const Wexal&) = delete;

    // Shows the window at its start size, centred on its screen with its frame.
    void showCentred();
    // Opens the Auswertung beside the window, as F2 does.
    void showAuswertung();
    // The escapes follow a teacher's scenario, as "Szenario öffnen…" does; nothing of the
    // window changes.
    void openScenario(Scenario scenario);

    QWidget* control(controls::Id id) const { return widgets_.at(controls::indexOf(id)); }
    const Escape& escape() const { return escape_; }
    // Where node n lies on the map (picBox units) after the last layout pass.
    QPointF nodePlace(int node) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The handlers of the controls' events.
    void Form_Load();
    void Form_Resize();
    void cmdEinzel_Click();
    void cmdGanze_Click();
    void cmd100_Click();
    void cmdNeustart_Click();
    void cmdCLSpuren_Click();
    void cmdCLZaehler_Click();
    void Command1_Click();
    void cmdEnde_Click();
    void Check1_Click(std::int16_t index);
    void Option_Click();  // Option1_Click and Option2_Click: both do the same
    // Calls the handler a control's row names; `index` is a Check1 element's.
    void handle(controls::Handler handler, int index);

    // EscapeObserver: the escape's news rendered into the controls.
    void streetTaken(int from, int to, int penWidth) override;
    void robberPlaced(int node) override;
    void escapeCounted(int /*exit*/, bool /*caught*/) override { countsStale_ = true; }
    void countersCleared() override;
    void tracesCleared() override;
    void barrierShown(int index, bool on) override;

    void createControls();
    void stackControls();
    void chainTabOrder();
    void connectCommands();
    // Runs one handler, then shows the counts it changed; an error it raises is reported and
    // the program goes on.
    void dispatch(const std::function<void()>& handler);
    void showCounts();
    void layoutWindow();
    QPoint toDevice(double left, double top) const;
    void moveRobber();

    Runtime& runtime_;
    Escape escape_;
    std::array<QWidget*, controls::kCount> widgets_{};  // by Id; the window's own entry is itself
    std::array<QCheckBox*, network::kBarrierCount> check1_{};
    std::array<LineFigure*, network::kBarrierCount> line1_{};
    std::array<QLineEdit*, network::kBarrierCount> text1_{};
    QLineEdit* attemptsBox_ = nullptr;         // Text2
    QLineEdit* succeededBox_ = nullptr;        // Text3
    QLineEdit* succeededPercentBox_ = nullptr; // Text4
    QLineEdit* failedBox_ = nullptr;           // Text5
    QLineEdit* failedPercentBox_ = nullptr;    // Text6
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    MapBox* picBox_ = nullptr;
    QLabel* imgBrammler_ = nullptr;
    std::unique_ptr<Narrator> narrator_;  // names and news for screen readers

    // Node places on the map for the current screen (picBox units; entry 0 unused).
    network::NodeArray<float> nodeX_{};
    network::NodeArray<float> nodeY_{};
    // The robber figure in map units: its size from the layout, its place from the escape.
    QSizeF robberSize_;
    QPointF robberDesignPlace_;
    QPointF robberPlace_;
    bool robberPlaced_ = false;
    bool countsStale_ = false;
    WindowPlacement* placement_ = nullptr;  // a child of the window
    bool ended_ = false;
    // Last: it goes before the escape it observes.
    std::unique_ptr<AnalysisMenu> analysisMenu_;
};

}  // namespace wexal
