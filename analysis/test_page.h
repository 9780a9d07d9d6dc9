// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include <QFutureWatcher>

#include "analysis/auswertung_page.h"
#include "analysis/exact_cache.h"
#include "platform/runtime.h"
#include "sim/binomial_test.h"
#include "sim/escape.h"
#include "sim/significance_test.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace wexal::analysis {

class BinomialChart;

// "Test": the binomial test of a lesson. The pupil picks what is counted, H0 (the exact
// probability the class is shown, or typed), n and k (counted, or typed), the level and the
// sides; the page shows the acceptance region, the decision, the actual level, and B(n, p0)
// as bars. "100 Serien" runs fresh seeded series of n escapes under the current walk and
// counts how often they reject H0.
class TestPage final : public AuswertungPage {
    Q_OBJECT

public:
    // The most escapes one of the hundred series may take: 10^8 in all run in seconds.
    static constexpr std::int64_t kMostSeriesEscapes = 1'000'000;
    static constexpr int kSeries = 100;

    TestPage(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);
    ~TestPage() override;
    TestPage(const TestPage&) = delete;
    TestPage& operator=(const TestPage&) = delete;

    QString title() const override;
    void refresh() override;

    // The test as the page's inputs make it, if they make one.
    struct Test {
        TestTarget target;
        std::int64_t n = 0;
        std::int64_t k = 0;
        mpq_class p0;
        mpq_class alpha;
        Sided sided = Sided::Both;
        AcceptanceRegion region;
    };
    const std::optional<Test>& test() const { return test_; }

    // "100 Serien" from the given seed, in the background; seriesDone tells the result.
    void startSeries(std::uint64_t seed);

signals:
    void seriesDone(int rejected);

private:
    QWidget* buildInputs();
    QWidget* buildResults();
    void recompute();
    void showSeries(int rejected);
    std::optional<mpq_class> typedOrExactP0(const ExactSolution& shown, QString& problem) const;
    std::optional<mpq_class> chosenAlpha(QString& problem) const;
    std::optional<bool> walkIsFair(const Test& test);

    Escape& escape_;
    ExactCache shownExact_;  // the exact values the class is shown
    ExactCache trueExact_;   // the walk's own
    std::optional<Test> test_;

    QLabel* heading_ = nullptr;
    QComboBox* target_ = nullptr;
    QRadioButton* exactP0_ = nullptr;
    QRadioButton* typedP0_ = nullptr;
    QLineEdit* p0Text_ = nullptr;
    QLabel* p0Shown_ = nullptr;
    QRadioButton* countedN_ = nullptr;
    QRadioButton* typedN_ = nullptr;
    QSpinBox* n_ = nullptr;
    QSpinBox* k_ = nullptr;
    QComboBox* alpha_ = nullptr;
    QLineEdit* alphaText_ = nullptr;
    QComboBox* sided_ = nullptr;
    QLabel* region_ = nullptr;
    QLabel* actualAlpha_ = nullptr;
    QLabel* decision_ = nullptr;
    QLabel* problem_ = nullptr;
    BinomialChart* chart_ = nullptr;
    QPushButton* series_ = nullptr;
    QLabel* seriesResult_ = nullptr;
    QPushButton* reveal_ = nullptr;
    QLabel* weights_ = nullptr;
    QFutureWatcher<int> seriesWatcher_;
    std::optional<Test> seriesTest_;  // the test the running or last series was made for
    std::uint64_t seriesSeed_ = 0;
};

}  // namespace wexal::analysis
