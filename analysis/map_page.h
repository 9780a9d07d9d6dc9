// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/auswertung_page.h"
#include "analysis/exact_cache.h"
#include "platform/runtime.h"
#include "sim/escape.h"

class QLabel;

namespace wexal::analysis {

class StreetMap;

// "Stadtplan": the labelled map of Tremmelin, each exit with its counter box, its barrier, how
// often the robber ended there and the exact probability, so the table's exits can be found.
class MapPage final : public AuswertungPage {
    Q_OBJECT

public:
    MapPage(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);

    QString title() const override;
    void refresh() override;

    const StreetMap& map() const { return *map_; }

private:
    Escape& escape_;
    ExactCache exact_;
    QLabel* setting_ = nullptr;
    StreetMap* map_ = nullptr;
};

// The note at an exit: "3449-mal, h = 0,1725" over "P = 1/6"; only the probability while
// nothing is counted.
QString exitNote(std::int64_t count, std::int64_t escapes, const mpq_class& probability);

}  // namespace wexal::analysis
