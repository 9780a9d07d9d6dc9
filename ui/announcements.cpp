// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/announcements.h"

#include <cstddef>

#include "sim/network.h"

namespace wexal::announcements {

namespace {

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

int exitOfBox(int box) { return network::kExitOfBox.at(static_cast<std::size_t>(box)); }

// Box 5's node is an exit exactly while box 5's own barrier is on.
bool boxCountsAnExit(int box, bool barrierOn) {
    return network::isExit(exitOfBox(box), box == network::kRewiringBarrier ? barrierOn : true);
}

}  // namespace

QString placeName(int node, bool node6IsExit) {
    if (node == network::kStartNode) return text("der Bank");
    return text(network::isExit(node, node6IsExit) ? "Ausgang %1" : "Kreuzung %1").arg(node);
}

QString counterBoxName(int box, bool barrierOn) {
    return text("Zähler %1, Lichtschranke %2")
        .arg(placeName(exitOfBox(box), boxCountsAnExit(box, barrierOn)))
        .arg(box);
}

QString counterBoxDescription(int box, bool barrierOn) {
    if (!boxCountsAnExit(box, barrierOn)) return text("Lichtschranke aus: kein Ausgang");
    return text(barrierOn ? "Lichtschranke an: Ausgang bewacht" : "Lichtschranke aus: Ausgang unbewacht");
}

QString checkBoxName(int box) { return text("Lichtschranke %1").arg(box); }

QString barrierEffect(int box, bool on) {
    const int node = exitOfBox(box);
    if (box == network::kRewiringBarrier) {
        return text(on ? "Lichtschranke %1 an: Kreuzung %2 ist ein Ausgang"
                       : "Lichtschranke %1 aus: Kreuzung %2 ist kein Ausgang mehr")
            .arg(box)
            .arg(node);
    }
    return text(on ? "Lichtschranke %1 an: Ausgang %2 bewacht" : "Lichtschranke %1 aus: Ausgang %2 unbewacht")
        .arg(box)
        .arg(node);
}

QString robberAt(int node, int from, bool node6IsExit) {
    QString here = text("Räuber an %1").arg(placeName(node, node6IsExit));
    if (from == 0) return here;
    // Junctions go by their number alone, as the pupil has just heard it.
    const QString came = from == network::kStartNode ? placeName(from, node6IsExit) : QString::number(from);
    return text("%1, kam von %2").arg(here, came);
}

QString escapeEnded(int exit, bool caught) {
    return text("Wexal beendet an Ausgang %1: %2").arg(exit).arg(text(caught ? "gefasst" : "gelungen"));
}

QString escapesEnded(int succeeded, int caught, bool nextWaitsAtBank) {
    const int ended = succeeded + caught;
    QString news = text(ended == 1 ? "%1 Wexal beendet: %2 gelungen, %3 gefasst"
                                   : "%1 Wexalen beendet: %2 gelungen, %3 gefasst")
                       .arg(ended)
                       .arg(succeeded)
                       .arg(caught);
    if (nextWaitsAtBank) news += text("; der Räuber wartet an der Bank");
    return news;
}

}  // namespace wexal::announcements
