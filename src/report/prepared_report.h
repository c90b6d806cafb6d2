#pragma once

#include "report_layout.h"
#include "user_data_set.h"

#include <functional>

namespace kvt {

// A report laid out on pages: every text with its box on the paper
// (millimetres from the paper's top left corner) and its variables replaced.
struct PreparedBand {
    BandKind kind = BandKind::MasterData;
    QList<ReportText> texts;
};

struct PreparedPage {
    QList<PreparedBand> bands; // top to bottom
};

struct PreparedReport {
    PageSetup page;
    QString fontFamily;
    QList<PreparedPage> pages;
};

// Asked for the value of a variable by name; a name the program does not
// know leaves the value as the engine had it (empty).
using ReportVariables = std::function<void(const QString &name, QString &value)>;

// Lays the bands out on as many pages as the records need. A record that fits
// on no page still gets a page of its own, so preparing always ends.
PreparedReport prepareReport(const ReportLayout &layout, UserDataSet &data, const ReportVariables &variables);

// Goes on with a prepared report in another layout on the same page: its
// bands start a new page, its title at the top of that page, and the pages
// are numbered on from the report's, so a page footer that leaves the first
// page out counts the report's first page as its own.
void appendReport(PreparedReport &report, const ReportLayout &layout, UserDataSet &data,
                  const ReportVariables &variables);

// A text with "[name]" replaced by the variable's value and "[PAGE#]" by the page number.
QString expandVariables(const QString &text, int pageNumber, const ReportVariables &variables);

} // namespace kvt
