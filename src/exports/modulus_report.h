#pragma once

#include "report/prepared_report.h"
#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// The printed report of the measured modulus values: one line per series,
// Table 1's data rows as the table shows them, under a title and framed column
// heads. It reads Table 1's cell texts, never the store.
class ModulusReport {
public:
    // table1: Table 1's cells, [row][column], its two header rows first.
    ModulusReport(QList<QStringList> table1, Language language);
    ModulusReport(const ModulusReport &) = delete;
    ModulusReport &operator=(const ModulusReport &) = delete;

    // A fresh report on the page given, A4 with the report's margins unless
    // the user set the page up otherwise.
    PreparedReport prepare(const PageSetup &page = defaultPage());

    // The values the report asks for by name; any other name keeps its value.
    void getValue(const QString &name, QString &value) const;

    // Record r stands for Table 1's row r + 2.
    UserDataSet frxUserDataSet1{QStringLiteral("frxUserDataSet1")};

    static PageSetup defaultPage();
    static ReportLayout layout();

private:
    int rowCount() const { return int(m_table1.size()); }

    QList<QStringList> m_table1;
    Language m_language;
};

} // namespace kvt
