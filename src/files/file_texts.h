#pragma once

#include "support/bilingual.h"
#include "support/profile_file.h"

#include <QString>

namespace kvt {

inline constexpr TextPair SaveDialogTitle{u"Сохранить как...", u"Save as..."};
inline constexpr TextPair OpenDialogTitle{u"Открыть файл...", u"Open file..."};
inline constexpr TextPair CannotCreateFirst{u"Не удается создать файл ", u"Can't create data file "};
inline constexpr TextPair CannotCreateSecond{
    u".\nВозможно, нет места на диске или диск защищен от записи",
    u".\nIt may be no free space or disk is write protected"};
inline constexpr TextPair ReplaceExistingFirst{u"Файл ", u"File "};
inline constexpr TextPair ReplaceExistingSecond{u" уже существует.\nЗаменить его?", u" already exists.\nReplace it?"};
inline constexpr TextPair CannotOpenFile{u"Не удается открыть файл ", u"Can't open file "};
inline constexpr TextPair FileRejected{u"Файл не читается или испорчен", u"File is not readable or damaged"};
// Said before the name of a settings or rules file that is there but was not read.
inline const TextPair &unreadSettingsText(ProfileFileStatus status)
{
    return status == ProfileFileStatus::Utf16 ? Utf16FileRefused : CannotOpenFile;
}
inline constexpr TextPair LoadedFileStatus{u"Файл ", u"File "};
inline constexpr TextPair DataReadStatus{u"Данные считаны", u"Data Readed"};

inline const QString KvtFilter = QStringLiteral("DataFile (*.kvt);;All files (*.*)");
inline const QString KvtExtension = QStringLiteral(".kvt");
inline const QString CsvFilter = QStringLiteral("csv-files (*.csv);;All files (*.*)");
inline const QString CsvExtension = QStringLiteral(".csv");
inline const QString MaterialListExtension = QStringLiteral(".mtkvt");
inline const QString ObjectListExtension = QStringLiteral(".objkvt");

} // namespace kvt
