#pragma once

#include "group_statistics.h"
#include "files/save_dialog.h"

#include <QWidget>
#include <vector>

class QTableView;

namespace kvt {

class TextGridModel;
class TrendChart;

// The field evaluation of the store: the statistics table of its objects and
// materials, and below it the trend of the group chosen in the table. A
// window of its own beside the main window; it copies its table to the
// clipboard and saves it as CSV.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(const FileCommandContext &files, QWidget *parent = nullptr);

    // Shows these series judged by these rules, in this language; the group
    // chosen in the table stays chosen while it exists.
    void showStatistics(std::vector<SeriesValues> series, const QList<RequirementRule> &rules, Language language);

    void copyTable();
    void saveAsCsv();

    const QList<QStringList> &grid() const;
    TrendChart *chart() const { return m_chart; }
    QTableView *table() const { return m_table; }

signals:
    // A point of the trend was clicked: its series' row in Table 1.
    void seriesChosen(int table1Row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setTexts();
    void markVerdicts();
    void showNamesWhole();
    void drawTrend();

    FileCommandContext m_files;
    std::vector<SeriesValues> m_series;
    QList<GroupStatistics> m_groups;
    TextGridModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    TrendChart *m_chart = nullptr;
};

} // namespace kvt
