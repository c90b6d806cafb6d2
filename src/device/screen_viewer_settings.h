#pragma once

#include "support/settings_file.h"

#include <QRect>
#include <QSize>

namespace kvt {

// Colours are the system's colour numbers: red in the low byte, then green, then blue.
constexpr int DefaultPenColor = 2436127;         // red 31, green 44, blue 37
constexpr int DefaultBackgroundColor = 15395553; // red 225, green 234, blue 234

struct ScreenViewerSettings {
    QPoint position;
    int penColor = DefaultPenColor;
    int backgroundColor = DefaultBackgroundColor;
};

// Section "Screenshot": the viewer's place, centred on the main window unless
// remembered and kept on the screen, and its two colours.
ScreenViewerSettings readScreenViewerSettings(const SettingsFile &settings, const QRect &mainWindow,
                                              const QSize &viewer, const QSize &screen);

void writeScreenViewerPosition(SettingsFile &settings, const QPoint &position);
void writePenColor(SettingsFile &settings, int color);
void writeBackgroundColor(SettingsFile &settings, int color);

} // namespace kvt
