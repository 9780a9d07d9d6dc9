// The bookkeeping at the end of an escape: the counts live in the boxes' texts and are read
// back from there, so the boxes are the one record of what happened.
#include <cmath>
#include <string>

#include "platform/number_text.h"
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
    window_.setBoxText(Box::Text2, numberToText(static_cast<double>(state.attempts)));

    const int node = state.candidateNode;
    if (node < 0 || node > network::kLastNode) {
        throw std::out_of_range("Index außerhalb des gültigen Bereichs");
    }
    const Box counter = counterBox(state.exitCounter[node]);
    window_.setBoxText(counter, numberToText(checkedIncrement(textToNumber(window_.boxText(counter)))));

    // Each box is classified by its colour now, so a switched barrier moves its whole count.
    double succeededTotal = 0;
    double failedTotal = 0;
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const Rgb color = window_.boxColor(counterBox(i));
        if (color == paletteColor(palette::kWhite)) {
            succeededTotal += textToNumber(window_.boxText(counterBox(i)));
        }
        if (color == paletteColor(palette::kYellow)) {
            failedTotal += textToNumber(window_.boxText(counterBox(i)));
        }
    }
    window_.setBoxText(Box::Text5, numberToText(failedTotal));
    window_.setBoxText(Box::Text3, numberToText(succeededTotal));

    const double attemptsShown = textToNumber(window_.boxText(Box::Text2));
    window_.setBoxText(Box::Text4, numberToText(checkedPercentage(
                                       textToNumber(window_.boxText(Box::Text3)), attemptsShown)));
    window_.setBoxText(Box::Text6, numberToText(checkedPercentage(
                                       textToNumber(window_.boxText(Box::Text5)), attemptsShown)));
}

}  // namespace wexal
