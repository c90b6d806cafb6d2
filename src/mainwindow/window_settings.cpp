#include "window_settings.h"

namespace kvt {

using namespace Qt::StringLiterals;
namespace {

// Start-up values were read into 10-byte buffers: at most 9 characters count.
constexpr int ValueBuffer = 10;

QString readValue(const SettingsSnapshot &settings, QStringView section, QStringView key, const QString &defaultValue)
{
    return settings.readString(section, key, defaultValue, ValueBuffer);
}

int readInteger(const SettingsSnapshot &settings, QStringView section, QStringView key, int defaultValue)
{
    return settings.readInteger(section, key, defaultValue, defaultValue, ValueBuffer);
}

// Flags are judged by their first character, case-sensitively.
bool startsWith(const QString &value, char16_t first)
{
    return !value.isEmpty() && value.front() == first;
}

bool readCheck(const SettingsSnapshot &settings, QStringView key, bool defaultChecked)
{
    return !startsWith(readValue(settings, u"Config", key, defaultChecked ? u"Y"_s : u"N"_s), u'N');
}

} // namespace

StartupSettings readStartupSettings(const SettingsFile &file, const QRect &screen)
{
    const SettingsSnapshot settings = file.read();
    StartupSettings result;
    result.refusal = settings.refusal();

    const QString langId = settings.readString(u"Config", u"LangId", QString(), ValueBuffer);
    if (!langId.isEmpty())
        result.langId = langId;

    WindowPlacement &window = result.placement;
    window.width = qMin(readInteger(settings, u"FormMain", u"Width", 500), screen.width());
    window.height = qMin(readInteger(settings, u"FormMain", u"Height", 400), screen.height());
    window.table1Share = qBound(50, readInteger(settings, u"FormMain", u"Table1Width", 500), 950);

    const int rightmost = screen.left() + screen.width() - window.width;
    window.left = readInteger(settings, u"FormMain", u"Left", screen.left() + (screen.width() - window.width) / 2);
    if (window.left > rightmost)
        window.left = rightmost;
    else if (window.left < screen.left())
        window.left = screen.left();

    // Past the bottom the window goes 25 pixels higher than the plain limit,
    // clear of a task bar; never above the top.
    const int lowest = screen.top() + screen.height() - window.height;
    window.top = readInteger(settings, u"FormMain", u"Top", screen.top() + (screen.height() - window.height) / 2);
    if (window.top > lowest)
        window.top = qMax(lowest - 25, screen.top());
    else if (window.top < screen.top())
        window.top = screen.top();

    window.maximized = startsWith(readValue(settings, u"FormMain", u"Maximized", u"0"_s), u'1');

    result.modes.fullView = !startsWith(readValue(settings, u"Config", u"Super", u"N"_s), u'N');
    result.checks.accel = readCheck(settings, u"AccelGraph", false);
    result.checks.velocity = readCheck(settings, u"VelocityGraph", false);
    result.checks.displacement = readCheck(settings, u"DisplacementGraph", true);
    result.checks.force = readCheck(settings, u"ForceGraph", true);
    result.modes.longCurves = startsWith(readValue(settings, u"Config", u"LongGraph", u"N"_s), u'Y');
    result.modes.codeView = startsWith(readValue(settings, u"Config", u"Code", u"N"_s), u'Y');
    return result;
}

void countStart(SettingsFile &settings)
{
    const int uses = readInteger(settings.read(), u"Config", u"Uses", 0);
    settings.writeString(u"Config", u"Uses", QString::number(uses + 1));
}

void writeExitSettings(SettingsFile &settings, const WindowPlacement &placement, const CurveChecks &checks)
{
    if (placement.maximized) {
        settings.writeString(u"FormMain", u"Maximized", u"1"_s);
    } else {
        settings.writeString(u"FormMain", u"Maximized", u"0"_s);
        settings.writeString(u"FormMain", u"Left", QString::number(placement.left));
        settings.writeString(u"FormMain", u"Top", QString::number(placement.top));
        settings.writeString(u"FormMain", u"Width", QString::number(placement.width));
        settings.writeString(u"FormMain", u"Height", QString::number(placement.height));
        settings.writeString(u"FormMain", u"Table1Width", QString::number(placement.table1Share));
    }
    const auto flag = [](bool checked) { return checked ? u"Y"_s : u"N"_s; };
    settings.writeString(u"Config", u"AccelGraph", flag(checks.accel));
    settings.writeString(u"Config", u"VelocityGraph", flag(checks.velocity));
    settings.writeString(u"Config", u"DisplacementGraph", flag(checks.displacement));
    settings.writeString(u"Config", u"ForceGraph", flag(checks.force));
}

} // namespace kvt
