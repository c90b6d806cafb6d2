#pragma once

#include "requirement_rule.h"
#include "support/settings_file.h"

#include <optional>

namespace kvt {

// The requirements live in a section of their own of the settings file (or of
// a rules file of the same form):
//
//   [Requirements]
//   Layout=1
//   Count=2
//   Object1=Несущий слой
//   Material1=
//   Dynamic1=120
//   Static1=
//   LargestCv1=25
//   Object2=Несущий слой
//   Material2=Щебень
//   Dynamic2=140,5
//   Static2=60
//   LargestCv2=
//
// Rules are numbered 1 … Count and keep their order. Names are values, never
// keys, so any name the instrument can hold is safe, in a Windows-1251 file as
// in a UTF-8 one. Numbers are written with the decimal comma and read with a
// comma or a point; an empty Material, Static or LargestCv means none.
inline constexpr char16_t RequirementsSection[] = u"Requirements";

// The rules; no section means no rules. Nothing when the section cannot be
// trusted: a Layout other than 1 (a later program's), a Count that is no
// number, a rule without an object or without a number as its Dynamic, or a
// number that is negative.
std::optional<QList<RequirementRule>> readRequirementRules(const SettingsSnapshot &settings);
// The same from the file as it is now, read once.
std::optional<QList<RequirementRule>> readRequirementRules(const SettingsFile &settings);

// Replaces the section with these rules in one write; false when the file
// could not be written.
bool writeRequirementRules(SettingsFile &settings, const QList<RequirementRule> &rules);

} // namespace kvt
