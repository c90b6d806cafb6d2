#pragma once

#include "group_statistics.h"
#include "support/bilingual.h"

#include <QList>
#include <QStringList>

namespace kvt {

constexpr int StatisticsColumns = 21;

// The statistics as a text grid: one header row, then one row a group. Moduli
// read "0.0" and requirements with every decimal they were given, both with
// the decimal comma (the judgement uses them exactly); counts and the
// share in percent "0"; what is not defined (the deviation of one series, a
// rule's missing static modulus, everything of the rule for a group without
// one) is an empty cell. The clipboard takes it as tableText
// (mainwindow/clipboard_texts.h), a CSV file as csvBytes (support/csv_text.h).
QList<QStringList> statisticsGrid(const QList<GroupStatistics> &groups, Language language);

QString verdictText(Verdict verdict, Language language);

// Why the group does not meet its rule, in words ("a CV needs at least two
// series"); empty unless its verdict is "does not meet".
QString verdictReasonText(const GroupStatistics &group, Language language);

} // namespace kvt
