#pragma once

#include "prepared_report.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>

class QPagedPaintDevice;
class QPaintDevice;

namespace kvt {

// A framed text's frame, and the room kept clear between a text and either
// side of its box; millimetres.
inline constexpr qreal ReportFrameWidth = 0.2;
inline constexpr qreal ReportTextPadding = 0.5;

// The report's font: the family the layout names, else a metric-compatible
// serif (Liberation Serif stands in for Times New Roman).
QFont reportFont(const QString &family, qreal pointSize);

// The font a text is drawn in on a device: its own size, or smaller where the
// text would be wider than its box, so that no cell runs into the next one
// and nothing is cut off.
QFont fittingFont(const QString &family, const ReportText &text, const QPaintDevice &device);

// A box filled under a page's texts: the preview's marks of search hits.
struct ReportMark {
    qsizetype page = 0; // counting from 0
    QRectF box;         // on the paper, in millimetres
    QColor color;
};

// Paints the pages on a printer or a PDF writer, one device page per report
// page, each text where the report places it on the paper, over its marks.
void paintReport(const PreparedReport &report, QPagedPaintDevice &device, const QList<ReportMark> &marks = {});

// The report as a PDF document, its pages the report's paper.
QByteArray reportPdf(const PreparedReport &report);

} // namespace kvt
