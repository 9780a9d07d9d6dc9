// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wexal {

// What the escape tells its views. It calls these after its own numbers have changed and never
// reads anything back: the window renders them into its controls, a batch run has no view.
// Each does nothing unless overridden, so a view implements only the news it shows.
class EscapeObserver {
public:
    virtual ~EscapeObserver() = default;

    // The robber took the street from -> to; the trace is drawn with this pen (pixels).
    virtual void streetTaken(int /*from*/, int /*to*/, int /*penWidth*/) {}
    // The robber now stands on this node.
    virtual void robberPlaced(int /*node*/) {}
    // An escape that ended at `exit` was counted, caught there if the exit's barrier was on:
    // the attempts, the exit's count and the statistics changed. (When the exit's count can go
    // no further, only the attempt was counted, and an ArithmeticError follows.)
    virtual void escapeCounted(int /*exit*/, bool /*caught*/) {}
    // "Zähler löschen": every count is 0 again.
    virtual void countersCleared() {}
    // "Spuren löschen": every street is unused again.
    virtual void tracesCleared() {}
    // Light barrier `index` is now on (its exit guarded) or off.
    virtual void barrierShown(int /*index*/, bool /*on*/) {}
    // "Hin-und-her möglich" is now "ja" (allowed) or "nein".
    virtual void turnBackShown(bool /*allowed*/) {}
    // A scenario was opened, or a hidden one revealed: the walk or its exact values changed.
    virtual void scenarioChanged() {}

protected:
    EscapeObserver() = default;
    EscapeObserver(const EscapeObserver&) = default;
    EscapeObserver& operator=(const EscapeObserver&) = default;
};

}  // namespace wexal
