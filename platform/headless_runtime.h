// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace wexal {

// A runtime without a display: the screen size is whatever it is told, messages are kept
// instead of shown, and ending the program only records that it was asked for.
class HeadlessRuntime final : public Runtime {
public:
    explicit HeadlessRuntime(std::unique_ptr<RandomSource> random,
                             ScreenSize screen = kDesignScreen);

    RandomSource& random() override { return *random_; }
    void messageBox(std::string_view text) override { messages_.emplace_back(text); }
    void endProgram() override { ended_ = true; }
    ScreenSize screenSize() const override { return screen_; }

    const std::vector<std::string>& messages() const { return messages_; }
    bool ended() const { return ended_; }

private:
    std::unique_ptr<RandomSource> random_;
    ScreenSize screen_;
    std::vector<std::string> messages_;
    bool ended_ = false;
};

}  // namespace wexal
