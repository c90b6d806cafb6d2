#pragma once

#include <QString>

#include <cstdio>

namespace kvt {

// The command-line tool writes UTF-8 with LF line ends, whatever the locale.
inline void writeUtf8(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// Exit statuses: 0 success, 1 a failure reported with the program's message, 2 bad usage.
enum CliExit { CliSuccess = 0, CliFailure = 1, CliUsage = 2 };

} // namespace kvt
