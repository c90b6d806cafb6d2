#include "report_rtf.h"

#include "report_painter.h"
#include "support/windows1251.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QtMath>

namespace kvt {
namespace {

constexpr qreal TwipsPerMillimetre = 1440 / 25.4;

// Word processors want a paragraph after every table. These are a point high,
// so that one never pushes a full page's last row on to the next page; the
// second one starts a page, and word processors keep to a break before a
// paragraph more surely than to a page break character after a table.
constexpr char TableEnd[] = "\\pard\\plain\\sl-20\\slmult0\\par\n";
constexpr char PageStart[] = "\\pard\\plain\\pagebb\\sl-20\\slmult0\\par\n";

QByteArray twips(qreal millimetres)
{
    return QByteArray::number(qRound(millimetres * TwipsPerMillimetre));
}

QByteArray rtfText(QStringView text)
{
    QByteArray rtf;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            rtf += '\\';
            rtf += char(unit);
        } else if (unit >= 0x20 && unit < 0x7F) {
            rtf += char(unit);
        } else {
            // \uN takes a signed 16-bit number; a surrogate half has no
            // Windows-1251 byte and falls back to "?" on its own.
            rtf += "\\u" + QByteArray::number(qint16(unit));
            const auto byte = uchar(toWindows1251(text.mid(i, 1)).at(0));
            rtf += byte >= 0x80 ? "\\'" + QByteArray::number(byte, 16) : QByteArray("?");
        }
    }
    return rtf;
}

// The page footer stands once for every page, so the number of the page it
// was taken from becomes a PAGE field that the word processor fills in on
// each page; that page's number is the field's result until it does.
QByteArray numberedText(const QString &text, int pageNumber)
{
    const QString number = QString::number(pageNumber);
    const qsizetype at = text.indexOf(number);
    if (at < 0)
        return rtfText(text);
    return rtfText(QStringView(text).left(at)) + "{\\field{\\*\\fldinst PAGE}{\\fldrslt " + number.toLatin1() + "}}" +
           rtfText(QStringView(text).mid(at + number.size()));
}

// A band as one table row, its cells measured from the left margin. Borders
// stand on the cell edges: no gap between the cells, whose readers differ on
// where a gap leaves the edge.
QByteArray bandRow(const PreparedReport &report, const PreparedBand &band, const QPaintDevice &measure,
                   int footerPage = 0)
{
    if (band.texts.isEmpty())
        return {};
    const qreal margin = report.page.margins.left();
    qreal height = 0;
    for (const ReportText &text : band.texts)
        height = qMax(height, text.box.height());
    QByteArray row = "\\trowd\\trleft" + twips(band.texts.first().box.left() - margin) + "\\trgaph0\\trrh-" + twips(height);
    QByteArray cells;
    const QByteArray frame = "\\brdrs\\brdrw" + twips(ReportFrameWidth);
    for (const ReportText &text : band.texts) {
        if (text.framed)
            row += "\\clbrdrt" + frame + "\\clbrdrl" + frame + "\\clbrdrb" + frame + "\\clbrdrr" + frame;
        row += "\\clvertalc\\cellx" + twips(text.box.right() - margin);
        // Half points, rounded down: a size that fits stays within its box.
        const int size = qFloor(2 * fittingFont(report.fontFamily, text, measure).pointSizeF() + 1e-6);
        cells += "\\pard\\plain\\intbl\\qc\\f0\\fs" + QByteArray::number(size) + ' ' +
                 (footerPage > 0 ? numberedText(text.text, footerPage) : rtfText(text.text)) + "\\cell\n";
    }
    return row + '\n' + cells + "\\row\n";
}

// The paper, the margins and the page footer, which lies on the
// bottom margin as on the report's pages and is left off the first page where
// the report leaves it off.
QByteArray pageSetup(const PreparedReport &report, const QPaintDevice &measure)
{
    const PageSetup &page = report.page;
    QByteArray rtf = "\\paperw" + twips(page.paper.width()) + "\\paperh" + twips(page.paper.height()) + "\\margl" +
                     twips(page.margins.left()) + "\\margr" + twips(page.margins.right()) + "\\margt" +
                     twips(page.margins.top()) + "\\margb" + twips(page.margins.bottom()) + "\n\\sectd\\footery" +
                     twips(page.margins.bottom());
    for (qsizetype number = 0; number < report.pages.size(); ++number) {
        for (const PreparedBand &band : report.pages[number].bands) {
            if (band.kind == BandKind::PageFooter)
                return rtf + (number > 0 ? "\\titlepg" : "") + "\n{\\footer\n" +
                       bandRow(report, band, measure, int(number) + 1) + TableEnd + "}\n";
        }
    }
    return rtf + '\n';
}

} // namespace

QByteArray reportRtf(const PreparedReport &report)
{
    // Texts are fitted to their boxes as on the PDF's pages.
    QBuffer nowhere;
    const QPdfWriter measure(&nowhere);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\uc1\\deff0\n{\\fonttbl{\\f0\\froman\\fcharset204 " +
                     rtfText(report.fontFamily) + ";}}\n" + pageSetup(report, measure);
    for (qsizetype number = 0; number < report.pages.size(); ++number) {
        if (number > 0)
            rtf += PageStart;
        for (const PreparedBand &band : report.pages[number].bands)
            if (band.kind != BandKind::PageFooter)
                rtf += bandRow(report, band, measure);
    }
    return rtf + TableEnd + "}\n";
}

} // namespace kvt
