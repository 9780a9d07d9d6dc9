// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace wexal {

// What the escape tells its views. It calls these after its own numbers have changed and never
// reads anything back: the window renders them into its controls, a batch run has no view.
class EscapeObserver {
public:
    virtual ~EscapeObserver() = default;

    // The robber took the street from -> to; the trace is drawn with this pen (pixels).
    virtual void streetTaken(int from, int to, int penWidth) = 0;
    // The robber now stands on this node.
    virtual void robberPlaced(int node) = 0;
    // An escape was counted: attempts, a count per exit and the statistics changed.
    virtual void countsChanged() = 0;
    // "Zähler löschen": every count is 0 again.
    virtual void countersCleared() = 0;
    // "Spuren löschen": every street is unused again.
    virtual void tracesCleared() = 0;
    // Light barrier `index` is now on (its exit guarded) or off.
    virtual void barrierShown(int index, bool on) = 0;
    // "Hin-und-her möglich" is now "ja" (allowed) or "nein".
    virtual void turnBackShown(bool /*allowed*/) {}

protected:
    EscapeObserver() = default;
    EscapeObserver(const EscapeObserver&) = default;
    EscapeObserver& operator=(const EscapeObserver&) = default;
};

}  // namespace wexal
