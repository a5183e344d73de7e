#pragma once

#include "changeset.h"
#include "channelfile.h"
#include "channelstore.h"
#include "modelinfo.h"
#include "radiosettings.h"
#include "result.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

namespace zw
{

// The channels of one model window: its 16 records and its two radio-wide settings (静噪级别,
// 信道音) as the model database holds them, and the window's undo history. The only writer of
// the model database; the grid and the settings lists show it and hand the user's choices to it.
//
// Every edit is a change set of the fields it changes (see ChangeSet), computed against what the
// file holds at that moment and written under the file's write lock. Undo and redo write the
// inverse or the same change set the same way, never a kept copy of a channel or the table: a
// field that another program (a second instance, the command-line tool) changed since is never
// overwritten: that undo or redo is refused, and stays in the history.
class ChannelDocument final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelDocument)

public:
    explicit ChannelDocument(Model model, QObject *parent = nullptr);

    // Opens (or creates) the model database at `path`; see ChannelStore::open.
    Expected<ChannelStore::Opened> open(const QString &path);
    void close();

    Model model() const { return m_model; }
    bool isOpen() const { return m_store.isOpen(); }
    bool isReadOnly() const { return m_store.isReadOnly(); }
    // Edits can be stored: the database is open and writable.
    bool isEditable() const { return isOpen() && !isReadOnly(); }

    // Whether the window's edits are held now: while a transfer with the radio runs, what it
    // sends or replaces must not change under it. `held` is asked each time (the window answers
    // from its session's state); the window calls editingHeldMayHaveChanged() when that state
    // moves, so that the controls that grey out hear of it (editingHeldChanged).
    void setEditingHeld(std::function<bool()> held) { m_editingHeld = std::move(held); }
    bool isEditingHeld() const { return m_editingHeld && m_editingHeld(); }
    void editingHeldMayHaveChanged();
    QString path() const { return m_store.path(); }

    const ChannelTable &records() const { return m_store.records(); }
    const ChannelRecord &record(int row) const { return m_store.record(row); }
    const RadioSettings &settings() const { return m_store.settings(); }
    // The table and both settings as a channel file holds them.
    ChannelFileData channelFileData() const;

    // One edit of the table: `edit` gets the table as the file holds it now and returns the
    // table as the edit leaves it; the fields that differ are written and become one undo step.
    // Nothing changes, and nothing is added to the history, when no field differs.
    Result edit(const std::function<ChannelTable(const ChannelTable &now)> &edit);
    // Chooses a radio-wide setting; one undo step when it changes.
    Result setSetting(RadioSetting setting, const QString &value);
    // Writes one field outside the history: the channel number the write to the radio keeps
    // in channel 1.
    Result setFieldUnrecorded(int row, int field, const QString &value);

    // Replaces the whole table (and the settings, when given) in one transaction, as a read from
    // the radio, a channel-file open and a CSV import do. The history ends here: edits made
    // before cannot be undone across it.
    Result replace(const ChannelTable &records, const std::optional<RadioSettings> &settings);

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_history.size(); }
    int undoCount() const { return static_cast<int>(m_next); }
    // Undoes or redoes one step. Refused, with the step kept, when another program changed a
    // field it would write (the failure's changedElsewhere names the channels) or the write
    // failed; the table then shows what the file holds.
    Result undo();
    Result redo();
    // Gives up the step the next undo (or redo) would write, typically after it was refused:
    // the steps before it (after it) can be reached again. Nothing is written.
    void discardUndoStep();
    void discardRedoStep();
    void clearHistory();

    // The clean state, as an undo stack keeps it: markClean() remembers that the table and
    // settings now are what the window's channel file holds (it was just opened or saved);
    // isClean() holds while undo and redo lead back to exactly that step. Any change outside the
    // history (a replacement, an unrecorded field, another program's write) and an edit made
    // after undoing past the clean step lose it for good.
    void markClean();
    bool isClean() const { return m_clean == m_next; }

    // Reloads when another program changed the file since it was last read; whether it did.
    bool refresh()
    {
        startWaiting();
        return m_store.refresh();
    }

    // How long to wait for another program's lock on the file, per attempt.
    void setBusyTimeout(int milliseconds) { m_store.setBusyTimeout(milliseconds); }
    // How long one user action (everything the document is asked to do before the event loop
    // runs again: the re-read, the edit, the re-read after a refusal) waits in all for another
    // program's lock before it is reported busy; about a second, so the window never seems to
    // hang.
    static constexpr int actionWaitMs = 1000;

signals:
    // Rows first..last now hold new values.
    void recordsChanged(int first, int last);
    void settingsChanged();
    // The whole table was replaced (a read, a file, an import).
    void replaced();
    void editingHeldChanged(bool held);
    void historyChanged();

private:
    std::function<bool()> m_editingHeld;
    bool m_editingHeldTold = false; // what editingHeldChanged said last
    Result commit(const ChangeSet &change);
    // Starts the wait of the current user action unless one runs; it ends when the event loop
    // runs next.
    void startWaiting();
    Result applyStep(const ChangeSet &change);

    Model m_model;
    ChannelStore m_store;
    std::vector<ChangeSet> m_history;
    std::size_t m_next = 0; // steps before this one can be undone, from it on redone
    bool m_waiting = false; // an action's wait runs
    static constexpr std::size_t noCleanStep = std::size_t(-1);
    std::size_t m_clean = noCleanStep; // the value of m_next that is the clean state
    bool m_stepping = false;           // the store's change signals come from a history step
};

} // namespace zw
