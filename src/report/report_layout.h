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

// A text of a band. In a design its box is relative to the band's top left
// corner on the printable area, and "[name]" in it stands for that variable's
// value, "[PAGE#]" for the page number; once prepared, its box is on the paper
// and its variables are replaced. A text is centred both ways in its box unless
// its alignment says otherwise.
struct ReportText {
    QRectF box;
    QString text;
    qreal pointSize = 10;
    bool framed = false;
    Qt::Alignment alignment = Qt::AlignCenter;
};

struct ReportBand {
    BandKind kind = BandKind::MasterData;
    qreal height = 0;
    QList<ReportText> texts;
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
