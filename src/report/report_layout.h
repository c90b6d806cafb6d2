#pragma once

#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace kvt {

// A banded report's design. Every length is in millimetres.

struct PageSetup {
    QSizeF paper{210, 297}; // A4 portrait
    QMarginsF margins;      // left, top, right, bottom
};

enum class BandKind { ReportTitle, PageHeader, MasterData, PageFooter };

// A text of a band, placed relative to the band's top left corner on the
// printable area. "[name]" in the text stands for that variable's value and
// "[PAGE#]" for the page number. Every text is centred both ways in its box.
struct ReportMemo {
    QRectF box;
    QString text;
    qreal pointSize = 10;
    bool framed = false;
};

struct ReportBand {
    BandKind kind = BandKind::MasterData;
    qreal height = 0;
    QList<ReportMemo> memos;
    bool onFirstPage = true; // a page footer may leave the first page out
};

// One band of each kind at most: the title once at the top of the first page,
// the page header on every page, the master data once per record of the data
// set, the page footer at the bottom of the pages it is printed on.
struct ReportLayout {
    PageSetup page;
    QString fontFamily;
    QList<ReportBand> bands;
};

} // namespace kvt
