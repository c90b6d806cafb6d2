#pragma once

#include "name_list_editing.h"

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace kvt {

// The editor window of one name list: 13 name fields, the transfers to and
// from the instrument and files, the default names. Its captions stay in the
// language it was created in.
class NameListEditor : public QWidget, private NameFields {
    Q_OBJECT
public:
    NameListEditor(const NameListKind &kind, NameListState &state, NameListLink link,
                   std::function<FileCommandContext()> files, QWidget *mainWindow);

    // Shows the window, fills the fields from the table and reads the list
    // from the instrument when it is idle.
    void open();

    QLineEdit *field(int slot) const { return m_fields[size_t(slot)]; }

    void btnFromDeviceClick() { m_editing.fromDevice(); }
    void btnToDeviceClick() { m_editing.toDevice(); }
    void btnFromFileClick() { m_editing.fromFile(); }
    void btnToFileClick() { m_editing.toFile(); }
    void ButtonDefaultClick() { m_editing.setDefaults(); }
    void btnCloseClick() { close(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QStringList names() const override;
    void setNames(const QStringList &names) override;
    QPushButton *addButton(const char *name, const TextPair &caption, QRect geometry, void (NameListEditor::*click)());

    NameListEditing m_editing;
    Language m_language;
    std::array<QLineEdit *, NameCount> m_fields{};
};

class TfrmMaterials final : public NameListEditor {
    Q_OBJECT
public:
    TfrmMaterials(NameListState &state, NameListLink link, std::function<FileCommandContext()> files,
                  QWidget *mainWindow);
};

class TfrmObjects final : public NameListEditor {
    Q_OBJECT
public:
    TfrmObjects(NameListState &state, NameListLink link, std::function<FileCommandContext()> files,
                QWidget *mainWindow);
};

} // namespace kvt
