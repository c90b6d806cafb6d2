#include "name_list_editor.h"

#include "mainwindow/dialog_font.h"
#include "name_list_texts.h"
#include "store/short_name20.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace kvt {
namespace {

constexpr QSize ClientSize{328, 248};
constexpr QSize FieldSize{121, 21};

QRect fieldGeometry(int slot)
{
    // Slots 0 to 4 down the left column, 5 to 12 down the right one.
    if (slot < 5)
        return {QPoint(16, 8 + 24 * slot), FieldSize};
    return {QPoint(192, 8 + 24 * (slot - 5)), FieldSize};
}

} // namespace

NameListEditor::NameListEditor(const NameListKind &kind, NameListState &state, NameListLink link,
                               std::function<FileCommandContext()> files, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_editing(kind, state, *this, std::move(link), files), m_language(files().language)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setFixedSize(ClientSize);
    setFont(smallDialogFont());
    setWindowTitle(kind.windowCaption.text(m_language));

    for (int slot = 0; slot < NameCount; ++slot) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("EditName%1").arg(slot + 1));
        edit->setGeometry(fieldGeometry(slot));
        edit->installEventFilter(this);
        // Pasting and deleting change the list as typing does.
        connect(edit, &QLineEdit::textEdited, this, [this] { m_editing.keyPressed(); });
        m_fields[size_t(slot)] = edit;
    }
    // Slot 0 stands for "no choice made" and cannot be edited.
    m_fields[0]->setEnabled(false);

    const bool objects = kind.list == NameList::Objects;
    QPushButton *close = addButton("btnClose", CloseCaption, {objects ? 208 : 200, 208, 83, 25}, &NameListEditor::btnCloseClick);
    QWidget *previous = close;
    for (QLineEdit *edit : m_fields) {
        setTabOrder(previous, edit);
        previous = edit;
    }
    const struct {
        const char *name;
        const TextPair &caption;
        QRect geometry;
        void (NameListEditor::*click)();
    } buttons[] = {
        {"btnFromDevice", FromDeviceCaption, {16, 152, 73, 17}, &NameListEditor::btnFromDeviceClick},
        {"btnToDevice", ToDeviceCaption, {16, 176, 73, 17}, &NameListEditor::btnToDeviceClick},
        {"btnFromFile", FromFileCaption, {104, 152, 73, 17}, &NameListEditor::btnFromFileClick},
        {"btnToFile", ToFileCaption, {104, 176, 73, 17}, &NameListEditor::btnToFileClick},
        {"ButtonDefault", DefaultCaption, {40, 208, objects ? 83 : 81, 25}, &NameListEditor::ButtonDefaultClick},
    };
    for (const auto &button : buttons) {
        QPushButton *created = addButton(button.name, button.caption, button.geometry, button.click);
        setTabOrder(previous, created);
        previous = created;
    }

    // Centred on the main window.
    if (mainWindow)
        move(mainWindow->geometry().center() - rect().center());
}

QPushButton *NameListEditor::addButton(const char *name, const TextPair &caption, QRect geometry,
                                       void (NameListEditor::*click)())
{
    auto *button = new QPushButton(caption.text(m_language), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    // The transfer buttons are 17 pixels high: no room for the style's padding.
    if (geometry.height() < 20)
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    connect(button, &QPushButton::clicked, this, [this, click] { (this->*click)(); });
    return button;
}

void NameListEditor::open()
{
    show();
    m_editing.fillFields();
    m_editing.fromDevice();
}

QStringList NameListEditor::names() const
{
    QStringList names;
    for (const QLineEdit *edit : m_fields)
        names << edit->text();
    return names;
}

void NameListEditor::setNames(const QStringList &names)
{
    for (int slot = 0; slot < NameCount; ++slot)
        m_fields[size_t(slot)]->setText(names.value(slot));
}

bool NameListEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const auto *edit = static_cast<QLineEdit *>(watched);
    if (!key->text().isEmpty() && key->key() != Qt::Key_Tab)
        m_editing.keyPressed();
    // Typing stops at 19 characters; Backspace, Tab and the keys that type
    // nothing still work.
    const bool typesCharacter = !key->text().isEmpty() && key->text().front().isPrint();
    return typesCharacter && edit->text().size() >= ShortName20MaxChars;
}

void NameListEditor::closeEvent(QCloseEvent *event)
{
    // A transfer under way ends within its wait; the window closes after it.
    if (m_editing.waiting() || !m_editing.confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

TfrmMaterials::TfrmMaterials(NameListState &state, NameListLink link, std::function<FileCommandContext()> files,
                             QWidget *mainWindow)
    : NameListEditor(materialsKind(), state, std::move(link), std::move(files), mainWindow)
{
    setObjectName(QStringLiteral("frmMaterials"));
}

TfrmObjects::TfrmObjects(NameListState &state, NameListLink link, std::function<FileCommandContext()> files,
                         QWidget *mainWindow)
    : NameListEditor(objectsKind(), state, std::move(link), std::move(files), mainWindow)
{
    setObjectName(QStringLiteral("frmObjects"));
}

} // namespace kvt
