#pragma once

#include "radiosession.h"

#include <QObject>

#include <optional>

class QAction;
class QLabel;
class QWidget;

namespace zw
{

class ChannelDocument;
class TableBackups;
class TransferProgressBar;
struct ModelWindowLayout;

// Read Data and Write Data of a model window over the window's radio session: draws the status
// line from the session's state and keeps the progress bar beside it, hands a good read to the
// table replacement, and tells the user what went wrong. Created by the
// window and owned by it.
class RadioTransfer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioTransfer)

public:
    // Starts on `readItem` and `writeItem`; shows its state in `statusLine` and a progress bar
    // beside it in `client`; messages go over `window`.
    RadioTransfer(RadioSession *session, ChannelDocument *document, TableBackups *backups,
                  const ModelWindowLayout &layout, QAction *readItem, QAction *writeItem,
                  QLabel *statusLine, QWidget *client, QWidget *window);

    TransferProgressBar *progressBar() const { return m_progress; }

    // Restore Radio: the user chooses a backup of this model in the backups folder, sees which
    // channels it would change in the radio and writes it: identified, backed up and read back
    // like every write. The window's table is not touched.
    void restoreRadio();

signals:
    // A finished read or write has been told to the user (and a read applied).
    void transferHandled();
    // The radio is another model: that model's window is to take over.
    void otherModelRadio(zw::Model radioModel);

private:
    // Puts the progress bar beside the status line, where the window has laid it out.
    void placeProgress();
    // Refuses while this window or another one transfers (the latter with a message). The
    // window's lock follows the session's state from then on.
    bool canStartTransfer();
    void beginRead();
    void beginWrite();
    // Writes `records` and the settings with this window's check before the write.
    void startWrite(const ChannelTable &records, const QString &squelchLevel,
                    const QString &channelTone);
    // The check before "A": for a restore, says what it changes and asks; then keeps the
    // radio's contents.
    bool beforeWrite(const ReadResult &radio);
    void onReadFinished(const ReadResult &result);
    void onWriteFinished(const WriteResult &result);
    void showProgress(int done, int total);
    void showStatus();
    void endTransfer();

    RadioSession *m_session;
    ChannelDocument *m_document;
    TableBackups *m_backups;
    const ModelWindowLayout &m_layout;
    QLabel *m_statusLine;
    QWidget *m_window;
    TransferProgressBar *m_progress;
    std::optional<ChannelFileData> m_restoring; // the backup a running restore writes
    bool m_transferBegun = false; // the status line's blank is empty from the first on
    bool m_ownWrite = false;      // the session's write under way is this window's
};

} // namespace zw
