#pragma once

#include "support/bilingual.h"

#include <QList>
#include <QString>

namespace kvt {

// The captions the main window refills at every language change, by the
// object name of the menu, item or command that shows them.
struct NamedCaption {
    const char *objectName;
    TextPair caption;
};
const QList<NamedCaption> &mainWindowCaptions();
// The caption of a named item or command; empty for a name not in the table.
QString captionOf(const char *objectName, Language language);

// Captions that read the same in both languages and that the refill leaves alone.
inline constexpr char16_t RussianCaption[] = u"Русский";
inline constexpr char16_t EnglishCaption[] = u"English";
inline constexpr char16_t CalibrationForceCaption[] = u"Копировать данные силы (F) для калибровки";
inline constexpr char16_t CalibrationDisplacementCaption[] = u"Копировать данные перемещения (S) для калибровки";
inline constexpr char16_t CopyBlockTable2Caption[] = u"Копировать выделенное в буфер обмена";

// Hints of the four curve check boxes: a(t), v(t), s(t), F(t).
inline constexpr TextPair CurveHints[4] = {
    {u"Виброускорение", u"Vibr.acceleration"},
    {u"Виброскорость", u"Vibr.velocity"},
    {u"Виброперемещение", u"Vibr.displacement"},
    {u"Сила удара", u"Impact force"},
};

inline constexpr TextPair LanguageDialogCaption{u"Язык (Language)", u"Язык (Language)"};
// Shown in Russian whatever the language.
inline constexpr char16_t Table2DataError[] = u"Ошибка данных (таблица 2)";
inline constexpr TextPair HelpMissing{u"Не найден файл помощи: ", u"Help file not found: "};

} // namespace kvt
