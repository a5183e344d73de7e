#include "channeldocument.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace zw
{

ChannelDocument::ChannelDocument(Model model, QObject *parent) : QObject(parent), m_model(model)
{
    connect(&m_store, &ChannelStore::recordsChanged, this, &ChannelDocument::recordsChanged);
    connect(&m_store, &ChannelStore::settingsChanged, this, &ChannelDocument::settingsChanged);
    // What changes outside an edit, an undo or a redo cannot be undone to the clean state.
    const auto changedOutsideHistory = [this] {
        if (!m_stepping)
            m_clean = noCleanStep;
    };
    connect(&m_store, &ChannelStore::recordsChanged, this, changedOutsideHistory);
    connect(&m_store, &ChannelStore::settingsChanged, this, changedOutsideHistory);
}

Result ChannelDocument::applyStep(const ChangeSet &change)
{
    m_stepping = true;
    const Result applied = m_store.apply(change, true);
    m_stepping = false;
    return applied;
}

void ChannelDocument::markClean()
{
    m_clean = m_next;
    emit historyChanged();
}

Expected<ChannelStore::Opened> ChannelDocument::open(const QString &path)
{
    clearHistory();
    Expected<ChannelStore::Opened> opened = m_store.open(path);
    emit recordsChanged(0, channelCount - 1);
    emit settingsChanged();
    return opened;
}

void ChannelDocument::close()
{
    m_store.close();
    clearHistory();
}

ChannelFileData ChannelDocument::channelFileData() const
{
    ChannelFileData data;
    data.modelCode = modelInfo(m_model).code;
    data.channelTone = settings().channelTone;
    data.squelchLevel = settings().squelchLevel;
    data.records = records();
    return data;
}

void ChannelDocument::startWaiting()
{
    if (m_waiting)
        return;
    m_waiting = true;
    m_store.setWaitDeadline(QDeadlineTimer(actionWaitMs));
    QTimer::singleShot(0, this, [this] {
        m_waiting = false;
        m_store.setWaitDeadline(QDeadlineTimer(QDeadlineTimer::Forever));
    });
}

Result ChannelDocument::edit(const std::function<ChannelTable(const ChannelTable &now)> &edit)
{
    startWaiting();
    // Computed against what the file holds now, so the change set names only what this edit
    // changes, never another program's newer values.
    m_store.refresh();
    return commit(changesBetween(records(), edit(records())));
}

Result ChannelDocument::setSetting(RadioSetting setting, const QString &value)
{
    startWaiting();
    m_store.refresh();
    const QString &now =
        setting == RadioSetting::SquelchLevel ? settings().squelchLevel : settings().channelTone;
    ChangeSet change;
    if (now != value)
        change.settings.append({setting, now, value});
    return commit(change);
}

Result ChannelDocument::commit(const ChangeSet &change)
{
    if (change.isEmpty())
        return {};
    // Checked against the file under its write lock: should another program have written
    // between the re-read above and the lock, the edit is refused rather than computed on
    // values this window never showed.
    const Result applied = applyStep(change);
    if (!applied)
        return applied;
    if (m_clean != noCleanStep && m_clean > m_next)
        m_clean = noCleanStep; // the steps that led back to it are dropped
    m_history.resize(m_next);
    m_history.push_back(change);
    m_next = m_history.size();
    emit historyChanged();
    return {};
}

Result ChannelDocument::setFieldUnrecorded(int row, int field, const QString &value)
{
    startWaiting();
    if (row < 0 || row >= channelCount || field < 0 || field >= fieldCount)
        return m_store.setField(row, field, value); // reports the bad address
    m_store.refresh();
    if (record(row)[field] == value)
        return {};
    return m_store.setField(row, field, value);
}

Result ChannelDocument::replace(const ChannelTable &records,
                                const std::optional<RadioSettings> &settings)
{
    startWaiting();
    const Result written = m_store.replaceAll(records, settings);
    if (!written)
        return written;
    clearHistory();
    emit replaced();
    return {};
}

Result ChannelDocument::undo()
{
    startWaiting();
    if (!canUndo())
        return {};
    const Result applied = applyStep(m_history[m_next - 1].inverted());
    if (!applied)
        return applied;
    --m_next;
    emit historyChanged();
    return {};
}

Result ChannelDocument::redo()
{
    startWaiting();
    if (!canRedo())
        return {};
    const Result applied = applyStep(m_history[m_next]);
    if (!applied)
        return applied;
    ++m_next;
    emit historyChanged();
    return {};
}

void ChannelDocument::discardUndoStep()
{
    if (!canUndo())
        return;
    // Each step is checked against what is stored when it is written, never against the steps
    // around it, so any one of them can go.
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(m_next - 1));
    --m_next;
    emit historyChanged();
}

void ChannelDocument::discardRedoStep()
{
    if (!canRedo())
        return;
    m_history.erase(m_history.begin() + static_cast<std::ptrdiff_t>(m_next));
    emit historyChanged();
}

void ChannelDocument::clearHistory()
{
    if (m_history.empty())
        return;
    if (m_clean != m_next)
        m_clean = noCleanStep;
    else
        m_clean = 0;
    m_history.clear();
    m_next = 0;
    emit historyChanged();
}

void ChannelDocument::editingHeldMayHaveChanged()
{
    const bool held = isEditingHeld();
    if (held == m_editingHeldTold)
        return;
    m_editingHeldTold = held;
    emit editingHeldChanged(held);
}

} // namespace zw
