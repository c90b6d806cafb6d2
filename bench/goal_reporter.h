#pragma once
// The console table of a benchmark program, followed by lines that hold its
// figures against their goals. Shared by the programs in this folder.

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace kvt::bench {

class GoalReporter : public benchmark::ConsoleReporter {
public:
    // Colours on a terminal, the plain table when the output goes elsewhere.
    GoalReporter();

    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override;

protected:
    // Real seconds per iteration of a benchmark with the given argument text
    // ("" for none, else as the table shows it, "impacts_per_series:5"): the
    // median when repetitions were run, else the fastest run. 0 when it did not
    // run, was filtered out or failed.
    double seconds(const std::string &function, const std::string &args = {}) const;
    // The argument texts in the order they first ran.
    const std::vector<std::string> &argsInOrder() const { return m_args; }

    // Called once every run is in: writes the program's lines through
    // goalLine and infoLine.
    virtual void reportGoals() = 0;
    // One line, marked when the goal is not met; counted for the verdict.
    void goalLine(const std::string &text, bool met);
    void infoLine(const std::string &text);

private:
    struct Timing {
        double median = 0;
        double fastest = 0;
    };
    std::vector<std::string> m_args;
    std::map<std::string, std::map<std::string, Timing>> m_timings;
    int m_goals = 0;
    int m_missed = 0;
};

// printf-style formatting into a std::string, for the goal lines.
std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));

} // namespace kvt::bench
