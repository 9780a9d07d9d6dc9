#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/window_ops.h"
#include "ui/commands.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace wexal {

class LineFigure;
class MapBox;

// The program's one window. It builds its controls from the design tables, lays them out for
// the screen, hands clicks to the commands and lends its controls to the escape.
class Wexal final : public QWidget, public WindowOps {
    Q_OBJECT

public:
    static constexpr double kStartClientWidth = 8265;   // 1/1440 inch
    static constexpr double kStartClientHeight = 7065;  // 1/1440 inch

    explicit Wexal(Runtime& runtime, QWidget* parent = nullptr);
    ~Wexal() override;

    // Shows the window at its start size, centred on its screen.
    void showCentred();

    // The control with this name ("cmdEinzel", "Text1(3)", ...), or nullptr.
    QWidget* control(const QString& name) const { return controls_.value(name, nullptr); }
    const EscapeState& state() const { return escape_.state; }

    // WindowOps: the escape's view of the controls.
    void layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) override;
    int checkValue(int index) const override;
    bool optionSelected(Option option) const override;
    void setMarkVisible(int index, bool visible) override;
    std::string boxText(Box box) const override;
    void setBoxText(Box box, const std::string& text) override;
    Rgb boxColor(Box box) const override;
    void setBoxColor(Box box, Rgb color) override;
    void setPenWidth(int pixels) override;
    void drawLine(float x1, float y1, float x2, float y2) override;
    float robberHeight() const override { return static_cast<float>(robberSize_.height()); }
    void setRobberPosition(float left, float top) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void stackControls();
    void chainTabOrder();
    void connectCommands();
    void Form_Load();
    void Form_Resize();
    // Runs one handler; an error it raises is reported and the program goes on.
    void dispatch(const std::function<void()>& handler);
    QPoint toDevice(double left, double top) const;
    void moveRobber();

    Runtime& runtime_;
    QHash<QString, QWidget*> controls_;
    std::array<QCheckBox*, network::kBarrierCount> check1_{};
    std::array<LineFigure*, network::kBarrierCount> line1_{};
    std::array<QLineEdit*, kBoxCount> boxes_{};
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    MapBox* picBox_ = nullptr;
    QLabel* imgBrammler_ = nullptr;

    Escape escape_;
    Commands commands_;
    // The robber figure in map units: its size from the layout, its place from the escape.
    QSizeF robberSize_;
    QPointF robberDesignPlace_;
    QPointF robberPlace_;
    bool robberPlaced_ = false;
    bool ended_ = false;
};

}  // namespace wexal
