#pragma once

#include "modelinfo.h"
#include "radiotexts.h"

#include <QList>
#include <QString>
#include <QStringList>

// The texts the program shows in its message boxes and status line, byte for byte: blanks and
// full-width punctuation are part of them. "%1", "%2", ... are filled in with QString::arg().
// The captions of menus, labels and dialogs are in captions.h.

namespace zw
{

// Titles
inline const QString systemInfoTitle = QStringLiteral("系统信息");
inline const QString errorWarningTitle = QStringLiteral("错误警告 ");
inline const QString otherRadioTitle = QStringLiteral("本机机型提示信息！！");
inline const QString otherModelFileTitle = QStringLiteral("文件机型提示信息！！");

// Status line of a model window
inline const QString radioReadyStatus = QStringLiteral("对讲机就绪...");
inline const QString readingStatus = QStringLiteral("正在读数据......");
// Status bar of the main window: the port (the radio and the transfers are in radiotexts.h).
inline QString portStatus(int port, const QString &device, bool english)
{
    return (english ? QStringLiteral("COM%1: %2") : QStringLiteral("端口 COM%1：%2"))
        .arg(port)
        .arg(device);
}

// Cell entry
inline const QString outOfRangeMessage = QStringLiteral("数据超出范围 ！！");

// Radio transfers
inline const QString readErrorMessage = QStringLiteral("读数错误！！");
inline const QString otherWindowTransfersMessage =
    QStringLiteral("另一个窗口正在与对讲机传送数据，请稍后再试。");
// The outcomes of a read or a write, in both languages: radiotexts.h, shared with the tool.
// %1 why the backup failed
inline const QString radioBackupFailedQuestion =
    QStringLiteral("无法备份对讲机中现有的信道数据（%1）。\n继续的话，对讲机中的信道数据将被替换且"
                   "没有备份。");
// Restore Radio: what writing the chosen backup would change in the radio (%1, e.g. "信道 3、5"),
// and a backup that holds what the radio holds already; in the window's language.
inline QString restoreRadioQuestion(bool english)
{
    return english ? QStringLiteral("Writing this backup changes %1 in the radio.\nThe radio's "
                                    "present channels are kept in the backups folder first.")
                   : QStringLiteral("写入这个备份将改变对讲机中的%1。\n对讲机中现有的信道数据会先"
                                    "保存到备份文件夹。");
}
inline QString restoreNothingToChangeMessage(bool english)
{
    return english ? QStringLiteral("The radio already holds what this backup holds, so nothing "
                                    "was written.")
                   : QStringLiteral("对讲机中的数据与这个备份相同，没有写入数据。");
}
// %1 the database's error
inline const QString readTableNotStoredMessage =
    QStringLiteral("读出的信道数据不能写入数据库（%1），本窗口的数据没有改变。");

// Message for a channel file of the model `fileModel`, shown by any window it does not fit.
inline QString otherModelFileMessage(Model fileModel)
{
    return QStringLiteral("本文件是") + modelInfo(fileModel).name +
           QStringLiteral(",转换窗口以后重新读！");
}

// Channel files and CSV files; %1 the file's name (%2 why a save failed)
inline const QString unreadableChannelFileMessage =
    QStringLiteral("无法读取信道文件 %1，信道数据没有改变。");
inline const QString unsavedChannelFileMessage =
    QStringLiteral("无法保存信道文件 %1（%2），原有文件没有改变。");
inline const QString unsavedCsvFileMessage =
    QStringLiteral("无法保存 CSV 文件 %1（%2），原有文件没有改变。");
inline const QString unreadableCsvFileMessage =
    QStringLiteral("无法读取 CSV 文件 %1，信道数据没有改变。");
// The serial trace saved from the help menu, in the window's language; %1 the file's name,
// %2 why the save failed
inline QString unsavedTraceMessage(bool english)
{
    return english ? QStringLiteral("Could not save the serial trace to %1 (%2); a file already "
                                    "there is unchanged.")
                   : QStringLiteral("无法保存通信记录 %1（%2），原有文件没有改变。");
}
inline QString savedTraceMessage(bool english)
{
    return english ? QStringLiteral("The serial trace (%1 lines) is saved in %2.")
                   : QStringLiteral("通信记录（%1 行）已保存到 %2。");
}
// %2 what is wrong with its header
inline const QString notChirpCsvMessage =
    QStringLiteral("%1 不是 CHIRP CSV 文件（%2），信道数据没有改变。");
inline const QString noUsableCsvChannelMessage =
    QStringLiteral("CSV 文件 %1 中没有本机型可以使用的信道，信道数据没有改变。");

// The channel database; %1 the database's error unless said otherwise
inline const QString tableNotStoredMessage =
    QStringLiteral("信道数据不能写入数据库（%1），信道数据没有改变。");
inline const QString editNotStoredMessage =
    QStringLiteral("信道数据不能写入数据库（%1），表中显示的是数据库中保存的数据。");
// %1 the database file, %2 the error, %3 the name it was moved to
inline const QString databaseMovedAsideMessage =
    QStringLiteral("信道数据库 %1 无法使用（%2），已改名为 %3，并新建了空的信道数据库。");
// %1 the database file, %2 the error
inline const QString databaseUnopenedMessage =
    QStringLiteral("信道数据库 %1 无法打开（%2），本窗口的信道数据不能修改。");
// %1 the database file
inline const QString databaseReadOnlyMessage =
    QStringLiteral("信道数据库 %1 是只读的，本窗口的信道数据不能修改。");
inline const QString backupFailedQuestion =
    QStringLiteral("无法备份现有的信道数据（%1）。\n继续的话，现有的信道数据将被替换且没有备份。");

// Row operations and the radio-wide settings of a model window
inline const QString noChannelsOnClipboardMessage =
    QStringLiteral("剪贴板中没有信道数据，信道数据没有改变。");
// An edit, undo or redo refused because another program (a second window of this program, the
// command-line tool) changed the same `channels` (1..16) or the radio-wide settings meanwhile;
// `undoing` for an undo or a redo, which stays in the history.
inline QString changedElsewhereMessage(const QList<int> &channels, bool settings, bool undoing,
                                       bool english)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    QStringList what;
    if (!numbers.isEmpty())
        what << (english ? QStringLiteral("channel ") + numbers.join(QStringLiteral(", "))
                         : QStringLiteral("信道 ") + numbers.join(QStringLiteral("、")));
    if (settings)
        what << (english ? QStringLiteral("the squelch level or channel tone")
                         : QStringLiteral("静噪级别或信道音"));
    if (english)
        return QStringLiteral("Another program has changed %1 in the channel database meanwhile, "
                              "so nothing was changed%2. The table now shows what is stored.")
            .arg(what.join(QStringLiteral(" and ")),
                 undoing ? QStringLiteral("; the step stays in the undo list") : QString());
    if (what.size() == 2)
        what.insert(1, QStringLiteral("和"));
    return QStringLiteral("另一程序已修改了数据库中的%1，本次没有改动%2。表中显示的是数据库中保存的"
                          "数据。")
        .arg(joinChinese(what),
             undoing ? QStringLiteral("（该步骤仍保留在撤销记录中）") : QString());
}
// Another program or window held the model database locked longer than the wait: any store
// failure of that kind, in the window's language, in place of the messages above.
inline QString databaseBusyMessage(bool english)
{
    return english ? QStringLiteral("Another program or window is using the model database. "
                                    "Try again in a moment; nothing was changed.")
                   : QStringLiteral("另一个程序或窗口正在使用本机型的数据库，请稍后再试。"
                                    "数据没有改变。");
}
// %1 the database file, %2 the error
inline const QString settingsNotStoredMessage =
    QStringLiteral("静噪级别和信道音不能写入数据库 %1（%2），下次打开本窗口时不会保留。");

// Serial ports
inline const QString port1TakenAtStartMessage =
    QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 ");
inline const QString port1TakenMessage = QStringLiteral("串行端口 1 已被使用 ");
inline const QString port2TakenMessage = QStringLiteral("串行端口 2 已被使用， ");
inline const QString portChangeDuringTransferMessage =
    QStringLiteral("正在与对讲机交换数据，不能更改端口。");
// Why a port did not open, Find Radio and the status-line hints: bilingual, in porthints.cpp.

// A frequency kept outside the band (in its warning margin): the grid cell's tool tip, and the
// line the write's finished notice adds for the `channels` (1..16) written with one.
inline QString outsideBandTip(const BandLimits &band, bool english)
{
    return (english ? QStringLiteral("Outside the %1–%2 MHz band, kept as typed")
                    : QStringLiteral("超出 %1–%2 MHz 频段，按输入保留"))
        .arg(band.bandLow)
        .arg(band.bandHigh);
}
inline QString outsideBandWrittenNote(const QList<int> &channels, const BandLimits &band,
                                      bool english)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    return (english ? QStringLiteral("Written with a frequency outside the %1–%2 MHz band: "
                                     "channel %3.")
                    : QStringLiteral("以下信道的频率超出 %1–%2 MHz 频段，已按原样写入：信道 %3。"))
        .arg(band.bandLow)
        .arg(band.bandHigh)
        .arg(numbers.join(english ? QStringLiteral(", ") : QStringLiteral("、")));
}

// A recent file that is not there any more; %1 the file
inline QString missingRecentFileQuestion(bool english)
{
    return english ? QStringLiteral("The channel file %1 no longer exists. Remove it from the list "
                                    "of recent files?")
                   : QStringLiteral("信道文件 %1 已不存在。要把它从最近打开的文件列表中去掉吗？");
}
// After a refused undo or redo (changedElsewhereMessage): the step can be given up, so that the
// steps before it (or after it, for a redo) can be reached.
inline QString discardRefusedStepQuestion(bool undoing, bool english)
{
    if (english)
        return undoing ? QStringLiteral("Discard this step, so that older steps can be undone?")
                       : QStringLiteral("Discard this step, so that later steps can be redone?");
    return undoing ? QStringLiteral("要放弃这一步，以便撤销更早的步骤吗？")
                   : QStringLiteral("要放弃这一步，以便重做后面的步骤吗？");
}

// Current directory and the about box
inline const QString currentDirectoryUnreadableMessage = QStringLiteral("Error");
inline const QString currentDirectoryUnsetMessage = QStringLiteral("ERROR");
inline const QString systemInfoUnavailableMessage = QStringLiteral("此时系统信息不可用");

} // namespace zw
