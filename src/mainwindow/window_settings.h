#pragma once

#include "support/settings_file.h"

#include <QRect>
#include <QString>
#include <optional>

namespace kvt {

// Where the main window opens and what it shows, as the settings file and the
// screen decide at start. Fixed for the whole run once read.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 500;
    int height = 400;
    bool maximized = false;
    int table1Share = 500; // Table 1's width in thousandths of the client width
};

struct DisplayModes {
    bool fullView = false;   // standard view hides the a(t), v(t) boxes and their exports
    bool longCurves = false; // 512 instead of 312 samples drawn
    bool codeView = false;   // raw codes in the chart
};

struct CurveChecks {
    bool accel = false;
    bool velocity = false;
    bool displacement = true;
    bool force = true;
};

struct StartupSettings {
    std::optional<QString> langId; // absent or empty: the language dialog is shown
    WindowPlacement placement;
    DisplayModes modes;
    CurveChecks checks;
    // A settings file that is there but could not be read: the values above
    // are the defaults, and the user is told why.
    std::optional<SettingsRefusal> refusal;
};

// Reads every start-up key, from one reading of the file, with its default, clamp and first-character rule.
// The window's outer bounds are kept on the screen's available area (less its
// panels and task bars), so its status bar never lies below the edge. A size
// or position that is not a decimal integer falls back to its default.
StartupSettings readStartupSettings(const SettingsFile &settings, const QRect &screen);

// Counts one more start in "Uses".
void countStart(SettingsFile &settings);

// What exit keeps: a maximised window writes only Maximized=1, so that its
// restored bounds from an earlier run stay.
void writeExitSettings(SettingsFile &settings, const WindowPlacement &placement, const CurveChecks &checks);

} // namespace kvt
