#pragma once

#include "files/save_dialog.h"
#include "name_list_kind.h"
#include "support/clock.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

namespace kvt {

// A list's two flags; they live as long as the program, whether or not its
// editor is open.
struct NameListState {
    bool listEmpty = true;    // while set, nothing is written to the instrument or a file
    bool listChanged = false; // closing the editor asks whether to write to the instrument
};

// The editor's 13 name fields, slot 0 first.
class NameFields {
public:
    virtual ~NameFields() = default;
    virtual QStringList names() const = 0;
    virtual void setNames(const QStringList &names) = 0;
};

// How an editor reaches the instrument: the link shared with the worker, and
// one round of a wait (a pause on the clock, then the window's pending events).
struct NameListLink {
    LinkShared &shared;
    Clock &clock;
    std::function<void()> processEvents;
};

// What an editor window does, without the window: the transfers between its
// fields, the list's table, the instrument and name list files.
class NameListEditing {
public:
    NameListEditing(const NameListKind &kind, NameListState &state, NameFields &fields, NameListLink link,
                    std::function<FileCommandContext()> files);

    // The fields show the table; a non-empty one clears listEmpty.
    void fillFields();
    void fromDevice();
    void toDevice();
    void fromFile();
    void toFile();
    void setDefaults();
    void keyPressed() { m_state.listChanged = true; }
    // False when the user chose to keep the editor open.
    bool confirmClose();

    // While a request is posted the table belongs to the worker.
    bool waiting() const { return m_waiting; }
    void setNow(std::function<QDateTime()> now) { m_now = std::move(now); }

private:
    NameListBlock &table() const { return m_link.shared.*m_kind.table; }
    // The request's serial, or nothing when the worker is busy.
    std::optional<quint32> post(LinkState request);
    // Rounds of 100 ms while the request stands, then withdrawn if it still
    // does; true when the worker served it.
    bool waitFor(LinkState request, quint32 serial, int rounds);

    const NameListKind &m_kind;
    NameListState &m_state;
    NameFields &m_fields;
    NameListLink m_link;
    std::function<FileCommandContext()> m_files;
    std::function<QDateTime()> m_now = &QDateTime::currentDateTime;
    bool m_waiting = false;
};

} // namespace kvt
