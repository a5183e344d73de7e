#pragma once

#include "backups.h"

#include <QObject>
#include <QString>

class QWidget;

namespace zw
{

class ChannelDocument;

// The safety net of a model window: before a read, a file open or an import replaces the
// table, the table is kept as a channel file in the backups folder; after a read the radio's
// contents are kept too. The file menu's 打开备份 item opens that folder in the file dialog, so
// restoring is an ordinary file open.
class TableBackups final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableBackups)

public:
    // Keeps the contents of `document`; asks its questions over `window`, which owns it.
    TableBackups(ChannelDocument *document, QWidget *window);

    // Keeps the window's table and settings before they are replaced. When the backup cannot
    // be written the user is asked whether to go on; false means: leave the table as it is.
    bool keepBefore(BackupReason reason);
    // Keeps what was just read from the radio. A failure here loses nothing (the table holds
    // it), so it is only noted on the console.
    void keepFromRadio();
    // Keeps what a radio holds just before a write replaces it. When the backup cannot be
    // written the user is asked whether to write anyway; false means: write nothing.
    bool keepRadioBeforeWrite(const ChannelFileData &radio);

    QString lastBackup() const { return m_lastBackup; }

private:
    Expected<BackupFile> write(BackupReason reason);

    ChannelDocument *m_document;
    QWidget *m_window;
    QString m_lastBackup;
};

} // namespace zw
