#pragma once

#include "bilingual.h"

namespace kvt {

// The caption of every message box of the program.
inline constexpr TextPair ApplicationTitle{u"КВТ-1.0", u"KVT-1.0"};
// Shown by every command that needs measurements when there are none.
inline constexpr TextPair MsgNoData{u"Данных нет", u"No Data"};

} // namespace kvt
