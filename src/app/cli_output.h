#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace kvt {

// The command-line tool writes UTF-8 with LF line ends, whatever the locale.
inline void writeUtf8(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// One cell of a tab-separated row, or one entry of a list a line each: a TAB
// or a line break in a name (a measurement file or an instrument can hold
// any) would start a cell or a row of its own, so each becomes a blank, as NUL does.
inline QString oneCell(QString text)
{
    for (QChar &character : text) {
        if (character == u'\t' || character == u'\n' || character == u'\r' || character == u'\0')
            character = u' ';
    }
    return text;
}

// The cells as one tab-separated line.
inline QString tabSeparatedLine(const QStringList &cells)
{
    QStringList line;
    line.reserve(cells.size());
    for (const QString &cell : cells)
        line << oneCell(cell);
    return line.join(u'\t') + u'\n';
}

// Exit statuses: 0 success, 1 a failure reported with the program's message, 2 bad usage.
enum CliExit { CliSuccess = 0, CliFailure = 1, CliUsage = 2 };

} // namespace kvt
