#pragma once

#include <QtGlobal>

namespace kvt {

// What the flowing exports build from a report at most. A report file within
// the reader's limits is still small beside what it can ask for: a thousand
// column heads over twenty thousand empty records make a table of twenty
// million cells, a text ten metres in makes five thousand blanks a line. A
// report beyond these bounds is no report of this program, whose largest (the
// instrument's 3557 impacts as one-impact series, with the summary page) has
// a table of 7 columns and one of 10, about 60,000 cells in all, and lines of
// plain text that start their texts within 100 characters of the margin.
namespace report_bounds {
inline constexpr qsizetype Columns = 100;    // of any one table
inline constexpr qsizetype Cells = 200'000;  // of all tables together, each column a cell spans counted
inline constexpr qsizetype LineStart = 1000; // where a text may start on a line of plain text, in characters
inline constexpr qsizetype PlainTextCharacters = 32 * 1024 * 1024; // as many as a report file may have bytes
} // namespace report_bounds

} // namespace kvt
