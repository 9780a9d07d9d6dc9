// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/class_page.h"

#include <sstream>

#include <QAbstractTextDocumentLayout>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "analysis/chart_style.h"
#include "analysis/export.h"
#include "analysis/funnel_chart.h"
#include "analysis/result_table_model.h"
#include "analysis/worksheet.h"
#include "platform/german_number.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

constexpr int kTypedLines = 3;            // the typed input's height in lines
constexpr int kFunnelMinimumLines = 22;   // the funnel's smallest width and height in lines
constexpr qreal kPdfTextPart = 0.6;       // of the page's height at most; the funnel takes the rest
constexpr qreal kPdfPoints = 8;           // the page's text: twenty pupils and the table fit beside each other
const QSizeF kPdfFunnel(900, 560);        // design pixels of the funnel on the page
constexpr double kPdfFunnelFont = 16;     // design pixels

const QStringList kPooledHeadings{QStringLiteral("Name"), QStringLiteral("Datei"), QStringLiteral("Wexalen"),
                                  QStringLiteral("gelungen"), QStringLiteral("Anteil gelungen")};
const QStringList kApartHeadings{QStringLiteral("Name"), QStringLiteral("Datei"), QStringLiteral("Grund")};

QString shownSource(const std::string& source) {
    const QString path = QFile::decodeName(source.c_str());
    return path.startsWith(QStringLiteral("eingetippt")) ? path : QFileInfo(path).fileName();
}

QTableWidget* table(const QString& name, const QStringList& headings, QWidget* parent) {
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(name);
    t->setAccessibleName(name);
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget& t, int row, const QStringList& cells, int firstNumber) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (c >= firstNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t.setItem(row, c, item);
    }
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).remove(u'&').remove(u'…'));
    return b;
}

std::string shareText(std::int64_t succeeded, std::int64_t escapes) {
    return escapes > 0 ? wording::share(static_cast<double>(succeeded) / static_cast<double>(escapes)) : "–";
}

// A table's model as an HTML table for the PDF page, numbers right-aligned as on screen.
QString htmlTable(const QAbstractItemModel& model) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (int c = 0; c < model.columnCount(); ++c) {
        QString heading = model.headerData(c, Qt::Horizontal).toString().toHtmlEscaped();
        html += QStringLiteral("<th>%1</th>").arg(heading.replace(u'\n', QStringLiteral("<br>")));
    }
    html += QStringLiteral("</tr>");
    for (int r = 0; r < model.rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < model.columnCount(); ++c) {
            const QModelIndex cell = model.index(r, c);
            const bool number = (model.data(cell, Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
            html += QStringLiteral("<td align=\"%1\">%2</td>")
                        .arg(number ? QStringLiteral("right") : QStringLiteral("left"),
                             model.data(cell).toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

ClassPage::ClassPage(Escape& escape, Runtime& runtime, QWidget* parent)
    : AuswertungPage(parent), escape_(escape), runtime_(runtime), shownFor_(escape.exactSetting()) {
    setObjectName(QStringLiteral("KlasseSeite"));
    auto* intro = new QLabel(
        QStringLiteral("Die Ergebnisdateien einer Klasse öffnen oder auf die Auswertung ziehen, oder "
                       "Anzahlen eintippen: Sie werden unter der Einstellung des Fensters "
                       "zusammengefasst."),
        this);
    intro->setObjectName(QStringLiteral("KlasseErklaerung"));
    intro->setWordWrap(true);
    auto* open = button(QStringLiteral("Dateien &öffnen…"), QStringLiteral("DateienOeffnen"), this);
    auto* save = button(QStringLiteral("Klassenergebnis spe&ichern…"), QStringLiteral("KlasseSpeichern"), this);
    auto* clear = button(QStringLiteral("Liste &leeren"), QStringLiteral("ListeLeeren"), this);
    connect(open, &QPushButton::clicked, this, &ClassPage::openWithDialog);
    connect(save, &QPushButton::clicked, this, &ClassPage::saveWithDialog);
    connect(clear, &QPushButton::clicked, this, &ClassPage::clearClass);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {open, save, clear}) buttons->addWidget(b);
    buttons->addStretch();

    auto* typedLabel = new QLabel(
        QStringLiteral("Eingetippt, eine Zeile je Schülerin oder Schüler: Name und die Anzahlen der "
                       "Zählerboxen 0 bis 7, getrennt durch Tab oder „;“"),
        this);
    typedLabel->setWordWrap(true);
    typed_ = new QPlainTextEdit(this);
    typed_->setObjectName(QStringLiteral("Eingabe"));
    typed_->setAccessibleName(QStringLiteral("Eingetippte Anzahlen"));
    typed_->setPlaceholderText(QStringLiteral("Anna; 8; 9; 7; 8; 5; 6; 4; 3"));
    typed_->setTabChangesFocus(false);
    typedLabel->setBuddy(typed_);
    auto* take = button(QStringLiteral("Eingabe &übernehmen"), QStringLiteral("Uebernehmen"), this);
    connect(take, &QPushButton::clicked, this, [this] {
        addTyped(typed_->toPlainText());
        typed_->clear();
    });

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("KlasseZusammenfassung"));
    summary_->setAccessibleName(QStringLiteral("Klassenergebnis"));
    summary_->setWordWrap(true);
    pooled_ = table(QStringLiteral("Klassentabelle"), kPooledHeadings, this);
    apartHeading_ = new QLabel(QStringLiteral("Nicht zusammengefasst"), this);
    apartHeading_->setObjectName(QStringLiteral("NichtZusammengefasstTitel"));
    apart_ = table(QStringLiteral("Nicht zusammengefasst"), kApartHeadings, this);
    apart_->setObjectName(QStringLiteral("NichtZusammengefasst"));

    funnel_ = new FunnelChart;
    funnelView_ = new QChartView(funnel_, this);
    funnelView_->setObjectName(QStringLiteral("Trichter"));
    funnelView_->setAccessibleName(QStringLiteral("Diagramm: Anteil gelungen je Datei über ihrer Anzahl"));
    funnelView_->setRenderHint(QPainter::Antialiasing);
    // A picture to look at and listen to, nothing to type into: the focus passes it by.
    funnelView_->setFocusPolicy(Qt::NoFocus);
    funnelView_->viewport()->setFocusPolicy(Qt::NoFocus);

    auto* left = new QVBoxLayout;
    left->addWidget(intro);
    left->addLayout(buttons);
    left->addWidget(typedLabel);
    left->addWidget(typed_);
    left->addWidget(take, 0, Qt::AlignLeft);
    left->addWidget(summary_);
    left->addWidget(pooled_, 2);
    left->addWidget(apartHeading_);
    left->addWidget(apart_, 1);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addWidget(funnelView_, 1);
    applyTextScale(1);
    rebuild();
}

QString ClassPage::title() const { return QStringLiteral("&Klasse"); }

void ClassPage::refresh() {
    if (escape_.exactSetting() != shownFor_) rebuild();
}

void ClassPage::applyTextScale(double /*scale*/) {
    setChartFonts(*funnel_, font());
    const int line = fontMetrics().height();
    typed_->setFixedHeight(line * kTypedLines + 2 * typed_->frameWidth() + typed_->contentsMargins().top() +
                           typed_->contentsMargins().bottom());
    funnelView_->setMinimumSize(line * kFunnelMinimumLines, line * kFunnelMinimumLines);
}

void ClassPage::openWithDialog() {
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Ergebnisdateien der Klasse öffnen"), QDir::homePath(),
        QStringLiteral("Ergebnisdateien (*.csv);;Alle Dateien (*)"));
    addFiles(paths);
}

void ClassPage::addFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    for (const QString& path : paths) roster_.addFile(QFile::encodeName(path).toStdString());
    rebuild();
}

void ClassPage::addTyped(const QString& text) {
    if (roster_.addTyped(text.toStdString(), escape_.exactSetting()) > 0) rebuild();
}

void ClassPage::clearClass() {
    roster_.clear();
    rebuild();
}

std::optional<Results> ClassPage::pooledResults() const {
    const ClassRoster::Sorted sorted = roster_.sortFor(escape_.exactSetting());
    if (sorted.pooled.empty()) return std::nullopt;
    return sorted.pool.pooled();
}

// Sorts the class under the escape's setting and shows it: both tables, the summary, the funnel.
void ClassPage::rebuild() {
    shownFor_ = escape_.exactSetting();
    const ClassRoster::Sorted sorted = roster_.sortFor(shownFor_);
    const std::vector<ClassRoster::Entry>& entries = roster_.entries();
    pooled_->setRowCount(static_cast<int>(sorted.pooled.size()));
    for (std::size_t r = 0; r < sorted.pooled.size(); ++r) {
        const ClassRoster::Entry& entry = entries[sorted.pooled[r]];
        const Tally& tally = *entry.read.results->tally;
        setRow(*pooled_, static_cast<int>(r),
               {fromUtf8(entry.name), shownSource(entry.source), fromUtf8(german::count(tally.exits.escapes)),
                fromUtf8(german::count(tally.succeeded)), fromUtf8(shareText(tally.succeeded, tally.exits.escapes))},
               2);
    }
    apart_->setRowCount(static_cast<int>(sorted.apart.size()));
    for (std::size_t r = 0; r < sorted.apart.size(); ++r) {
        const auto& [e, reason] = sorted.apart[r];
        setRow(*apart_, static_cast<int>(r), {fromUtf8(entries[e].name), shownSource(entries[e].source), fromUtf8(reason)},
               static_cast<int>(kApartHeadings.size()));
    }
    apartHeading_->setVisible(!sorted.apart.empty());
    apart_->setVisible(!sorted.apart.empty());
    for (QTableWidget* t : {pooled_, apart_}) t->resizeColumnsToContents();

    const ExactSolution& exact = exact_.solutionFor(shownFor_);
    const FunnelData funnel = funnelData(sorted.pool, exact);
    funnel_->draw(funnel);
    funnelView_->setAccessibleDescription(fromUtf8(funnelDescription(funnel)));
    const Tally& tally = sorted.pool.tally();
    QString summary;
    if (sorted.pooled.empty()) {
        summary = QStringLiteral("Noch nichts zusammengefasst.");
    } else {
        const std::size_t n = sorted.pooled.size();
        summary = QStringLiteral("%1 zusammengefasst: %2, gelungen %3, Anteil %4; p = %5 ≈ %6.")
                      .arg(QString::number(n) + (n == 1 ? QStringLiteral(" Ergebnis") : QStringLiteral(" Ergebnisse")),
                           fromUtf8(wording::escapesText(tally.exits.escapes)), fromUtf8(german::count(tally.succeeded)),
                           fromUtf8(shareText(tally.succeeded, tally.exits.escapes)),
                           fromUtf8(exact.succeeded.get_str()), fromUtf8(wording::share(nearestDouble(exact.succeeded))));
    }
    if (!sorted.apart.empty()) {
        summary += QStringLiteral(" %1 nicht zusammengefasst (siehe unten).").arg(sorted.apart.size());
    }
    summary_->setText(fromUtf8(settingWords(shownFor_)) + QStringLiteral("\n") + summary);
    emit classChanged();
}

void ClassPage::saveWithDialog() {
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Klassenergebnis speichern"), QDir::home().filePath(QStringLiteral("klasse.csv")),
        QStringLiteral("Ergebnisdatei der Klasse (*.csv);;PDF-Seite der Klasse (*.pdf)"), &filter);
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv" && suffix != u"pdf") {
        path += filter.contains(QStringLiteral("pdf")) ? QStringLiteral(".pdf") : QStringLiteral(".csv");
    }
    saveTo(path);
}

bool ClassPage::saveTo(const QString& path) {
    const auto fail = [this](const QString& line) {
        runtime_.messageBox(line.toStdString());
        return false;
    };
    const std::optional<Results> pooled = pooledResults();
    if (!pooled) return fail(QStringLiteral("„%1“: Die Klasse hat noch kein Ergebnis zum Speichern.").arg(path));
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv" && suffix != u"pdf") {
        return fail(QStringLiteral("„%1“: Das Klassenergebnis bitte als .csv oder .pdf speichern.").arg(path));
    }
    Results dated = *pooled;
    dated.date = localDateNow();
    const ExactSolution& exact = exact_.solutionFor(escape_.exactSetting());
    const std::optional<QString> error = saveAtomically(path, [&](QIODevice& device) {
        if (suffix == u"csv") {
            std::ostringstream out;
            writeResultsFile(out, dated, exact);
            const std::string text = out.str();
            return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
        }
        QPdfWriter pdf(&device);
        setUpA4Page(pdf, QStringLiteral("Wexal – Klassenergebnis"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        const QRectF page(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
        ResultTableModel pooledTable(escape_);
        pooledTable.showClass(dated);
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&pdf);
        document.setPageSize(page.size());
        QFont small = document.defaultFont();
        small.setPointSizeF(kPdfPoints);
        document.setDefaultFont(small);
        document.setHtml(QStringLiteral("<h2>Wexal – Klassenergebnis</h2><p>%1</p>"
                                        "<table width=\"100%\" cellspacing=\"6\"><tr><td width=\"40%\" valign=\"top\">%2</td>"
                                        "<td width=\"60%\" valign=\"top\">%3</td></tr></table>%4")
                             .arg(summary_->text().toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")),
                                  htmlTable(*pooled_->model()), htmlTable(pooledTable),
                                  apart_->rowCount() > 0 ? QStringLiteral("<p><b>Nicht zusammengefasst</b></p>") +
                                                               htmlTable(*apart_->model())
                                                         : QString()));
        // The text takes what it needs, up to its part of the page; the funnel the rest.
        const qreal top = std::min(document.size().height(), page.height() * kPdfTextPart);
        document.drawContents(&painter, QRectF(0, 0, page.width(), top));
        paintFunnel(painter, QRectF(0, top, page.width(), page.height() - top),
                    funnelData(roster_.sortFor(escape_.exactSetting()).pool, exact), kPdfFunnel, kPdfFunnelFont);
        return painter.end();
    });
    if (error) return fail(*error);
    return true;
}

}  // namespace wexal::analysis
