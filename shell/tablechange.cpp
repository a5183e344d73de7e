#include "tablechange.h"

#include "channelstore.h"

#include <utility>

namespace zw
{

TableChange::TableChange(const QString &text, ChannelStore *store, const ChannelTable &before,
                         const ChannelTable &after, std::function<void()> failed)
    : QUndoCommand(text), m_store(store), m_before(before), m_after(after),
      m_failed(std::move(failed))
{
}

void TableChange::undo()
{
    write(m_before);
}

void TableChange::redo()
{
    write(m_after);
}

void TableChange::write(const ChannelTable &table)
{
    if (m_store->setRecords(table))
        return;
    setObsolete(true);
    if (m_failed)
        m_failed();
}

} // namespace zw
