#pragma once

#include "backups.h"
#include "channelrecord.h"

#include <QString>

namespace zw
{

class ModelWindow;

// What replaces a model window's whole table: the 16 records and, when not empty, the two
// radio-wide settings (an empty setting keeps what the window shows).
struct TableReplacement {
    ChannelTable records;
    QString squelchLevel;
    QString channelTone;
};

// The one way a read from the radio, a channel-file open and a CSV import replace a window's
// table: the table is kept in the backups folder first (`reason` names why), the 16 records go
// into the database in one transaction, then the settings are set, channel 1 becomes current
// and the window tells its parts that the table was replaced (undo ends there). False, with the
// user told why, when the backup was declined or the database refused the records; the table
// is then unchanged.
bool replaceWholeTable(ModelWindow *window, BackupReason reason,
                       const TableReplacement &replacement);

} // namespace zw
