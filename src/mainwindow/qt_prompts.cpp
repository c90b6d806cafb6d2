#include "qt_prompts.h"

#include "device/screen_bitmap.h"
#include "language_dialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kvt {
namespace {

QMessageBox::StandardButton toQt(PromptButton button)
{
    switch (button) {
    case PromptButton::Ok: return QMessageBox::Ok;
    case PromptButton::Abort: return QMessageBox::Abort;
    case PromptButton::Retry: return QMessageBox::Retry;
    case PromptButton::Ignore: return QMessageBox::Ignore;
    case PromptButton::Yes: return QMessageBox::Yes;
    case PromptButton::No: return QMessageBox::No;
    case PromptButton::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toQt(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Qt's dialogs give "/" everywhere; the program shows and keeps names in the
// system's own form ("\" on Windows), as the system's dialogs write them.
std::optional<QString> chosen(const QString &name)
{
    return name.isEmpty() ? std::nullopt : std::optional<QString>(QDir::toNativeSeparators(name));
}

} // namespace

std::optional<QString> QtPrompts::askOpenFileName(const FileDialogRequest &request)
{
    return chosen(QFileDialog::getOpenFileName(m_parent, request.title, request.proposedName, request.filter));
}

std::optional<QString> QtPrompts::askSaveFileName(const FileDialogRequest &request)
{
    // The dialog asks before it lets an existing file be overwritten.
    return chosen(QFileDialog::getSaveFileName(m_parent, request.title, request.proposedName, request.filter));
}

PromptButton QtPrompts::showMessage(const MessageRequest &request)
{
    QMessageBox box(toQt(request.icon), request.caption, request.text, QMessageBox::NoButton, m_parent);
    for (PromptButton button : request.buttons)
        box.addButton(toQt(button));
    box.setDefaultButton(toQt(request.defaultButton));
    const int answer = box.exec();
    for (PromptButton button : request.buttons)
        if (answer == toQt(button))
            return button;
    return request.buttons.isEmpty() ? PromptButton::Ok : request.buttons.back();
}

std::optional<Language> QtPrompts::askLanguage()
{
    TfrmLanguage dialog(m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

std::optional<int> QtPrompts::askColor(int current)
{
    const QColor chosen = QColorDialog::getColor(colorFromNumber(current), m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return numberFromColor(chosen);
}

} // namespace kvt
