#pragma once

#include "mainwindow/formmain.h"
#include "mainwindow/qt_prompts.h"
#include "store/measurement_store.h"
#include "support/settings_file.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace kvt {

// The program as it starts: its settings file (beside the program, else in the
// user's configuration folder), one store, the Qt dialogs and the main window
// with its device worker, shown, and then the file the arguments name opened.
// The caller runs the event loop.
class ProgramStart {
public:
    ProgramStart(const QString &programFolder, const QStringList &arguments);

    TForm1 &window() { return m_window; }

private:
    SettingsFile m_settings;
    std::unique_ptr<MeasurementStore> m_store = std::make_unique<MeasurementStore>();
    QtPrompts m_prompts;
    TForm1 m_window;
};

} // namespace kvt
