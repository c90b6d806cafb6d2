#pragma once

#include "support/bilingual.h"

#include <QDialog>
#include <optional>

namespace kvt {

// The language question of the first start: two choices, no way around them.
class TfrmLanguage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLanguage(QWidget *parent = nullptr);

    std::optional<Language> chosen() const { return m_chosen; }

public slots:
    // Without a choice the dialog stays: there is no cancel.
    void reject() override {}

private:
    void choose(Language language);

    std::optional<Language> m_chosen;
};

} // namespace kvt
