#pragma once

#include "chart/chart_curves.h"
#include "device/device_worker.h"
#include "device/link_display.h"
#include "files/measurement_file_commands.h"
#include "mainwindow/qt_translation.h"
#include "mainwindow/window_settings.h"
#include "namelists/name_list_editing.h"
#include "store/measurement_store.h"
#include "support/bilingual.h"
#include "support/settings_file.h"
#include "support/user_prompts.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdlib>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTableView;

namespace kvt {

class LinkIndicator;
class NameListEditor;
class SignalChart;
class StatisticsWindow;
class TLMThread;
class TextGridModel;

// The main window: the series table on the left, the impact table, the curve
// check boxes and the chart on the right, the status bar below. Its handlers
// are thin: they ask through UserPrompts, call the core and show the result.
class TForm1 : public QMainWindow, public LinkDisplay {
    Q_OBJECT
public:
    // With startDeviceWorker the worker starts as the last step of start-up and
    // looks for the instrument through the libusb named by KVT10_LIBUSB (else
    // the system's) and the pipes named by KVT10_PIPE_DEVICE.
    TForm1(MeasurementStore &store, SettingsFile &settings, UserPrompts &prompts, QString programFolder,
           bool startDeviceWorker = false, QWidget *parent = nullptr);
    ~TForm1() override;

    // Shows the window as start-up left it: maximised or at its bounds.
    void showAsStarted();

    Language language() const override { return m_language; }
    LinkShared &link() { return m_link; }
    // How Exit leaves when the worker does not stop in time; tests replace it.
    void setHardExit(std::function<void()> hardExit) { m_hardExit = std::move(hardExit); }
    TLMThread *deviceThread() const { return LMThreadUSB; }
    const DisplayModes &displayModes() const { return m_modes; }
    int table1Share() const { return m_table1Share; }

    // Commands.
    void AOpenExecute(std::optional<QString> fileName = std::nullopt);
    void ASaveExecute();
    void APrintExecute();
    void AExitExecute();
    void ALangRusExecute();
    void ALangEngExecute();
    void AMainHelpExecute();
    void AChmHelpExecute();
    void AAboutExecute();
    // The requirements editor; OK writes the rules to the settings file.
    void ARequirementsExecute();
    // Table 1's marks follow the rules in the settings file.
    void requirementsChanged();

    void AGaugeReadExecute();
    void AMaterialEditExecute();
    void AObjectEditExecute();
    void AScreenshotExecute();
    // One statistics window at a time; a second command brings it to the front.
    void AStatisticsExecute();
    StatisticsWindow *statisticsWindow() const;
    // At most one editor per list is open.
    bool materialEditorOpen() const;
    bool objectEditorOpen() const;
    NameListEditor *materialEditor() const;
    void ACopyTable1Execute();
    void ACopyBlockTable1Execute();
    void ACopyTable2Execute();
    void ACopyBlockTable2Execute();
    void ACopyGraphExecute();
    void ACopyGraphDataExecute();
    void itmCopyCalibrDataFClick();
    void itmCopyCalibrDataSClick();
    void ADelSeriesExecute();
    void ACopyAtoWavExecute();
    void ACopyVtoWavExecute();
    void ACopyStoWavExecute();
    void ACopyFtoWavExecute();
    void ACopyAllToWavExecute();
    void ACopyAtoCsvExecute();
    void ACopyVtoCsvExecute();
    void ACopyStoCsvExecute();
    void ACopyFtoCsvExecute();
    void ACopyAllToCsvExecute();
    void ADelImpactExecute();

    // The tables and the chart.
    void fillSeriesTable();
    void fillImpactTable(quint32 series);
    void StringGrid1Click();
    void StringGrid2Click();
    void DrawImpact(qint32 position);
    void CheckBoxAccelClick();

    void MenuFill();

    // The device worker's effects, on the window thread.
    void setStatusText(const QString &text) override;
    void setDeviceText(const QString &text) override;
    void setLinkIndicator(LinkColor color) override;
    void setProgress(std::optional<int> position) override;
    void finishRead(std::unique_ptr<MeasurementStore> result) override;
    void FormResize();
    void Splitter1CanResize(int proposedWidth);
    void AStringGridSelectCancelExecute(QTableView *grid);

signals:
    // The requirement rules in the settings file have changed.
    void requirementsChangedSignal();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // A .kvt file dropped on the window opens as if named on the command line.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate();
    // Sizes the framed window to the outer bounds of the settings, once.
    void fitOuterBounds();
    void createComponents();
    void createStatusBar();
    void createActions();
    void createContextMenus();
    QAction *action(const char *name) const;
    QMenu *exportMenu(const char *name, std::initializer_list<const char *> items);
    FileCommandContext fileContext();
    QAction *addAction(QMenu *menu, const char *name, void (TForm1::*handler)());
    void setLanguage(Language language, const QString &langId);
    void AOpenFromMenu();
    void setUpStandardView();
    void layOutRightPanel();
    // Table 2's height, the check boxes and the chart below it.
    void placeUnderImpactTable();
    void openHelp();
    void offerHelp(QWidget *window);
    NameListLink nameListLink();
    void showLoadedStatus(const OpenResult &result);
    void showMessage(const QString &text);
    // Red, with the rule as tooltip, where a series' mean modulus is below its rule.
    void markSeriesTable();
    bool noData();
    void putText(const QString &text);
    void copyBlock(QTableView *grid, const TextGridModel *model);
    // The selected block in grid coordinates (x columns, y rows); null when
    // nothing is selected.
    static QRect selectedBlock(const QTableView *grid);
    int currentSeriesRow() const;
    void setCurrentSeriesRow(int row);
    ChartOptions chartOptions() const;
    void refreshStatistics();
    // Makes a row of Table 1 current and shows its series, as a click on it does.
    void showSeriesRow(int row);
    WindowPlacement currentPlacement() const;
    CurveChecks currentChecks() const;

    MeasurementStore &m_store;
    SettingsFile &m_settings;
    UserPrompts &m_prompts;
    QString m_programFolder;

    Language m_language = Language::Russian;
    QtTranslation m_qtTexts; // Qt's own dialogs speak the program's language
    DisplayModes m_modes;
    int m_table1Share = 500;
    std::optional<WindowPlacement> m_outerBounds; // until the window's frame is known

    QSplitter *m_splitter = nullptr;
    QTableView *m_grid1 = nullptr;
    int m_rowBeforePress = -1; // Table 1's current row when a mouse button went down in it
    QTableView *m_grid2 = nullptr;
    TextGridModel *m_table1 = nullptr;
    TextGridModel *m_table2 = nullptr;
    QWidget *m_panelRight = nullptr;
    QCheckBox *m_checkBoxes[4] = {};
    SignalChart *m_chart = nullptr;
    QLabel *m_statusPanels[4] = {};
    QProgressBar *m_progressBar = nullptr;
    LinkIndicator *m_shapeLink = nullptr;
    QAction *m_langRus = nullptr;
    QAction *m_langEng = nullptr;

    LinkShared m_link;
    // The name lists' flags live as long as the program; editors come and go.
    NameListState m_materialList;
    NameListState m_objectList;
    QPointer<NameListEditor> m_materialEditor;
    QPointer<NameListEditor> m_objectEditor;
    QPointer<StatisticsWindow> m_statistics;
    SystemClock m_waitClock;
    DeviceWorker m_worker;
    TLMThread *LMThreadUSB = nullptr;
    bool m_startDeviceWorker;
    std::function<void()> m_hardExit = [] { std::_Exit(0); };
};

} // namespace kvt
