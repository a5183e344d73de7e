#pragma once

#include "backups.h"
#include "channelrecord.h"

#include <QString>

class QWidget;

namespace zw
{

class ChannelDocument;
class TableBackups;

// What replaces a model window's whole table: the 16 records and, when not empty, the two
// radio-wide settings (an empty setting keeps what the window shows).
struct TableReplacement {
    ChannelTable records;
    QString squelchLevel;
    QString channelTone;
};

// The one way a read from the radio, a channel-file open and a CSV import replace a window's
// table: the table is kept in the backups folder first (`reason` names why), then the 16
// records and the settings go into the database in one transaction; the document then tells
// the window that the table was replaced (channel 1 becomes current, undo ends there). False,
// with the user told why (in a message over `window`), when the backup was declined or the
// database refused the records; the table is then unchanged.
bool replaceWholeTable(ChannelDocument *document, TableBackups *backups, QWidget *window,
                       BackupReason reason, const TableReplacement &replacement);

} // namespace zw
