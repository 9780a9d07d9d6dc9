// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDate>
#include <QIODevice>
#include <QPainter>
#include <QRectF>
#include <QTextDocument>

#include "analysis/chart_data.h"

class QPdfWriter;

namespace wexal::analysis {

class ResultTableModel;

// An A4 page at print resolution with even margins, its document titled: the page of both of
// the Auswertung's PDFs.
void setUpA4Page(QPdfWriter& pdf, const QString& title);

// The worksheet: one A4 page for a pupil. A heading with the setting, the date and the number
// of escapes; the labelled map with notes on how to read the page beside it; the table with an
// empty column "eigene Rechnung"; the goodness of fit; both charts side by side across the
// page, always below the table. Every text is at least kSmallestPoints high and no word is
// split.
class Worksheet {
public:
    static constexpr double kSmallestPoints = 9;

    Worksheet(const ResultTableModel& table, const ChartData& charts, QDate date);
    ~Worksheet();
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    // Where each part stands on a page of this size, for a device of this resolution.
    struct Layout {
        QRectF heading;
        QRectF map;
        QRectF notes;  // beside the map
        QRectF table;  // with the notice before it and the goodness of fit after it
        QRectF charts;
    };
    Layout layOut(QPaintDevice& device, const QRectF& page);
    void paint(QPainter& painter, const QRectF& page);

    // The texts as laid out by the last layOut() (for the tests: sizes and line breaks).
    const QTextDocument& headingText() const { return *heading_; }
    const QTextDocument& tableText() const { return *table_; }
    const QTextDocument& notesText() const { return *notes_; }

private:
    const ResultTableModel& model_;
    const ChartData& charts_;
    QDate date_;
    std::unique_ptr<QTextDocument> heading_;
    std::unique_ptr<QTextDocument> table_;
    std::unique_ptr<QTextDocument> notes_;
};

// The worksheet as a one-page A4 PDF.
bool writeWorksheetPdf(QIODevice& device, const ResultTableModel& table, const ChartData& charts,
                       QDate date = QDate::currentDate());

}  // namespace wexal::analysis
