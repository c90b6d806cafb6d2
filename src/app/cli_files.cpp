#include "cli_files.h"

#include "cli_output.h"
#include "files/file_texts.h"
#include "files/kvt_file.h"
#include "support/path_parts.h"
#include "support/safe_write.h"

namespace kvt {
bool loadFileForCli(const QString &fileName, MeasurementStore &store, Language language)
{
    switch (loadKvtFile(fileName, store)) {
    case KvtLoadStatus::CannotOpen:
        writeUtf8(stderr, CannotOpenFile.text(language) + fileName + u'\n');
        return false;
    case KvtLoadStatus::Rejected:
        writeUtf8(stderr, FileRejected.text(language) + QStringLiteral(": ") + fileNamePart(fileName) + u'\n');
        return false;
    case KvtLoadStatus::Loaded:
        break;
    }
    return true;
}

bool writeFileForCli(const QString &path, const std::optional<QByteArray> &bytes, Language language)
{
    if (bytes && writeFileSafely(path, *bytes) == SafeWriteStatus::Written)
        return true;
    writeUtf8(stderr, CannotCreateFirst.text(language) + path + CannotCreateSecond.text(language) + u'\n');
    return false;
}

} // namespace kvt
