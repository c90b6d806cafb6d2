#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace kvt {

// The private-profile text form: "[Section]" lines open sections, "Key=Value"
// lines give values. Lookups ignore case, blanks around names and values, a UTF-8
// byte order mark, CR LF line ends, duplicates (the first one wins) and lines that
// are neither. Changing one key leaves every other line byte for byte as it was.
// A file that is not valid UTF-8 is taken to be Windows-1251, as older files are;
// should a change leave a Windows-1251 file holding only bytes that are also
// valid UTF-8, the whole file is written in UTF-8 so that it reads back the same.
class ProfileText {
public:
    // Name list files are Windows-1251 whatever their bytes look like.
    enum class Encoding { Detect, Windows1251 };

    static ProfileText parse(const QByteArray &bytes, Encoding encoding = Encoding::Detect);

    std::optional<QString> value(QStringView section, QStringView key) const;
    void setValue(QStringView section, QStringView key, const QString &value);
    // Every section of that name goes, with all its lines up to the next section.
    void removeSection(QStringView section);
    QByteArray bytes() const;

private:
    struct Line {
        QByteArray content; // without its line end
        QByteArray end;     // "\n", "\r\n" or empty for a last line without one
    };
    enum class Kind { Other, Section, Entry };
    struct ParsedLine {
        Kind kind = Kind::Other;
        QString name;  // section name or key
        QString value; // entry value
    };

    ParsedLine parseLine(const Line &line) const;
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;
    QByteArray newLineEnd() const;
    void switchToUtf8WhenAmbiguous();

    QByteArray m_bom;
    bool m_utf8 = true;
    bool m_fixedEncoding = false;
    std::vector<Line> m_lines;
};

} // namespace kvt
