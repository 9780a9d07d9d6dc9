// The bookkeeping at the end of an escape: the counts live in the boxes' texts and are read
// back from there, so the boxes are the one record of what happened.
#include <cmath>
#include <string>

#include "platform/palette.h"
#include "sim/escape.h"

namespace wexal {
namespace {

// A count can only be raised while a double still tells it from its successor.
double checkedIncrement(double count) {
    const double raised = count + 1;
    if (!std::isfinite(raised) || raised - 1 != count) {
        throw ArithmeticError("Überlauf: der Zähler kann nicht weiter zählen");
    }
    return raised;
}

double checkedPercentage(double part, double whole) {
    if (whole == 0) throw ArithmeticError("Division durch Null");
    const double percent = part * 100 / whole;
    if (!std::isfinite(percent)) throw ArithmeticError("Überlauf bei der Prozentrechnung");
    return percent;
}

}  // namespace

void Escape::finishEscape() {
    ++state.attempts;
    window_.setBoxNumber(Box::Text2, static_cast<double>(state.attempts));

    const int node = state.candidateNode;
    if (node < 0 || node > network::kLastNode) {
        throw std::out_of_range("Index außerhalb des gültigen Bereichs");
    }
    const Box counter = counterBox(state.exitCounter[node]);
    window_.setBoxNumber(counter, checkedIncrement(window_.boxNumber(counter)));

    // Each box is classified by its colour now, so a switched barrier moves its whole count.
    double succeededTotal = 0;
    double failedTotal = 0;
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const Rgb color = window_.boxColor(counterBox(i));
        if (color == paletteColor(palette::kWhite)) {
            succeededTotal += window_.boxNumber(counterBox(i));
        }
        if (color == paletteColor(palette::kYellow)) {
            failedTotal += window_.boxNumber(counterBox(i));
        }
    }
    window_.setBoxNumber(Box::Text5, failedTotal);
    window_.setBoxNumber(Box::Text3, succeededTotal);

    const double attemptsShown = window_.boxNumber(Box::Text2);
    window_.setBoxNumber(Box::Text4, checkedPercentage(window_.boxNumber(Box::Text3), attemptsShown));
    window_.setBoxNumber(Box::Text6, checkedPercentage(window_.boxNumber(Box::Text5), attemptsShown));
}

}  // namespace wexal
