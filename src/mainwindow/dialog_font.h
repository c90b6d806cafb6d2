#pragma once

#include <QFont>
#include <QStringList>

namespace kvt {

// The small windows are laid out to the pixel for an 8-point MS Sans Serif;
// where it is missing, a narrow sans serif of the same size keeps their
// captions inside their buttons.
inline QFont smallDialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(11);
    return font;
}

} // namespace kvt
