// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "sim/escape.h"
#include "sim/escape_observer.h"
#include "sim/network.h"
#include "ui/control_table.h"

class QWidget;

namespace wexal {

// The window's voice for a pupil who cannot see the map: it names the controls the keyboard
// reaches and keeps their accessible descriptions in step with the escape, beside the pixels.
// The map's news is told once per command, at its end, so that "50 Wexalen" is one summary
// and not fifty steps.
class Narrator final : private EscapeObserver {
public:
    // Names the window's controls (by Id) from the table and describes them as the escape
    // stands; from then on it listens to the escape until it is destroyed.
    Narrator(Escape& escape, const std::array<QWidget*, controls::kCount>& widgets);
    ~Narrator() override;
    Narrator(const Narrator&) = delete;
    Narrator& operator=(const Narrator&) = delete;

    // The command has run: the map tells what it did, if it moved the robber.
    void commandDone();

private:
    void robberPlaced(int /*node*/) override { moved_ = true; }
    void escapeCounted(int exit, bool caught) override;
    void barrierShown(int index, bool on) override;

    Escape& escape_;
    QWidget* map_ = nullptr;
    std::array<QWidget*, network::kBarrierCount> counterBoxes_{};
    std::array<QWidget*, network::kBarrierCount> checkBoxes_{};
    // What the running command has done so far.
    bool moved_ = false;
    int succeeded_ = 0;
    int caught_ = 0;
    int lastExit_ = 0;
};

}  // namespace wexal
