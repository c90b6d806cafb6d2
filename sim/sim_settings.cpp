#include "sim_settings.h"

#include <cstdio>

#include <QtGlobal>

namespace kvt::sim {

SimSettings settingsFrom(const QString &data, const QString &impacts, const QString &faults, const QString &timing,
                         const QString &strict)
{
    SimSettings settings;
    settings.dataPath = data;

    if (!impacts.isEmpty()) {
        bool ok = false;
        settings.fullImpacts = impacts.toInt(&ok);
        if (!ok || settings.fullImpacts < 0) {
            settings.warnings << QStringLiteral("KVT10_SIM_IMPACTS=%1 is not a count; using the demo series").arg(impacts);
            settings.fullImpacts = -1;
        } else if (settings.fullImpacts > int(DirectoryScanLimit)) {
            settings.warnings << QStringLiteral("KVT10_SIM_IMPACTS=%1 is more than the instrument holds; using %2")
                                     .arg(impacts).arg(DirectoryScanLimit);
            settings.fullImpacts = int(DirectoryScanLimit);
        }
    }

    ParsedFaults parsed = parseFaultPlan(faults);
    settings.faults = parsed.plan;
    for (const QString &item : parsed.unknownItems)
        settings.warnings << QStringLiteral("ignoring the unknown fault \"%1\" in KVT10_SIM_FAULTS").arg(item);

    if (strict == u"1")
        settings.strictness = Strictness::Strict;
    else if (!strict.isEmpty() && strict != u"0")
        settings.warnings << QStringLiteral("KVT10_SIM_STRICT=%1 is neither 0 nor 1; the instrument is lenient")
                                 .arg(strict);
    // A strict instrument is a slow one too, unless the faults say otherwise.
    if (settings.strictness == Strictness::Strict && !settings.faults.earlyInput)
        settings.faults.earlyInput = EarlyInput::Lost;

    if (timing == u"fullspeed")
        settings.fullSpeed = true;
    else if (!timing.isEmpty())
        settings.warnings << QStringLiteral("KVT10_SIM_TIMING=%1 is unknown; transfers take no time").arg(timing);
    return settings;
}

SimSettings settingsFromEnvironment()
{
    return settingsFrom(qEnvironmentVariable("KVT10_SIM_DATA"), qEnvironmentVariable("KVT10_SIM_IMPACTS"),
                        qEnvironmentVariable("KVT10_SIM_FAULTS"), qEnvironmentVariable("KVT10_SIM_TIMING"),
                        qEnvironmentVariable("KVT10_SIM_STRICT"));
}

InstrumentContent contentFor(const SimSettings &settings, QStringList *warnings)
{
    if (!settings.dataPath.isEmpty()) {
        QString whyNot;
        if (std::optional<InstrumentContent> content = contentFromKvtFile(settings.dataPath, &whyNot))
            return std::move(*content);
        *warnings << QStringLiteral("KVT10_SIM_DATA: %1; using the demo series").arg(whyNot);
        return demoContent();
    }
    if (settings.fullImpacts >= 0)
        return fullContent(settings.fullImpacts);
    return demoContent();
}

InstrumentContent contentFromEnvironment(const char *program, SimSettings &settings)
{
    settings = settingsFromEnvironment();
    QStringList warnings = settings.warnings;
    InstrumentContent content = contentFor(settings, &warnings);
    for (const QString &warning : warnings)
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(warning));
    return content;
}

} // namespace kvt::sim
