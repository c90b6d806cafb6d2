#include "reading_archive.h"

#include "kvt_file.h"
#include "save_name.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <tuple>
#include <vector>

namespace kvt {
namespace {

// When a kept reading was made, from its name: "yymmdd.hhmm.kvt", then
// "yymmdd.hhmm-2.kvt", "-3", … for later reads in the same minute. Nothing for
// any other name: a file the user saved in the folder is not a kept reading.
using ReadingTime = std::tuple<QDate, QTime, int>; // the day, the minute, the copy

std::optional<ReadingTime> readingTime(const QString &fileName)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{6})\\.(\\d{4})(?:-(\\d+))?\\.kvt$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    // The names are made from this century's dates.
    const QDate day = QDate::fromString(QStringLiteral("20") + match.captured(1), QStringLiteral("yyyyMMdd"));
    const QTime minute = QTime::fromString(match.captured(2), QStringLiteral("HHmm"));
    if (!day.isValid() || !minute.isValid())
        return std::nullopt;
    return ReadingTime{day, minute, match.hasCaptured(3) ? match.captured(3).toInt() : 1};
}

} // namespace

QString readingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/KVT10/readings");
}

std::optional<QString> archiveReading(const MeasurementStore &store, const QDateTime &now, const QString &folder,
                                      int keep)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return std::nullopt;
    const QString name = defaultKvtFileName(now);
    QString path = dir.filePath(name);
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = dir.filePath(name.chopped(4) + QStringLiteral("-%1.kvt").arg(copy));
    if (saveKvtFile(path, store) != KvtSaveStatus::Saved)
        return std::nullopt;

    // Oldest first, by the time in the name: a file's modification time says
    // when it was last touched, not when it was read.
    std::vector<std::pair<ReadingTime, QString>> readings;
    for (const QString &fileName : dir.entryList({QStringLiteral("*.kvt")}, QDir::Files))
        if (const std::optional<ReadingTime> time = readingTime(fileName))
            readings.emplace_back(*time, dir.filePath(fileName));
    std::sort(readings.begin(), readings.end());
    for (std::size_t i = 0; i + std::size_t(keep) < readings.size(); ++i)
        QFile::remove(readings[i].second);
    return path;
}

} // namespace kvt
