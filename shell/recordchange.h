#pragma once

#include "channelrecord.h"

#include <QUndoCommand>

#include <functional>

namespace zw
{

class ChannelStore;

// One undoable change of one channel record: a typed frequency or a pick-list choice. Undo puts
// back the whole record as it was before, redo the record as the change left it; both are
// written to the model database at once. A write the database refuses calls `failed` and drops
// the step, so the history never claims a state the database does not hold.
class RecordChange final : public QUndoCommand
{
public:
    RecordChange(ChannelStore *store, int row, const ChannelRecord &before,
                 const ChannelRecord &after, std::function<void()> failed);

    void undo() override;
    void redo() override;

private:
    void write(const ChannelRecord &record);

    ChannelStore *m_store;
    int m_row;
    ChannelRecord m_before;
    ChannelRecord m_after;
    std::function<void()> m_failed;
};

} // namespace zw
