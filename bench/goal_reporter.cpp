#include "goal_reporter.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <unistd.h>

namespace kvt::bench {

GoalReporter::GoalReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular)
{
}

void GoalReporter::ReportRuns(const std::vector<Run> &reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run &run : reports) {
        if (run.error_occurred || run.iterations == 0)
            continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type != Run::RT_Iteration && !median)
            continue;
        // An aggregate's iterations are those of one repetition, so this is
        // per iteration in both cases.
        const double perIteration = run.real_accumulated_time / double(run.iterations);
        if (std::find(m_args.begin(), m_args.end(), run.run_name.args) == m_args.end())
            m_args.push_back(run.run_name.args);
        Timing &timing = m_timings[run.run_name.function_name][run.run_name.args];
        if (median)
            timing.median = perIteration;
        else if (timing.fastest == 0 || perIteration < timing.fastest)
            timing.fastest = perIteration;
    }
}

double GoalReporter::seconds(const std::string &function, const std::string &args) const
{
    const auto byFunction = m_timings.find(function);
    if (byFunction == m_timings.end())
        return 0;
    const auto found = byFunction->second.find(args);
    if (found == byFunction->second.end())
        return 0;
    return found->second.median > 0 ? found->second.median : found->second.fastest;
}

void GoalReporter::goalLine(const std::string &text, bool met)
{
    ++m_goals;
    if (!met)
        ++m_missed;
    GetOutputStream() << text << (met ? "" : "  NOT MET") << '\n';
}

void GoalReporter::infoLine(const std::string &text)
{
    GetOutputStream() << text << '\n';
}

void GoalReporter::Finalize()
{
    reportGoals();
    if (m_goals == 1)
        GetOutputStream() << (m_missed ? "goal not met\n" : "goal met\n");
    else if (m_goals > 1)
        GetOutputStream() << "goals met: " << m_goals - m_missed << " of " << m_goals << '\n';
    ConsoleReporter::Finalize();
}

std::string format(const char *pattern, ...)
{
    char line[300];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(line, sizeof line, pattern, arguments);
    va_end(arguments);
    return line;
}

} // namespace kvt::bench
