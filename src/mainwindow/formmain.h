#pragma once

#include "files/measurement_file_commands.h"
#include "mainwindow/qt_prompts.h"
#include "store/measurement_store.h"
#include "support/settings_file.h"

#include <QLabel>
#include <QMainWindow>

namespace kvt {

// The main window. For now it holds the store, opens the measurement file named
// on the command line and reports what it loaded in the status bar.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(MeasurementStore &store, SettingsFile &settings, QString programFolder, QWidget *parent = nullptr);

    // Opens a file: the named one, or one chosen in the open dialog.
    void AOpenExecute(std::optional<QString> fileName = std::nullopt);

private:
    MeasurementStore &m_store;
    QtPrompts m_prompts;
    FileCommandContext m_files;
    QLabel *m_fileStatus;
    QLabel *m_countStatus;
};

} // namespace kvt
