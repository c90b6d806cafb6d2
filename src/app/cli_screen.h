#pragma once

#include "support/bilingual.h"

#include <QStringList>

namespace kvt {

// kvt10-cli screen -o FILE.bmp: the instrument's display as the screen viewer
// draws it (132 × 68, default colours).
int runScreen(const QStringList &arguments, Language language);
inline constexpr char16_t ScreenUsage[] = u"usage: kvt10-cli screen -o FILE.bmp [--timeout SEC]\n";

} // namespace kvt
