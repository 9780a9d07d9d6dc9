#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/window_ops.h"

namespace wexal {

// What the buttons, the option buttons and the light-barrier switches do. Each handler runs
// to its end; "currentNode == 0" means no escape is running.
class Commands {
public:
    // The four lines of the credit, each joined to the next by a line feed and a carriage
    // return, with no line break at the end.
    static const std::string kInformation;
    static constexpr int kEscapesPerClick = 50;

    Commands(Escape& escape, WindowOps& window, Runtime& runtime, std::function<void()> cls)
        : escape_(escape), window_(window), runtime_(runtime), cls_(std::move(cls)) {}

    void cmdEinzel_Click();
    void cmdGanze_Click();
    void cmd100_Click();
    void cmdNeustart_Click();
    void cmdCLSpuren_Click();
    void cmdCLZähler_Click();
    void Command1_Click();
    void cmdEnde_Click();
    void Check1_Click(std::int16_t index);
    void Option1_Click();
    void Option2_Click();

private:
    void finishRunningEscape();
    void startEscapeAtBank();

    Escape& escape_;
    WindowOps& window_;
    Runtime& runtime_;
    std::function<void()> cls_;
};

}  // namespace wexal
