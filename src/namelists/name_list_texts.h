#pragma once

#include "support/bilingual.h"

namespace kvt {

inline constexpr TextPair FromDeviceCaption{u"Из прибора", u"From device"};
inline constexpr TextPair ToDeviceCaption{u"В прибор", u"To device"};
inline constexpr TextPair FromFileCaption{u"Из файла", u"From file"};
inline constexpr TextPair ToFileCaption{u"В файл", u"To file"};
inline constexpr TextPair DefaultCaption{u"По умолчанию", u"Default"};
inline constexpr TextPair CloseCaption{u"Закрыть", u"Close"};
inline constexpr TextPair NamesChangedQuestion{u"Названия были изменены. Записать изменения в прибор?",
                                               u"Parameters was changed. Save parameters to device?"};

} // namespace kvt
