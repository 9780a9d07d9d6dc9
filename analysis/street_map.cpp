// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/street_map.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainterPath>

#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

namespace nw = network;

enum class Side { Above, Below, Left, Right };

// Where each exit's label stands, and how a sentence names the exit's place; in the order
// around the map. Labels stand beside their exits, not above or below, so the map stays
// low: only node 6, inside the map, has its label below.
struct ExitLabel {
    int node;
    Side side;
    const char* place;
};
constexpr std::array<ExitLabel, nw::kBarrierCount> kExitLabels = {{
    {9, Side::Left, "oben links"},
    {10, Side::Right, "oben rechts"},
    {7, Side::Right, "rechts an der oberen Straße"},
    {12, Side::Right, "rechts an der unteren Straße"},
    {8, Side::Right, "unten rechts"},
    {6, Side::Below, "in der Mitte der unteren Straße"},
    {13, Side::Left, "unten links"},
    {11, Side::Left, "links an der oberen Straße"},
}};
static_assert([] {
    std::size_t i = 0;  // a range-for: cppcheck 2.10 misreads "i < kExitLabels.size()" here
    for (const ExitLabel& label : kExitLabels) {
        if (label.node != places::kExitsAroundTheMap[i++]) return false;
    }
    return true;
}());

constexpr int kLastDrawnNode = 13;  // 14 has a place but is never reached
constexpr double kMapWidth = 3840;  // design units: the nodes' extent
constexpr double kMapHeight = 3640;
constexpr int kScaleSearchSteps = 40;
constexpr const char* kLegend = "□ Ausgang   ○ Kreuzung   ▮ Lichtschranke an";

const QColor kInk{30, 30, 30};
const QColor kStreet{120, 120, 120};
const QColor kGuarded{255, 255, 0};  // the guarded counter boxes' yellow of the main window
const QColor kGuardedEdge{110, 110, 0};
const QColor kBank{255, 200, 90};
const QColor kHighlight{230, 110, 0};
const QColor kUnreached{170, 170, 170};

// Sizes that follow the text, so the map reads at any size of font.
struct Measures {
    double line;    // one line of text
    double radius;  // a node's circle or half its square
    double gap;
    double pen;
};

// The map's proportions: in lines of its text, or in a node's radius, gap or pen.
constexpr double kRadiusLines = 0.7;
constexpr double kGapLines = 0.3;
constexpr double kLinesPerPen = 8;
constexpr double kNoteIndentRadii = 0.4;       // a junction's note starts right of its centre
constexpr double kBarrierAtNodeGaps = 1.5;     // node 6's bar reaches past its square
constexpr double kBarrierHalfRadii = 1.2;      // a bar across an exit's street
constexpr double kBarrierThicknessRadii = 0.6;
constexpr double kBarrierEdgePens = 0.75;
constexpr double kHighlightPens = 3.5;
constexpr double kRingPens = 3;
constexpr double kRingRadii = 1.45;
constexpr double kArrowLengthLines = 0.8;
constexpr double kArrowHalfWidthLines = 0.4;

Measures measuresFor(const QFontMetricsF& metrics) {
    const double line = metrics.height();
    return {line, kRadiusLines * line, kGapLines * line, std::max(1.0, line / kLinesPerPen)};
}

bool isExitNode(int node, const Setting& setting) { return nw::isExit(node, setting.rewiringBarrierOn()); }

// Node 6 keeps its exit label while it is none, saying so; its note stands there.
bool hasExitLabel(int node) { return nw::isExit(node, true); }

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QStringList exitLines(const ExitLabel& label, const StreetMapContent& content) {
    const int box = nw::kBoxOfExit[static_cast<std::size_t>(label.node)];
    const bool on = content.setting.barriers[static_cast<std::size_t>(box)];
    QStringList lines;
    if (content.boxLabels) {
        lines << fromUtf8(wording::boxName(box)) << QStringLiteral("Schranke ") + fromUtf8(wording::barrierState(on));
    }
    if (!isExitNode(label.node, content.setting)) lines << QStringLiteral("kein Ausgang");
    const QString& note = content.notes[static_cast<std::size_t>(label.node)];
    if (!note.isEmpty()) lines << note.split(u'\n');
    return lines;
}

// Something drawn at a node: its rectangle in pixels relative to the node's place.
struct Piece {
    int node;
    QRectF around;
};

// Node 6's barrier crosses its street at the node, reaching this far from its centre; the
// label below it starts further out.
double barrierReachAtNode(const Measures& m) { return m.radius + kBarrierAtNodeGaps * m.gap; }

QRectF beside(Side side, QSizeF size, const Measures& m) {
    const double reach = side == Side::Below ? barrierReachAtNode(m) + m.gap : m.radius + m.gap;
    switch (side) {
        case Side::Above: return {-size.width() / 2, -reach - size.height(), size.width(), size.height()};
        case Side::Below: return {-size.width() / 2, reach, size.width(), size.height()};
        case Side::Left: return {-reach - size.width(), -size.height() / 2, size.width(), size.height()};
        case Side::Right: return {reach, -size.height() / 2, size.width(), size.height()};
    }
    return {};
}

QSizeF linesSize(const QStringList& lines, const QFontMetricsF& metrics, const Measures& m) {
    double width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return {width + m.gap * 2, m.line * static_cast<double>(lines.size())};
}

// One line per "\n", as at the exits: two short lines crowd the map less than one long one.
QRectF noteRect(const QString& note, const QFontMetricsF& metrics, const Measures& m) {
    // Below and to the right of the node, clear of its circle and of the street leaving downwards.
    const QSizeF size = linesSize(note.split(u'\n'), metrics, m);
    return {m.radius * kNoteIndentRadii, m.radius + m.gap / 2, size.width(), size.height()};
}

QRectF bankRect(const QFontMetricsF& metrics, const Measures& m) {
    return beside(Side::Above, linesSize({QStringLiteral("Bank")}, metrics, m), m);
}

// Every label, circle and note at its node, before the map is scaled.
std::vector<Piece> piecesOf(const StreetMapContent& content, const QFontMetricsF& metrics, const Measures& m) {
    std::vector<Piece> pieces;
    const QRectF circle(-m.radius, -m.radius, 2 * m.radius, 2 * m.radius);
    for (int n = 1; n <= kLastDrawnNode; ++n) pieces.push_back({n, circle});
    for (const ExitLabel& label : kExitLabels) {
        pieces.push_back({label.node, beside(label.side, linesSize(exitLines(label, content), metrics, m), m)});
    }
    pieces.push_back({nw::kStartNode, bankRect(metrics, m)});
    for (int n = 1; n <= nw::kLastJunction; ++n) {
        const QString& note = content.notes[static_cast<std::size_t>(n)];
        if (!note.isEmpty() && !hasExitLabel(n)) pieces.push_back({n, noteRect(note, metrics, m)});
    }
    return pieces;
}

QPointF placeOf(int node, double scale) {
    const places::NodePlace& p = places::kNodes[static_cast<std::size_t>(node)];
    return {p.x * scale, p.y * scale};
}

// The legend's line below everything else, a gap apart.
double legendHeight(const Measures& m) { return m.line + m.gap; }

QRectF boundsAt(const std::vector<Piece>& pieces, double scale, const Measures& m) {
    QRectF bounds;
    for (const Piece& piece : pieces) bounds |= piece.around.translated(placeOf(piece.node, scale));
    bounds.setBottom(bounds.bottom() + legendHeight(m));
    return bounds;
}

// The largest scale (pixels per design unit) at which everything fits into size.
double fittingScale(const std::vector<Piece>& pieces, QSizeF size, const Measures& m) {
    double low = 0;
    double high = std::max(size.width() / kMapWidth, size.height() / kMapHeight);
    for (int i = 0; i < kScaleSearchSteps; ++i) {
        const double middle = (low + high) / 2;
        const QRectF b = boundsAt(pieces, middle, m);
        (b.width() <= size.width() && b.height() <= size.height() ? low : high) = middle;
    }
    return low;
}

// The streets of the current wiring: node 6 lies on the lower street either way, but is a
// node of it only while its barrier makes it an exit.
std::vector<Street> streetsOf(const Setting& setting) {
    std::vector<Street> streets;
    for (int n = 1; n <= nw::kLastJunction; ++n) {
        const nw::StreetList& list = nw::streetsAt(n, setting.rewiringBarrierOn());
        for (int k = 0; k < list.count; ++k) {
            const int to = list.to[static_cast<std::size_t>(k)];
            const bool drawn = std::find(streets.begin(), streets.end(), Street{to, n}) != streets.end();
            if (to != n && !drawn) streets.push_back({n, to});
        }
    }
    return streets;
}

// The junction an exit's street leads to.
int junctionOf(int exit) {
    for (int n = 1; n <= nw::kLastJunction; ++n) {
        const nw::StreetList& list = nw::streetsAt(n, true);
        if (n != exit && std::find(list.to.begin(), list.to.begin() + list.count, exit) != list.to.begin() + list.count) {
            return n;
        }
    }
    return nw::kStartNode;
}

QPointF unit(QPointF v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF(1, 0);
}

// Every piece placed for a target: the scale, the nodes' centres and the label rectangles.
StreetMapLayout placePieces(const std::vector<Piece>& pieces, const QRectF& target, const Measures& m) {
    StreetMapLayout layout;
    layout.scale = fittingScale(pieces, target.size(), m);
    const QRectF bounds = boundsAt(pieces, layout.scale, m);
    const QPointF origin = target.center() - bounds.center();
    for (int n = 1; n <= kLastDrawnNode; ++n) layout.centres[static_cast<std::size_t>(n)] = origin + placeOf(n, layout.scale);
    for (const Piece& piece : pieces) {
        layout.pieces.push_back({piece.node, piece.around.translated(layout.centres[static_cast<std::size_t>(piece.node)])});
    }
    layout.legend = QRectF(bounds.left(), bounds.bottom() - m.line, bounds.width(), m.line).translated(origin);
    return layout;
}

class MapPainter {
public:
    MapPainter(QPainter& painter, const StreetMapContent& content, const QFont& font)
        : p_(painter), content_(content), metrics_(font, painter.device()), m_(measuresFor(metrics_)) {
        p_.setFont(font);
    }

    void paint(const QRectF& target) {
        layout_ = placePieces(piecesOf(content_, metrics_, m_), target, m_);
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing);
        drawStreets();
        drawBarriers();
        for (int n = 1; n <= kLastDrawnNode; ++n) drawNode(n);
        drawLabels();
        p_.setPen(kInk);
        p_.drawText(layout_.legend, Qt::AlignCenter, QString::fromUtf8(kLegend));
        p_.restore();
    }

private:
    QPointF at(int node) const { return layout_.centres[static_cast<std::size_t>(node)]; }

    void drawStreets() {
        p_.setPen(QPen(kStreet, m_.pen * 2, Qt::SolidLine, Qt::RoundCap));
        for (const Street& s : streetsOf(content_.setting)) p_.drawLine(at(s.from), at(s.to));
        p_.setPen(QPen(kHighlight, m_.pen * kHighlightPens, Qt::SolidLine, Qt::RoundCap));
        p_.setBrush(kHighlight);
        for (const Street& s : content_.highlightedStreets) {
            if (s.from < 1 || s.from > kLastDrawnNode || s.to < 1 || s.to > kLastDrawnNode || s.from == s.to) continue;
            const QPointF direction = unit(at(s.to) - at(s.from));
            const QPointF tip = at(s.to) - direction * (m_.radius + m_.gap);
            p_.drawLine(at(s.from), tip);
            const QPointF across(-direction.y(), direction.x());
            const QPointF back = tip - direction * m_.line * kArrowLengthLines;
            const QPointF wing = across * m_.line * kArrowHalfWidthLines;
            p_.drawPolygon(QPolygonF({tip, back + wing, back - wing}));
        }
    }

    // A bar across the exit's street, between the exit and its junction; at node 6, which lies
    // on its street, across the node itself.
    void drawBarriers() {
        for (const ExitLabel& label : kExitLabels) {
            const int box = nw::kBoxOfExit[static_cast<std::size_t>(label.node)];
            const bool on = content_.setting.barriers[static_cast<std::size_t>(box)];
            const QPointF along = unit(at(junctionOf(label.node)) - at(label.node));
            const QPointF across(-along.y(), along.x());
            const bool onItsStreet = label.node == nw::kRewiredNode;
            const QPointF centre = at(label.node) + (onItsStreet ? QPointF() : along * (m_.radius + 2 * m_.gap));
            const double half = onItsStreet ? barrierReachAtNode(m_) : m_.radius * kBarrierHalfRadii;
            const double thickness = m_.radius * kBarrierThicknessRadii;
            const QPointF a = centre + across * half;
            const QPointF b = centre - across * half;
            if (on) {
                p_.setPen(QPen(kGuardedEdge, m_.pen * kBarrierEdgePens));
                p_.setBrush(kGuarded);
                const QPointF t = along * thickness / 2;
                p_.drawPolygon(QPolygonF({a + t, b + t, b - t, a - t}));
            } else {
                p_.setPen(QPen(kUnreached, m_.pen, Qt::DashLine, Qt::FlatCap));
                p_.drawLine(a, b);
            }
        }
    }

    void drawNode(int n) {
        const QPointF c = at(n);
        const QRectF square(c.x() - m_.radius, c.y() - m_.radius, 2 * m_.radius, 2 * m_.radius);
        const bool exit = isExitNode(n, content_.setting);
        if (n == content_.highlightedNode) {
            p_.setPen(QPen(kHighlight, m_.pen * kRingPens));
            p_.setBrush(Qt::NoBrush);
            p_.drawEllipse(c, m_.radius * kRingRadii, m_.radius * kRingRadii);
        }
        if (!exit && n == nw::kRewiredNode) {
            p_.setPen(QPen(kUnreached, m_.pen, Qt::DashLine));
            p_.setBrush(Qt::white);
            p_.drawEllipse(square.adjusted(m_.gap, m_.gap, -m_.gap, -m_.gap));
            p_.setPen(kUnreached);
        } else if (exit) {
            const int box = nw::kBoxOfExit[static_cast<std::size_t>(n)];
            p_.setPen(QPen(kInk, m_.pen));
            p_.setBrush(content_.setting.barriers[static_cast<std::size_t>(box)] ? kGuarded : Qt::white);
            p_.drawRect(square);
        } else {
            p_.setPen(QPen(kInk, m_.pen));
            p_.setBrush(n == nw::kStartNode ? kBank : Qt::white);
            p_.drawEllipse(square);
        }
        p_.drawText(square, Qt::AlignCenter, QString::number(n));
    }

    void drawLabels() {
        p_.setPen(kInk);
        for (const ExitLabel& label : kExitLabels) {
            const QStringList lines = exitLines(label, content_);
            const QRectF r = beside(label.side, linesSize(lines, metrics_, m_), m_).translated(at(label.node));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QRectF line(r.left(), r.top() + m_.line * static_cast<double>(i), r.width(), m_.line);
                p_.drawText(line, Qt::AlignCenter, lines[i]);
            }
        }
        const QRectF bank = bankRect(metrics_, m_).translated(at(nw::kStartNode));
        p_.setPen(QPen(kInk, m_.pen));
        p_.setBrush(kBank);
        p_.drawRect(bank);
        p_.drawText(bank, Qt::AlignCenter, QStringLiteral("Bank"));
        for (int n = 1; n <= nw::kLastJunction; ++n) {
            const QString& note = content_.notes[static_cast<std::size_t>(n)];
            if (note.isEmpty() || hasExitLabel(n)) continue;
            const QRectF r = noteRect(note, metrics_, m_).translated(at(n));
            p_.setPen(QPen(kStreet, m_.pen / 2));
            p_.setBrush(Qt::white);
            p_.drawRect(r);
            p_.setPen(kInk);
            p_.drawText(r, Qt::AlignCenter, note);  // drawText breaks the lines at "\n"
        }
    }

    QPainter& p_;
    const StreetMapContent& content_;
    QFontMetricsF metrics_;
    Measures m_;
    StreetMapLayout layout_;
};

constexpr double kFirstTriedScaleLines = 0.001;  // pixels per design unit per line of text
constexpr double kScaleGrowth = 1.02;
constexpr int kScaleTries = 200;
constexpr double kPreferredGrowth = 1.4;       // the preferred size over the smallest

bool anyOverlap(const std::vector<Piece>& pieces, double scale) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const QRectF a = pieces[i].around.translated(placeOf(pieces[i].node, scale));
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            if (a.intersects(pieces[j].around.translated(placeOf(pieces[j].node, scale)))) return true;
        }
    }
    return false;
}

// The smallest scale at which no label, note or node covers another.
double collisionFreeScale(const std::vector<Piece>& pieces, const Measures& m) {
    double scale = kFirstTriedScaleLines * m.line;
    for (int i = 0; i < kScaleTries && anyOverlap(pieces, scale); ++i) scale *= kScaleGrowth;
    return scale;
}

}  // namespace

void paintStreetMap(QPainter& painter, const QRectF& target, const StreetMapContent& content,
                    const QFont& font) {
    MapPainter(painter, content, font).paint(target);
}

StreetMapLayout layOutStreetMap(const QRectF& target, const StreetMapContent& content, const QFont& font,
                                const QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    const Measures m = measuresFor(metrics);
    return placePieces(piecesOf(content, metrics, m), target, m);
}

QSizeF streetMapMinimumSize(const StreetMapContent& content, const QFont& font, const QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    const Measures m = measuresFor(metrics);
    const std::vector<Piece> pieces = piecesOf(content, metrics, m);
    return boundsAt(pieces, collisionFreeScale(pieces, m), m).size();
}

QString streetMapDescription(const Setting& setting) {
    QStringList exits;
    for (const ExitLabel& label : kExitLabels) {
        const int box = nw::kBoxOfExit[static_cast<std::size_t>(label.node)];
        QString text = QStringLiteral("%1 %2, %3, Lichtschranke %4")
                           .arg(fromUtf8(wording::exitName(label.node)), QString::fromUtf8(label.place),
                                fromUtf8(wording::boxName(box)),
                                fromUtf8(wording::barrierState(setting.barriers[static_cast<std::size_t>(box)])));
        if (!isExitNode(label.node, setting)) text += QStringLiteral(", zur Zeit kein Ausgang");
        exits << text;
    }
    return QStringLiteral("Stadtplan von Tremmelin. Die Bank liegt an Knoten 1 in der Mitte der "
                          "oberen Straße. ") +
           exits.join(QStringLiteral("; ")) + QLatin1Char('.');
}

StreetMap::StreetMap(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Stadtplan"));
    setAccessibleName(QStringLiteral("Stadtplan von Tremmelin"));
    setAccessibleDescription(streetMapDescription(content_.setting));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StreetMap::setSetting(const Setting& setting) {
    if (setting == content_.setting) return;
    content_.setting = setting;
    setAccessibleDescription(streetMapDescription(setting));
    update();
}

void StreetMap::setNotes(const network::NodeArray<QString>& notes) {
    content_.notes = notes;
    updateGeometry();
    update();
}

void StreetMap::setBoxLabels(bool shown) {
    content_.boxLabels = shown;
    updateGeometry();
    update();
}

void StreetMap::setHighlights(std::vector<Street> streets, int node) {
    content_.highlightedStreets = std::move(streets);
    content_.highlightedNode = node;
    update();
}

QSize StreetMap::minimumSizeHint() const {
    return streetMapMinimumSize(content_, font(), this).toSize() + QSize(1, 1);
}

QSize StreetMap::sizeHint() const {
    return (streetMapMinimumSize(content_, font(), this) * kPreferredGrowth).toSize();
}

void StreetMap::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paintStreetMap(painter, QRectF(rect()), content_, font());
}

}  // namespace wexal::analysis
