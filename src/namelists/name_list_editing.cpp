#include "name_list_editing.h"

#include "device/link_requests.h"
#include "files/file_texts.h"
#include "files/last_folder.h"
#include "name_list_file.h"
#include "name_list_texts.h"
#include "name_table.h"
#include "support/common_texts.h"

namespace kvt {
namespace {

constexpr int WaitRoundMs = 100;
constexpr int ReadRounds = 20;  // 2 s
constexpr int WriteRounds = 50; // 5 s


} // namespace

NameListEditing::NameListEditing(const NameListKind &kind, NameListState &state, NameFields &fields,
                                 NameListLink link, std::function<FileCommandContext()> files)
    : m_kind(kind), m_state(state), m_fields(fields), m_link(std::move(link)), m_files(std::move(files))
{
}

void NameListEditing::fillFields()
{
    const QStringList names = namesFromTable(table());
    m_fields.setNames(names);
    for (const QString &name : names)
        if (!name.isEmpty())
            m_state.listEmpty = false;
}

std::optional<quint32> NameListEditing::post(LinkState request)
{
    if (m_waiting)
        return std::nullopt;
    return postRequest(m_link.shared, request);
}

bool NameListEditing::waitFor(LinkState request, quint32 serial, int rounds)
{
    // The window stays responsive; device buttons pressed meanwhile find the
    // worker busy, and the file buttons are refused, so the table is left alone.
    // A request that failed into a new search ends the wait too.
    m_waiting = true;
    for (int round = 0; round < rounds && m_link.shared.linkState == request; ++round) {
        m_link.clock.sleepMs(WaitRoundMs);
        m_link.processEvents();
    }
    m_waiting = false;
    withdrawRequest(m_link.shared, request);
    return requestServed(m_link.shared, serial);
}

void NameListEditing::fromDevice()
{
    const std::optional<quint32> serial = post(m_kind.readRequest);
    if (!serial)
        return;
    waitFor(m_kind.readRequest, *serial, ReadRounds);
    fillFields();
    m_state.listChanged = false;
}

void NameListEditing::toDevice()
{
    if (m_state.listEmpty || m_waiting || m_link.shared.linkState != StateIdle)
        return;
    storeNames(table(), m_fields.names());
    const std::optional<quint32> serial = post(m_kind.writeRequest);
    // Only a write the instrument confirmed counts: the list stays changed otherwise.
    if (serial && waitFor(m_kind.writeRequest, *serial, WriteRounds))
        m_state.listChanged = false;
}

void NameListEditing::fromFile()
{
    if (m_waiting)
        return;
    FileCommandContext files = m_files();
    const std::optional<QString> chosen = files.prompts.askOpenFileName(
        {OpenDialogTitle.text(files.language), initialFolder(files.settings, files.programFolder) + QStringLiteral("File"),
         m_kind.filter});
    if (!chosen)
        return;
    rememberFolder(files.settings, *chosen);
    const std::optional<QStringList> names = readNameListFile(*chosen, m_kind.fileSection);
    if (!names) {
        files.prompts.showMessage({ApplicationTitle.text(files.language),
                                   FileRejected.text(files.language) + QStringLiteral(": ") + *chosen, PromptIcon::Warning});
        return;
    }
    storeNames(table(), *names);
    fillFields();
    m_state.listChanged = true;
}

void NameListEditing::toFile()
{
    if (m_state.listEmpty || m_waiting)
        return;
    storeNames(table(), m_fields.names());
    const QStringList names = namesFromTable(table());
    FileCommandContext files = m_files();
    const SaveDialogRequest request{
        SaveDialogTitle.text(files.language),
        initialFolder(files.settings, files.programFolder) + timeStampedFileName(m_now(), m_kind.extension),
        m_kind.filter,
        [this](const QString &name) { return correctedSaveName(name, m_kind.extension, m_kind.replacedExtensions); }};
    // Only the list's 13 keys change; whatever else the file holds stays.
    saveThroughDialog(files, request, [this, &names](const QString &fileName) {
        return updatedNameListFile(fileName, m_kind.fileSection, names);
    });
}

void NameListEditing::setDefaults()
{
    m_fields.setNames(defaultNames(m_kind, m_files().language));
    m_state.listEmpty = false;
    m_state.listChanged = true;
}

bool NameListEditing::confirmClose()
{
    if (!m_state.listChanged)
        return true;
    const Language language = m_files().language;
    switch (m_files().prompts.showMessage({ApplicationTitle.text(language), NamesChangedQuestion.text(language),
                                           PromptIcon::Warning,
                                           {PromptButton::Yes, PromptButton::No, PromptButton::Cancel},
                                           PromptButton::No})) {
    case PromptButton::Cancel: return false;
    case PromptButton::Yes: toDevice(); return true;
    default: return true;
    }
}

} // namespace kvt
