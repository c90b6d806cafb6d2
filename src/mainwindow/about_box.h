#pragma once

#include "about_texts.h"
#include "support/bilingual.h"

#include <QDialog>

class QLabel;

namespace kvt {

// The about box: title, version and build date, copyright and the maker's
// contacts. Built anew in the current language at every opening; the build
// date is this build's unless another is given.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(Language language, QWidget *parent = nullptr, const QString &buildDate = programBuildDate(),
              const std::optional<VersionData> &version = programVersionData());

    void LabelWWWClick();
    void LabelEMailClick(const QString &address);

private:
    QLabel *addLabel(QWidget *parent, const char *name, const QString &text, int x, int y);
    QLabel *addLink(QWidget *parent, const char *name, const QString &address, const QString &hint, int x, int y);

    Language m_language;
};

} // namespace kvt
