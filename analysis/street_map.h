// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <vector>

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "sim/network.h"
#include "sim/setting.h"

// The labelled map of Tremmelin, drawn from the street network and the node places: streets
// as lines, nodes 1 to 13 numbered (14 is never reached and left out), the bank marked, and at
// every exit its counter box and whether its light barrier is on. One painter function serves
// the window, the worksheet PDF and the saved pictures.
namespace wexal::analysis {

// A street walked from one node to the next.
struct Street {
    int from = 0;
    int to = 0;
    friend bool operator==(const Street&, const Street&) = default;
};

// What the map shows besides its streets, nodes and labels.
struct StreetMapContent {
    Setting setting = kStartSetting;       // the barriers, and whether node 6 is an exit
    // A short text beside node n ("1/6"), one line per "\n", at an exit under its label;
    // empty: none.
    network::NodeArray<QString> notes{};
    // Each exit's counter box and barrier in words; without them, notes at every node fit a
    // smaller map (the barriers still show as marks).
    bool boxLabels = true;
    std::vector<Street> highlightedStreets;  // bold, with an arrow towards `to`
    int highlightedNode = 0;               // ringed; 0: none
};

// Where the map puts its parts in a target: what the painter draws, for layouts and tests.
struct StreetMapLayout {
    struct Piece {
        int node;
        QRectF rect;  // a node's circle or square, or a label or note beside it
    };
    double scale = 0;                 // device pixels per design unit
    network::NodeArray<QPointF> centres{};  // of nodes 1..13
    std::vector<Piece> pieces;
    QRectF legend;
};
StreetMapLayout layOutStreetMap(const QRectF& target, const StreetMapContent& content, const QFont& font,
                                const QPaintDevice* device);

// Paints the map into target, keeping its proportions and centring it. Texts use font as the
// painter's device sizes it (points on a PDF, pixels on a screen); lines and circles follow
// the text's size, so a larger font gives a map that reads from further away.
void paintStreetMap(QPainter& painter, const QRectF& target, const StreetMapContent& content,
                    const QFont& font);

// The smallest size in which no label, note or node of the map covers another at font.
QSizeF streetMapMinimumSize(const StreetMapContent& content, const QFont& font, const QPaintDevice* device);

// What a screen reader says about the map: every exit with its place, box and barrier.
QString streetMapDescription(const Setting& setting);

// The map as a widget ("Stadtplan"): it keeps its content and repaints when told.
class StreetMap final : public QWidget {
    Q_OBJECT

public:
    explicit StreetMap(QWidget* parent = nullptr);

    const StreetMapContent& content() const { return content_; }
    void setSetting(const Setting& setting);
    void setNotes(const network::NodeArray<QString>& notes);
    void setHighlights(std::vector<Street> streets, int node);
    void setBoxLabels(bool shown);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StreetMapContent content_;
};

}  // namespace wexal::analysis
