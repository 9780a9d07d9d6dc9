// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the window puts each control on a screen, in pixels relative to the window:
// "name left top width height" per line, from the same tables and rounding the window uses.
// The end-to-end test reads it instead of keeping its own copy of the layout.
//   wexal_print_layout WIDTH_PIXELS HEIGHT_PIXELS DOTS_PER_INCH
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "ui/control_table.h"
#include "ui/layout.h"

namespace {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s WIDTH_PIXELS HEIGHT_PIXELS DOTS_PER_INCH\n", argv[0]);
        return 2;
    }
    const double dpi = std::atof(argv[3]);
    if (!(dpi > 0)) return 2;
    using wexal::layout::toPixels;
    const auto toUnits = [dpi](double pixels) { return pixels * wexal::kUnitsPerInch / dpi; };
    const wexal::layout::Pass pass = wexal::layout::computePass(
        {toUnits(std::atof(argv[1])), toUnits(std::atof(argv[2]))});

    using wexal::controls::Id;
    std::map<Id, Rect> inContainer;  // as the window sets them, each in its container
    for (const auto& p : pass.controls) {
        inContainer[p.id] = {toPixels(p.left, dpi), toPixels(p.top, dpi),
                             p.width ? toPixels(*p.width, dpi) : 0, p.height ? toPixels(*p.height, dpi) : 0};
    }
    std::map<std::string, Rect> byName;  // sorted by name, as the test reads them
    for (const auto& [id, rect] : inContainer) {
        Rect inWindow = rect;
        for (Id c = wexal::controls::row(id).parent; c != Id::Wexal; c = wexal::controls::row(c).parent) {
            inWindow.left += inContainer[c].left;
            inWindow.top += inContainer[c].top;
        }
        byName[wexal::controls::row(id).name] = inWindow;
    }
    for (const auto& [name, rect] : byName) {
        std::printf("%s %d %d %d %d\n", name.c_str(), rect.left, rect.top, rect.width, rect.height);
    }
    return 0;
}
