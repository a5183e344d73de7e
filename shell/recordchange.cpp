#include "recordchange.h"

#include "channelstore.h"

#include <utility>

namespace zw
{

RecordChange::RecordChange(ChannelStore *store, int row, const ChannelRecord &before,
                           const ChannelRecord &after, std::function<void()> failed)
    : m_store(store), m_row(row), m_before(before), m_after(after), m_failed(std::move(failed))
{
}

void RecordChange::undo()
{
    write(m_before);
}

void RecordChange::redo()
{
    write(m_after);
}

void RecordChange::write(const ChannelRecord &record)
{
    if (m_store->setRecord(m_row, record))
        return;
    setObsolete(true);
    if (m_failed)
        m_failed();
}

} // namespace zw
