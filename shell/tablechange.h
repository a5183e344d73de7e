#pragma once

#include "channelrecord.h"

#include <QUndoCommand>

#include <functional>

namespace zw
{

class ChannelStore;

// One undoable change of several channels at once (a paste, a cut, a clear, a move): undo puts
// back the table as it was, redo the table as the change left it, each written to the model
// database in one transaction. A write the database refuses calls `failed` and drops the step.
class TableChange final : public QUndoCommand
{
public:
    TableChange(const QString &text, ChannelStore *store, const ChannelTable &before,
                const ChannelTable &after, std::function<void()> failed);

    void undo() override;
    void redo() override;

private:
    void write(const ChannelTable &table);

    ChannelStore *m_store;
    ChannelTable m_before;
    ChannelTable m_after;
    std::function<void()> m_failed;
};

} // namespace zw
