// The statistics window: the user's practice history as a heat map on the staff and the
// keyboard (accuracy or median answer time per pitch), answers and accuracy per day, the most
// frequent confusions, filters by exercise, answer input and period, export to CSV, and the
// option to practise weak notes more often. The numbers come from StatisticsReport; the window
// only shows them. User-interface thread only.
#pragma once

#include "history/HistoryQueries.h"
#include "statistics/StatisticsReport.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tessimo {

class DailyChartWidget;
class HeatMapWidget;

// Whose history the window shows and how it reaches the rest of the program.
struct StatisticsSource {
    QString userName;        // empty for the default user
    std::string historyPath; // empty when the user's name allows no history file
    int convention = 0;      // the naming convention of the settings
    // Milliseconds since 1970 (UTC); the system clock when empty.
    std::function<std::int64_t()> now;
    // The weak-spot practice preference, and its change (returns "" or why it was not saved).
    std::function<bool()> weakSpotPractice;
    std::function<QString(bool on)> setWeakSpotPractice;
};

class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsWindow(StatisticsSource source, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    // Shows another user's history (or the same one with new settings), read afresh.
    void setSource(StatisticsSource source);
    // Reads the history again for the filters as chosen.
    void refresh();

    // Writes the answers the filters take as CSV to path (atomically); false with the reason
    // in error when it cannot.
    bool exportTo(const QString& path, QString* error) const;

    const StatisticsReport& report() const { return report_; }
    HeatMapWidget* heatMap() const { return heatMap_; }
    DailyChartWidget* chart() const { return chart_; }
    QTreeWidget* confusionList() const { return confusions_; }
    QComboBox* exerciseBox() const { return exercise_; }
    QComboBox* inputBox() const { return input_; }
    QComboBox* periodBox() const { return period_; }
    QComboBox* measureBox() const { return measure_; }
    QCheckBox* weakSpotBox() const { return weakSpots_; }
    QPushButton* exportButton() const { return export_; }
    QString summaryText() const;

private:
    StatisticsChoice currentChoice() const;
    void showReport();
    void showMeasure();
    void chooseExportFile();
    void weakSpotsToggled(bool on);

    StatisticsSource source_;
    std::unique_ptr<HistoryQueries> queries_;
    StatisticsReport report_;
    QString problem_; // why the history cannot be read, or empty

    QComboBox* exercise_ = nullptr;
    QComboBox* input_ = nullptr;
    QComboBox* period_ = nullptr;
    QComboBox* measure_ = nullptr;
    QPushButton* export_ = nullptr;
    HeatMapWidget* heatMap_ = nullptr;
    DailyChartWidget* chart_ = nullptr;
    QTreeWidget* confusions_ = nullptr;
    QLabel* summary_ = nullptr;
    QCheckBox* weakSpots_ = nullptr;
};

} // namespace tessimo
