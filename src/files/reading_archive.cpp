#include "reading_archive.h"

#include "kvt_file.h"
#include "save_name.h"

#include <QDir>
#include <QStandardPaths>

namespace kvt {

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

    // Oldest first: the names begin with the date and time.
    QFileInfoList readings = dir.entryInfoList({QStringLiteral("*.kvt")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (qsizetype i = 0; i + keep < readings.size(); ++i)
        QFile::remove(readings[i].filePath());
    return path;
}

} // namespace kvt
