// Reading and writing the requirements of the settings file, for N = 500 and
// 2000 rules. Each use reads the file once, so four times the rules should
// take about four times as long; the goal allows six. A parser that reads the
// file again for every key takes sixteen times as long and more.

#include "evaluation/requirement_settings.h"
#include "goal_reporter.h"
#include "support/settings_file.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <iostream>
#include <map>

namespace {

constexpr double GoalRatio = 6.0;
constexpr int Small = 500;
constexpr int Large = 2000;

QTemporaryDir *folder = nullptr;
// Keyed by the number of rules, the benchmarks' argument.
std::map<int, QString> rulesFiles;

// Rules as the requirements editor writes them: Cyrillic names of the
// instrument's length, every optional value given, after the window's own keys.
QList<kvt::RequirementRule> sampleRules(int count)
{
    QList<kvt::RequirementRule> rules;
    for (int i = 0; i < count; ++i)
        rules << kvt::RequirementRule{QStringLiteral("Несущий слой %1").arg(i), QStringLiteral("Щебень фр. %1").arg(i % 13),
                                      100.0 + i % 50, 40.0 + i % 20, 25.0};
    return rules;
}

bool makeRulesFile(int count)
{
    const QString path = folder->filePath(QStringLiteral("rules-%1.ini").arg(count));
    kvt::SettingsFile settings(path);
    if (!settings.writeString(u"Config", u"LangId", QStringLiteral("Rus"))
        || !kvt::writeRequirementRules(settings, sampleRules(count)))
        return false;
    rulesFiles[count] = path;
    return true;
}

void BM_ReadRules(benchmark::State &state)
{
    const kvt::SettingsFile settings(rulesFiles[int(state.range(0))]);
    for (auto _ : state) {
        const auto rules = kvt::readRequirementRules(settings);
        if (!rules || rules->size() != state.range(0)) {
            state.SkipWithError("the rules did not read back");
            break;
        }
        benchmark::DoNotOptimize(rules);
    }
}

void BM_WriteRules(benchmark::State &state)
{
    const QList<kvt::RequirementRule> rules = sampleRules(int(state.range(0)));
    kvt::SettingsFile settings(rulesFiles[int(state.range(0))]);
    for (auto _ : state) {
        if (!kvt::writeRequirementRules(settings, rules)) {
            state.SkipWithError("the rules could not be written");
            break;
        }
    }
}

BENCHMARK(BM_ReadRules)->ArgName("rules")->Arg(Small)->Arg(Large)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRules)->ArgName("rules")->Arg(Small)->Arg(Large)->UseRealTime()->Unit(benchmark::kMillisecond);

class GrowthReporter : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        for (const char *function : {"BM_ReadRules", "BM_WriteRules"}) {
            const double small = seconds(function, "rules:" + std::to_string(Small));
            const double large = seconds(function, "rules:" + std::to_string(Large));
            if (small <= 0 || large <= 0)
                continue;
            const double ratio = large / small;
            goalLine(kvt::bench::format("%s, %d / %d rules: %.1f ms / %.1f ms = %.2f (goal <= %.0f)", function, Large,
                                        Small, large * 1e3, small * 1e3, ratio, GoalRatio),
                     ratio <= GoalRatio);
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    QTemporaryDir dir;
    folder = &dir;
    if (!dir.isValid() || !makeRulesFile(Small) || !makeRulesFile(Large)) {
        std::cerr << "cannot make the rules files in a temporary folder\n";
        return 1;
    }

    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
