// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a screen reader says about the window: the names of the controls the keyboard reaches
// and the news of the map, in German, made from the escape's numbers. The captions stay as
// they are; these texts only travel beside them through Qt's accessibility interfaces.
namespace wexal::announcements {

// The controls whose own text does not say what they are have a name in the control table:
// the statistics boxes have no caption, the options only "ja" and "nein". The buttons are
// named by their captions; the counter boxes and switches by the functions below.

// A node as the map's news names it: "der Bank", "Kreuzung 4", "Ausgang 12". Node 6 is an
// exit only while light barrier 5 is on.
QString placeName(int node, bool node6IsExit);

// Counter box i: "Zähler Ausgang 9, Lichtschranke 0". Box 5 names a junction while its
// barrier is off, as then node 6 ends no escape.
QString counterBoxName(int box, bool barrierOn);
// Whether the box's exit is guarded: what its yellow tells a sighted pupil.
QString counterBoxDescription(int box, bool barrierOn);
// Check box i: "Lichtschranke 0".
QString checkBoxName(int box);
// What switching barrier i did: "Lichtschranke 0 an: Ausgang 9 bewacht".
QString barrierEffect(int box, bool on);

// Where one step left the robber: "Räuber an Kreuzung 4, kam von 2"; before the first step of
// an escape (from is 0) only where he stands.
QString robberAt(int node, int from, bool node6IsExit);
// One escape has ended at this exit: "Wexal beendet an Ausgang 12: gelungen" or "gefasst".
QString escapeEnded(int exit, bool caught);
// The escapes one click has ended, told once at its end, and whether the next waits at the
// bank: "50 Wexalen beendet: 31 gelungen, 19 gefasst; der Räuber wartet an der Bank".
QString escapesEnded(int succeeded, int caught, bool nextWaitsAtBank);

}  // namespace wexal::announcements
