// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/map_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include "analysis/street_map.h"
#include "platform/german_number.h"
#include "sim/result_wording.h"

namespace wexal::analysis {

QString exitNote(std::int64_t count, std::int64_t escapes, const mpq_class& probability) {
    QString exact = QStringLiteral("P = ") + QString::fromStdString(probability.get_str());
    if (escapes == 0) return exact;
    const double share = static_cast<double>(count) / static_cast<double>(escapes);
    return QStringLiteral("%1-mal, h = %2\n%3")
        .arg(QString::fromStdString(german::count(count)), QString::fromStdString(wording::share(share)), exact);
}

MapPage::MapPage(Escape& escape, Runtime& /*runtime*/, QWidget* parent)
    : AuswertungPage(parent), escape_(escape) {
    setObjectName(QStringLiteral("StadtplanSeite"));
    setting_ = new QLabel(this);
    setting_->setObjectName(QStringLiteral("EinstellungStadtplan"));
    map_ = new StreetMap(this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(setting_);
    column->addWidget(map_, 1);
}

QString MapPage::title() const { return QStringLiteral("Stadt&plan"); }

void MapPage::refresh() {
    const Setting setting = escape_.exactSetting();  // the fair network's while a scenario is hidden
    const ExactSolution& exact = exact_.solutionFor(setting);
    setting_->setText(QString::fromStdString(wording::settingLine(setting, escape_.attempts())));
    network::NodeArray<QString> notes{};
    for (int box = 0; box < network::kBarrierCount; ++box) {
        notes[static_cast<std::size_t>(network::kExitOfBox[static_cast<std::size_t>(box)])] =
            exitNote(escape_.exitCount(box), escape_.attempts(), exact.exitProbability[static_cast<std::size_t>(box)]);
    }
    map_->setSetting(setting);
    map_->setNotes(notes);
}

}  // namespace wexal::analysis
