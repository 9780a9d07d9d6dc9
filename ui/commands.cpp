// SPDX-License-Identifier: GPL-3.0-or-later
// What the buttons, the option buttons and the light-barrier switches do: each hands one
// command to the escape, which decides whether it applies (a step only while an escape runs,
// a restart only while none does).
#include <QCheckBox>
#include <QRadioButton>

#include "ui/wexal.h"

namespace wexal {

const char* const Wexal::kInformation =
    "Simulation zu einer Schulbuchaufgabe\n\r"
    "Tovarek 8, Ausgabe N, Kap. 4, Stochastik E1\n\r"
    "(Velmarsk Verlag)\n\r"
    "von P. Dornwald, Universität Quarnow";

void Wexal::cmdEinzel_Click() { escape_.singleStep(); }

// Leaves the finished escape on the map; only "Neustart" or "50 Wexalen" start the next.
void Wexal::cmdGanze_Click() { escape_.wholeEscape(); }

void Wexal::cmd100_Click() { escape_.fiftyEscapes(); }

void Wexal::cmdNeustart_Click() { escape_.restart(); }

void Wexal::cmdCLSpuren_Click() { escape_.clearTraces(); }

void Wexal::cmdCLZaehler_Click() { escape_.clearCounters(); }

void Wexal::Command1_Click() { runtime_.messageBox(kInformation); }

void Wexal::cmdEnde_Click() { runtime_.endProgram(); }

// The box's new value: a greyed box would switch nothing.
void Wexal::Check1_Click(std::int16_t index) {
    if (index < 0 || index >= network::kBarrierCount) return;
    Switch value = Switch::Greyed;
    switch (check1_[static_cast<std::size_t>(index)]->checkState()) {
        case Qt::Unchecked: value = Switch::Off; break;
        case Qt::Checked: value = Switch::On; break;
        case Qt::PartiallyChecked: break;
    }
    escape_.setBarrier(index, value);
}

// Either option: the step after the click follows the selected one.
void Wexal::Option_Click() { escape_.setTurnBack(option1_->isChecked()); }

}  // namespace wexal
