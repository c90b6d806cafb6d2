#include "report_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

namespace kvt {
namespace {

constexpr qreal MillimetresPerInch = 25.4;

} // namespace

QFont reportFont(const QString &family, qreal pointSize)
{
    QFont font;
    font.setFamilies({family, QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(pointSize);
    return font;
}

QFont fittingFont(const QString &family, const ReportText &text, const QPaintDevice &device)
{
    QFont font = reportFont(family, text.pointSize);
    const qreal room = (text.box.width() - 2 * ReportTextPadding) * device.logicalDpiX() / MillimetresPerInch;
    const qreal width = QFontMetricsF(font, &device).horizontalAdvance(text.text);
    if (width > room && room > 0)
        font.setPointSizeF(text.pointSize * room / width);
    return font;
}

void paintReport(const PreparedReport &report, QPagedPaintDevice &device, const QList<ReportMark> &marks)
{
    QPainter painter;
    if (!painter.begin(&device))
        return; // a printer that failed has told the user itself
    // Fonts are sized in points against the device's resolution; boxes are
    // scaled here, so lines stay sharp at any resolution.
    const qreal dotsX = device.logicalDpiX() / MillimetresPerInch;
    const qreal dotsY = device.logicalDpiY() / MillimetresPerInch;
    const auto onDevice = [dotsX, dotsY](const QRectF &box) {
        return QRectF(box.left() * dotsX, box.top() * dotsY, box.width() * dotsX, box.height() * dotsY);
    };
    // Boxes are measured from the paper's corner, wherever the device's origin is.
    painter.translate(-device.pageLayout().paintRectPixels(device.logicalDpiX()).topLeft());
    painter.setPen(QPen(Qt::black, ReportFrameWidth * dotsX));
    for (qsizetype page = 0; page < report.pages.size(); ++page) {
        if (page > 0)
            device.newPage();
        for (const ReportMark &mark : marks)
            if (mark.page == page)
                painter.fillRect(onDevice(mark.box), mark.color);
        for (const PreparedBand &band : report.pages[page].bands) {
            for (const ReportText &text : band.texts) {
                const QRectF box = onDevice(text.box);
                if (text.framed)
                    painter.drawRect(box);
                painter.setFont(fittingFont(report.fontFamily, text, device));
                painter.drawText(box, int(text.alignment), text.text);
            }
        }
    }
}

QByteArray reportPdf(const PreparedReport &report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(report.page.paper, QPageSize::Millimeter), QPageLayout::Portrait,
                                         QMarginsF(), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("KVT-1.0"));
        paintReport(report, writer);
    }
    return buffer.data();
}

} // namespace kvt
