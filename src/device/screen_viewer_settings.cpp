#include "screen_viewer_settings.h"

namespace kvt {
namespace {

const QString Section = QStringLiteral("Screenshot");
constexpr int PositionBuffer = 10;
constexpr int ColorBuffer = 20;
constexpr int BluePen = 16711680;
constexpr int WhiteBackground = 16777215;
// A viewer pushed up from below the screen's edge leaves room for a task bar.
constexpr int BottomAllowance = 25;

} // namespace

ScreenViewerSettings readScreenViewerSettings(const SettingsFile &settings, const QRect &mainWindow,
                                              const QSize &viewer, const QSize &screen)
{
    ScreenViewerSettings result;
    const int centredLeft = mainWindow.left() + (mainWindow.width() - viewer.width()) / 2;
    const int centredTop = mainWindow.top() + (mainWindow.height() - viewer.height()) / 2;

    int left = settings.readInteger(Section, u"Left", centredLeft, centredLeft, PositionBuffer);
    if (screen.width() - viewer.width() < left)
        left = screen.width() - viewer.width();
    else if (left < 0)
        left = 0;
    int top = settings.readInteger(Section, u"Top", centredTop, centredTop, PositionBuffer);
    if (screen.height() - viewer.height() < top)
        top = screen.height() - viewer.height() - BottomAllowance;
    else if (top < 0)
        top = 0;
    result.position = {left, top};

    result.penColor = settings.readInteger(Section, u"PenColor", DefaultPenColor, BluePen, ColorBuffer);
    result.backgroundColor =
        settings.readInteger(Section, u"BackgroundColor", DefaultBackgroundColor, WhiteBackground, ColorBuffer);
    return result;
}

void writeScreenViewerPosition(SettingsFile &settings, const QPoint &position)
{
    settings.writeString(Section, u"Left", QString::number(position.x()));
    settings.writeString(Section, u"Top", QString::number(position.y()));
}

void writePenColor(SettingsFile &settings, int color)
{
    settings.writeString(Section, u"PenColor", QString::number(color));
}

void writeBackgroundColor(SettingsFile &settings, int color)
{
    settings.writeString(Section, u"BackgroundColor", QString::number(color));
}

} // namespace kvt
