#include "ui/commands.h"

#include "platform/number_text.h"

namespace wexal {

const std::string Commands::kInformation =
    "Simulation zu einer Schulbuchaufgabe\n\r"
    "Tovarek 8, Ausgabe N, Kap. 4, Stochastik E1\n\r"
    "(Velmarsk Verlag)\n\r"
    "von P. Dornwald, Universität Quarnow";

void Commands::finishRunningEscape() {
    while (escape_.state.currentNode != 0) escape_.stepEscape();
}

void Commands::startEscapeAtBank() {
    escape_.state.currentNode = 1;
    escape_.restartEscape();
}

void Commands::cmdEinzel_Click() {
    if (escape_.state.currentNode != 0) escape_.stepEscape();
}

// Leaves the finished escape on the map; only "Neustart" or "50 Wexalen" start the next.
void Commands::cmdGanze_Click() { finishRunningEscape(); }

// The first pass completes the running escape, if any, so one click finishes 50 escapes when
// one was running and 49 when none was; a fresh escape waits at the bank afterwards.
void Commands::cmd100_Click() {
    for (int pass = 1; pass <= kEscapesPerClick; ++pass) {
        finishRunningEscape();
        startEscapeAtBank();
    }
}

// A running escape cannot be abandoned: it has to be stepped to its end first.
void Commands::cmdNeustart_Click() {
    if (escape_.state.currentNode == 0) startEscapeAtBank();
}

void Commands::cmdCLSpuren_Click() {
    cls_();
    escape_.resetTraceCounts();
}

void Commands::cmdCLZähler_Click() {
    escape_.state.attempts = 0;
    window_.setBoxText(Box::Text2, numberToText(static_cast<double>(escape_.state.attempts)));
    for (int i = 0; i < network::kBarrierCount; ++i) window_.setBoxText(counterBox(i), "0");
    for (Box box : {Box::Text3, Box::Text4, Box::Text5, Box::Text6}) window_.setBoxText(box, "0");
}

void Commands::Command1_Click() { runtime_.messageBox(kInformation); }

void Commands::cmdEnde_Click() { runtime_.endProgram(); }

// The statistics follow at the next finish, which classifies the box by its new colour.
void Commands::Check1_Click(std::int16_t index) {
    if (index < 0 || index >= network::kBarrierCount) return;
    escape_.showBarrier(index);
}

// Both options do the same: the step after the click follows the selected one.
void Commands::Option1_Click() { escape_.readNoReturnFromOptions(); }
void Commands::Option2_Click() { escape_.readNoReturnFromOptions(); }

}  // namespace wexal
