// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/narrator.h"

#include <QWidget>
#include <cstddef>

#include "ui/announcements.h"

namespace wexal {

namespace an = announcements;

namespace {

// Qt tells assistive tools of every name or description set, even an unchanged one: a text
// that stays is not set again, so only news reaches the screen reader.
void setName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void setDescription(QWidget* widget, const QString& description) {
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
}

}  // namespace

Narrator::Narrator(Escape& escape, const std::array<QWidget*, controls::kCount>& widgets)
    : escape_(escape) {
    const auto widget = [&widgets](controls::Id id) { return widgets.at(controls::indexOf(id)); };
    for (const controls::Control& c : controls::kTable) {
        if (c.accessibleName != nullptr) widget(c.id)->setAccessibleName(QString::fromUtf8(c.accessibleName));
    }
    map_ = widget(controls::Id::picBox);
    for (std::size_t i = 0; i < counterBoxes_.size(); ++i) {
        counterBoxes_[i] = widget(controls::text1(static_cast<int>(i)));
        checkBoxes_[i] = widget(controls::check1(static_cast<int>(i)));
        checkBoxes_[i]->setAccessibleName(an::checkBoxName(static_cast<int>(i)));
        barrierShown(static_cast<int>(i), escape_.setting().barriers[i]);
    }
    map_->setAccessibleDescription(an::robberAt(escape_.robberNode(), escape_.previousNode(),
                                                escape_.setting().rewiringBarrierOn()));
    escape_.addObserver(this);
}

Narrator::~Narrator() { escape_.removeObserver(this); }

void Narrator::escapeCounted(int exit, bool caught) {
    lastExit_ = exit;
    ++(caught ? caught_ : succeeded_);
}

// The counter box's name and yellow follow at once; the check box tells what the switch did.
void Narrator::barrierShown(int index, bool on) {
    const auto i = static_cast<std::size_t>(index);
    setName(counterBoxes_.at(i), an::counterBoxName(index, on));
    setDescription(counterBoxes_[i], an::counterBoxDescription(index, on));
    checkBoxes_[i]->setAccessibleDescription(an::barrierEffect(index, on));
}

void Narrator::commandDone() {
    const int ended = succeeded_ + caught_;
    const bool nextWaitsAtBank = escape_.isRunning() && escape_.previousNode() == 0;
    QString news;
    if (ended == 1 && !nextWaitsAtBank) {
        news = an::escapeEnded(lastExit_, caught_ == 1);
    } else if (ended > 0) {
        news = an::escapesEnded(succeeded_, caught_, nextWaitsAtBank);
    } else if (moved_) {
        news = an::robberAt(escape_.robberNode(), escape_.previousNode(), escape_.setting().rewiringBarrierOn());
    }
    moved_ = false;
    succeeded_ = caught_ = 0;
    // Set even when it repeats the last news: the screen reader should say it again.
    if (!news.isEmpty()) map_->setAccessibleDescription(news);
}

}  // namespace wexal
