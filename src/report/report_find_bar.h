#pragma once

#include "support/bilingual.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kvt {

// The preview's find bar: the text to find, the previous and the next hit, and
// what the search says. Ctrl+F anywhere in the window puts the cursor in the
// field; F3 and Enter in the field go to the next hit, Shift+F3 to the previous.
class ReportFindBar : public QWidget {
    Q_OBJECT
public:
    // The shortcuts belong to the window the bar is in.
    ReportFindBar(Language language, QWidget *window);

    void setStatus(const QString &status);

signals:
    void textEdited(const QString &text);
    void nextWanted();
    void previousWanted();

private:
    QLineEdit *m_field;
    QLabel *m_status;
};

} // namespace kvt
