#include "csv_text.h"

#include <QRegularExpression>

namespace kvt {
namespace {

// A spreadsheet takes a field that begins with "=", "+", "-" or "@" for a
// formula; names come from the instrument, so such a name is opened with an
// apostrophe and stays text. Numbers ("-35,2") stay numbers.
QString defused(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d+(,\\d+)?$"));
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front()) || number.match(text).hasMatch())
        return text;
    return u'\'' + text;
}

QString csvField(const QString &field)
{
    const QString text = defused(field);
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray csvBytes(const QList<QStringList> &rows)
{
    QString csv;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &field : row)
            fields << csvField(field);
        csv += fields.join(u';') + QStringLiteral("\r\n");
    }
    return "\xEF\xBB\xBF" + csv.toUtf8();
}

} // namespace kvt
