#pragma once

#include "support/bilingual.h"
#include "support/platform.h"

#include <QString>
#include <optional>

namespace kvt {

// The running program's version data (its version resource on Windows);
// nothing when it has none.
std::optional<VersionData> programVersionData();
// The compiler's date of this build, "Nov  6 2013".
QString programBuildDate();

// The compiler's build date ("Nov  6 2013") as the about box writes it after the
// version: " от 6 ноября 2013 г." or ", 6 Nov 2013". Nothing when the date does
// not split into month, day and year.
std::optional<QString> aboutDateText(const QString &buildDate, Language language);

// The texts of the about box that depend on the language and the version data;
// an empty text leaves its label at its design text, and without version data
// every label keeps it.
struct AboutTexts {
    QString caption;
    QString productName;
    QString version;
    QString copyright;
    QString phoneFax;
    QString multiLine;
    QString site;
    QString generalQuestions;
    QString technicalSupport;
};
AboutTexts aboutTexts(const std::optional<VersionData> &version, const QString &buildDate, Language language);

// The maker's contacts, shown as they are.
inline constexpr char16_t MakerPhones[] = u"+7 (000) 000-00-00, +7 (000) 000-00-01";
inline constexpr char16_t MakerSite[] = u"https://www.example.com";
inline constexpr char16_t MakerInfoMail[] = u"info@example.com";
inline constexpr char16_t MakerSupportMail[] = u"support@example.com";
inline constexpr char16_t WebHint[] = u"Перейти на сайт производителя";
inline constexpr char16_t MailHint[] = u"Написать письмо";

// The address that starts a new message in the user's mail program.
QString mailtoAddress(const QString &address, const QString &applicationTitle);

} // namespace kvt
