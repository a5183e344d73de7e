#pragma once

#include "linkstate.h"
#include "modelinfo.h"
#include "radiosession.h"

#include <QList>
#include <QString>

namespace zw
{

// The one wording of each outcome of a read or a write, in English or Chinese, for the window
// and the command-line tool alike. Texts the window's design fixes (读数错误！！, the other
// model's message) are the window's own and not here.

// Why a read brought nothing to apply (every outcome but Read); `own` is the session's model.
// `answeredReadyPoll`: the radio had answered the ready poll, so a NoAnswer means it stopped
// answering at the read request. A lost port names the system's words for it (portError).
QString readFailureText(const ReadResult &result, Model own, bool english,
                        bool answeredReadyPoll = false);

// How a write ended, with the read-back after it: what was written or why nothing was, which
// channels changed, which differ on the radio, or why the radio could not be checked.
// Declined is said by radioBackupFailedText, which knows why. `answeredReadyPoll` as for a read.
QString writeOutcomeText(const WriteResult &result, Model own, bool english,
                         bool answeredReadyPoll = false);

// A write declined because the radio's contents could not be kept first; `error` says why.
QString radioBackupFailedText(const QString &error, bool english);

// "channel 3", "channels 3, 5, 7"; "信道 3、5、7".
QString channelListText(const QList<int> &channels, bool english);

// "channels 3, 5 and the squelch level or channel tone" / "信道 3、5 及静噪级别或信道音": the
// contents a write or a backup changes.
QString radioContentsText(const QList<int> &channels, bool settings, bool english);

// Pieces of a Chinese text put together with the spacing of the program's other texts: a blank
// between a digit or Latin letter and a Chinese character, none between two Chinese characters
// or next to a blank or punctuation already there.
QString joinChinese(const QStringList &pieces);

// One channel as the radio holds it, on one line: receive and transmit frequency and tones,
// scan, BCL, beat and power; "empty" / "空" for a channel not in use.
QString radioChannelText(const RadioChannel &channel, bool english);

// The squelch level and channel tone the radio holds.
QString radioSettingsText(const TrailerSettings &settings, bool english);

// The line's state in the words of the main window's status bar, and of the command-line tool:
// the radio on the port ("radio answered at 10:42:07"; the port's own state while it is not
// open), the transfer running ("Writing 5/17"), and the last outcome with its time ("Written
// and verified 10:42:15"). Empty where there is nothing to say (no transfer, no outcome yet).
QString linkRadioText(const LinkState &state, bool english);
QString linkTransferText(const LinkState &state, bool english);
QString linkOutcomeText(const LinkState &state, bool english);

// Why a read brought nothing to apply, in a few words ("the radio does not answer").
QString readFailureReasonText(const ReadResult &result, Model own, bool english);

} // namespace zw
