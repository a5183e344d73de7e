#include "radiotexts.h"

#include <QStringList>

namespace zw
{

namespace
{

QString say(bool english, const char *en, const char *zh)
{
    return english ? QString::fromUtf8(en) : QString::fromUtf8(zh);
}

QString contentsText(const QList<int> &channels, bool settings, bool english)
{
    return radioContentsText(channels, settings, english);
}

// A character that takes a blank beside a Chinese character: a digit or a Latin letter.
bool latin(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

bool chinese(QChar c)
{
    return c.script() == QChar::Script_Han;
}

// " (Inappropriate ioctl for device)": the system's words for a port that failed, if any.
QString systemWords(const QString &portError)
{
    return portError.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(portError);
}

QString systemWordsChinese(const QString &portError)
{
    return portError.isEmpty() ? QString() : QStringLiteral("（%1）").arg(portError);
}

// A port that failed with the system's words was pulled away (the cable or its adapter); one
// that was not open, or closed by the program, cannot be used.
QString lostPortText(const QString &portError, bool english)
{
    if (portError.isEmpty())
        return say(english, "The serial port cannot be used", "串行端口不能使用");
    return english
               ? QStringLiteral("The cable or adapter was disconnected") + systemWords(portError)
               : QStringLiteral("编程线或转接器已断开") + systemWordsChinese(portError);
}

QString notCheckedReasonText(WriteResult::NotCheckedReason reason, bool english)
{
    using R = WriteResult::NotCheckedReason;
    QString why;
    switch (reason) {
    case R::NoReadyAnswer:
        why = say(english, "the radio did not answer after the write", "写入后对讲机没有应答");
        break;
    case R::NoReply:
        why = say(english, "the radio did not answer the read request", "对讲机没有回答读数请求");
        break;
    case R::CutReply:
        why = say(english, "the radio's reply stopped short", "对讲机的回答不完整");
        break;
    case R::GarbledReply:
        why = say(english, "the radio's reply was garbled", "对讲机的回答有误码");
        break;
    case R::PortLost:
        why = say(english, "the serial port could no longer be used", "串行端口不能再使用");
        break;
    case R::SlowReply:
        why = say(english, "the radio's reply came too slowly", "对讲机的回答太慢");
        break;
    case R::Interrupted:
        why = say(english, "the program was asked to end", "程序被要求退出");
        break;
    }
    return why;
}

QString notCheckedText(WriteResult::NotCheckedReason reason, const QString &portError, bool english)
{
    QString why = notCheckedReasonText(reason, english);
    if (reason == WriteResult::NotCheckedReason::PortLost && !portError.isEmpty())
        why = english
                  ? QStringLiteral("the cable or adapter was disconnected") + systemWords(portError)
                  : QStringLiteral("编程线或转接器已断开") + systemWordsChinese(portError);
    return english
               ? QStringLiteral("The channels were sent, but not verified: %1. Read the "
                                "radio to see what it holds.")
                     .arg(why)
               : QStringLiteral("信道数据已发送，但没有核对：%1。请读出对讲机，查看其中的数据。")
                     .arg(why);
}

QString writtenText(const WriteResult &result, bool english)
{
    using C = WriteResult::Check;
    switch (result.check) {
    case C::Skipped:
        return say(english, "The channels have been written to the radio.",
                   "信道数据已写入对讲机。");
    case C::Verified: {
        if (result.changedChannels.isEmpty() && !result.settingsChanged)
            return say(english, "Written and verified: nothing in the radio changed.",
                       "已写入并核对：对讲机中的数据没有改变。");
        const QString what = contentsText(result.changedChannels, result.settingsChanged, english);
        return english ? QStringLiteral("Written and verified: %1 changed.").arg(what)
                       : joinChinese(
                             {QStringLiteral("已写入并核对："), what, QStringLiteral("已改变。")});
    }
    case C::Differs: {
        const QString what = contentsText(result.differingChannels, result.settingsDiffer, english);
        return english ? QStringLiteral("The radio does not hold what was written in %1. Write "
                                        "again.")
                             .arg(what)
                       : joinChinese({QStringLiteral("对讲机中"), what,
                                      QStringLiteral("的数据与写入的不同，请重新写入。")});
    }
    case C::NotChecked:
        return notCheckedText(result.notCheckedReason, result.portError, english);
    }
    return QString();
}

// Why nothing was written, in a few words.
QString nothingWrittenReasonText(const WriteResult &result, bool english)
{
    using O = WriteResult::Outcome;
    switch (result.outcome) {
    case O::Written:
        break;
    case O::NoAnswer:
        return say(english, "the radio did not answer", "对讲机没有应答");
    case O::OtherModel: {
        const QString radio = result.radioModel ? modelInfo(*result.radioModel).name : QString();
        return english ? QStringLiteral("the radio is a %1").arg(radio)
                       : QStringLiteral("对讲机是 %1").arg(radio);
    }
    case O::NotIdentified:
        return say(english, "the radio's model could not be read", "无法读出对讲机的型号");
    case O::Declined:
        return say(english, "not started", "没有开始写入");
    case O::PortLost:
        return say(english, "the serial port cannot be used", "串行端口不能使用");
    }
    return QString();
}

// "HH:mm:ss" of a fact's time.
QString clockText(const QDateTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

QString channelListText(const QList<int> &channels, bool english)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    if (!english)
        return QStringLiteral("信道 ") + numbers.join(QStringLiteral("、"));
    return (channels.size() == 1 ? QStringLiteral("channel ") : QStringLiteral("channels ")) +
           numbers.join(QStringLiteral(", "));
}

QString radioContentsText(const QList<int> &channels, bool settings, bool english)
{
    QStringList parts;
    if (!channels.isEmpty())
        parts << channelListText(channels, english);
    if (settings)
        parts << say(english, "the squelch level or channel tone", "静噪级别或信道音");
    if (english)
        return parts.join(QStringLiteral(" and "));
    if (parts.size() == 2)
        parts.insert(1, QStringLiteral("及"));
    return joinChinese(parts);
}

QString joinChinese(const QStringList &pieces)
{
    QString text;
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            continue;
        if (!text.isEmpty()) {
            const QChar before = text.back();
            const QChar after = piece.front();
            if ((latin(before) && chinese(after)) || (chinese(before) && latin(after)))
                text += u' ';
        }
        text += piece;
    }
    return text;
}

QString readFailureText(const ReadResult &result, Model own, bool english, bool answeredReadyPoll)
{
    using O = ReadResult::Outcome;
    switch (result.outcome) {
    case O::Read:
        break;
    case O::NoAnswer:
        if (answeredReadyPoll)
            return say(english,
                       "The radio answered the ready poll but then stopped answering, so nothing "
                       "was read. Check that it is still switched on and the cable seated, and "
                       "read again.",
                       "对讲机应答了就绪查询，随后停止了应答，没有读出数据。请检查对讲机是否仍在"
                       "开机状态、编程电缆是否插好，然后重新读数。");
        return say(english,
                   "The radio does not answer, so nothing was read. Check that it is switched on, "
                   "that the programming cable is seated at both ends and that the right port is "
                   "chosen.",
                   "对讲机没有应答，没有读出数据。请检查对讲机是否已开机、编程电缆两端是否插好、"
                   "选择的端口是否正确。");
    case O::Cut:
        return say(english,
                   "The radio stopped answering during the read, so nothing was read. Check that "
                   "it is still switched on and the cable seated.",
                   "读数时对讲机中途停止了应答，没有读出数据。请检查对讲机是否仍在开机状态、"
                   "编程电缆是否插好。");
    case O::Garbled:
        return say(english,
                   "The radio's answer was garbled, so nothing was read. Check the cable and read "
                   "again.",
                   "对讲机的回答有误码，没有读出数据。请检查电缆后重新读数。");
    case O::UnknownModel:
        return say(english,
                   "The radio reports no model of this family, so nothing was read. Check that it "
                   "is a ZW4630 and read again.",
                   "对讲机报告的型号不属于本系列，没有读出数据。请确认它是 ZW4630 后重新读数。");
    case O::OtherModel: {
        const QString radio = result.radioModel ? modelInfo(*result.radioModel).name : QString();
        return english ? QStringLiteral("The radio is a %1, not a %2, so nothing was read.")
                             .arg(radio, modelInfo(own).name)
                       : QStringLiteral("对讲机是 %1，不是 %2，没有读出数据。")
                             .arg(radio, modelInfo(own).name);
    }
    case O::PortLost:
        return lostPortText(result.portError, english) +
               say(english, ", so nothing was read from the radio.", "，没有从对讲机读出数据。");
    }
    return QString();
}

QString writeOutcomeText(const WriteResult &result, Model own, bool english, bool answeredReadyPoll)
{
    using O = WriteResult::Outcome;
    switch (result.outcome) {
    case O::Written:
        return writtenText(result, english);
    case O::NoAnswer:
        if (answeredReadyPoll)
            return say(english,
                       "The radio answered the ready poll but then stopped answering, so nothing "
                       "was written. Check that it is still switched on and the cable seated, "
                       "and write again.",
                       "对讲机应答了就绪查询，随后停止了应答，没有写入数据。请检查对讲机是否仍在"
                       "开机状态、编程电缆是否插好，然后重新写入。");
        return say(english,
                   "The radio does not answer, so nothing was written. Check that it is switched "
                   "on, that the programming cable is seated at both ends and that the right port "
                   "is chosen.",
                   "对讲机没有应答，没有写入数据。请检查对讲机是否已开机、编程电缆两端是否插好、"
                   "选择的端口是否正确。");
    case O::OtherModel: {
        const QString radio = result.radioModel ? modelInfo(*result.radioModel).name : QString();
        return english ? QStringLiteral("The radio is a %1, not a %2, so nothing was written.")
                             .arg(radio, modelInfo(own).name)
                       : QStringLiteral("对讲机是 %1，不是 %2，没有写入数据。")
                             .arg(radio, modelInfo(own).name);
    }
    case O::NotIdentified:
        return say(english,
                   "The radio's model could not be read, so nothing was written. Check the cable "
                   "and write again.",
                   "无法读出对讲机的型号，没有写入数据。请检查电缆后重新写入。");
    case O::Declined:
        return say(english, "Nothing was written.", "没有写入数据。");
    case O::PortLost:
        // Before "A" the radio takes nothing: only a write cut after it leaves part behind.
        if (!result.writeRequestSent)
            return lostPortText(result.portError, english) +
                   say(english, ", so nothing was written to the radio.",
                       "，没有向对讲机写入数据。");
        return lostPortText(result.portError, english) +
               say(english,
                   ", so not all the channels were written: the radio may hold part of them. "
                   "Write again.",
                   "，数据没有全部写入对讲机。");
    }
    return QString();
}

QString radioBackupFailedText(const QString &error, bool english)
{
    return english
               ? QStringLiteral("The radio's channels could not be kept before the write "
                                "(%1), so nothing was written.")
                     .arg(error)
               : QStringLiteral("无法备份对讲机中现有的信道数据（%1），没有写入数据。").arg(error);
}

QString radioChannelText(const RadioChannel &channel, bool english)
{
    if (!channel.inUse)
        return say(english, "empty", "空");
    const QString none = QStringLiteral("-");
    const auto orNone = [&](const QString &text) { return text.isEmpty() ? none : text; };
    return english ? QStringLiteral("RX %1 %2, TX %3 %4, scan %5, BCL %6, beat %7, power %8")
                         .arg(channel.rxFrequency, orNone(channel.rxTone),
                              orNone(channel.txFrequency), orNone(channel.txTone),
                              orNone(channel.scan.value_or(QString())), orNone(channel.bcl),
                              orNone(channel.beat.value_or(QString())), orNone(channel.power))
                   : QStringLiteral("接收 %1 %2，发送 %3 %4，扫描 %5，BCL %6，拍频 %7，功率 %8")
                         .arg(channel.rxFrequency, orNone(channel.rxTone),
                              orNone(channel.txFrequency), orNone(channel.txTone),
                              orNone(channel.scan.value_or(QString())), orNone(channel.bcl),
                              orNone(channel.beat.value_or(QString())), orNone(channel.power));
}

QString radioSettingsText(const TrailerSettings &settings, bool english)
{
    const QString none = QStringLiteral("-");
    const QString squelch = settings.squelchLevel.isEmpty() ? none : settings.squelchLevel;
    const QString tone = settings.channelTone.isEmpty() ? none : settings.channelTone;
    return english ? QStringLiteral("squelch level %1, channel tone %2").arg(squelch, tone)
                   : QStringLiteral("静噪级别 %1，信道音 %2").arg(squelch, tone);
}

QString readFailureReasonText(const ReadResult &result, Model own, bool english)
{
    using O = ReadResult::Outcome;
    switch (result.outcome) {
    case O::Read:
        break;
    case O::NoAnswer:
        return say(english, "the radio does not answer", "对讲机没有应答");
    case O::Cut:
        return say(english, "the radio stopped answering during the read", "对讲机中途停止了应答");
    case O::Garbled:
        return say(english, "the radio's answer was garbled", "对讲机的回答有误码");
    case O::UnknownModel:
        return say(english, "the radio reports no model of this family",
                   "对讲机报告的型号不属于本系列");
    case O::OtherModel: {
        const QString radio = result.radioModel ? modelInfo(*result.radioModel).name : QString();
        return english
                   ? QStringLiteral("the radio is a %1, not a %2").arg(radio, modelInfo(own).name)
                   : QStringLiteral("对讲机是 %1，不是 %2").arg(radio, modelInfo(own).name);
    }
    case O::PortLost:
        return say(english, "the serial port cannot be used", "串行端口不能使用");
    }
    return QString();
}

QString linkRadioText(const LinkState &state, bool english)
{
    switch (state.port) {
    case LinkState::Port::Closed:
        return say(english, "Port closed", "端口已关闭");
    case LinkState::Port::Failed:
        return say(english, "Port cannot be used", "端口不能使用");
    case LinkState::Port::Open:
        break;
    }
    const QString time = clockText(state.radioSince);
    switch (state.radio) {
    case LinkState::Radio::NotPolled:
        break;
    case LinkState::Radio::Answered:
        return english ? QStringLiteral("radio answered at %1").arg(time)
                       : QStringLiteral("对讲机 %1 应答").arg(time);
    case LinkState::Radio::Silent:
        return english ? QStringLiteral("no answer from the radio since %1").arg(time)
                       : QStringLiteral("对讲机没有应答（自 %1 起）").arg(time);
    }
    return say(english, "radio not polled yet", "尚未询问对讲机");
}

QString linkTransferText(const LinkState &state, bool english)
{
    const QString blocks = QStringLiteral("%1/%2").arg(state.blocksDone).arg(state.blocksTotal);
    switch (state.transfer) {
    case LinkState::Transfer::Idle:
        break;
    case LinkState::Transfer::Reading:
        return (english ? QStringLiteral("Reading %1") : QStringLiteral("正在读数据 %1"))
            .arg(blocks);
    case LinkState::Transfer::Identifying:
        return say(english, "Identifying the radio", "正在识别对讲机");
    case LinkState::Transfer::Writing:
        return (english ? QStringLiteral("Writing %1") : QStringLiteral("正在写入 %1")).arg(blocks);
    case LinkState::Transfer::Verifying:
        return say(english, "Reading back to verify", "正在核对");
    }
    return QString();
}

QString linkOutcomeText(const LinkState &state, bool english)
{
    const QString time = clockText(state.outcomeTime);
    const WriteResult &write = state.write;
    switch (state.outcome) {
    case LinkState::Outcome::None:
        break;
    case LinkState::Outcome::Read:
        return (english ? QStringLiteral("%1 channels read %2")
                        : QStringLiteral("已读取 %1 个信道 %2"))
            .arg(channelCount)
            .arg(time);
    case LinkState::Outcome::ReadFailed:
        return (english ? QStringLiteral("Read failed: %1 %2") : QStringLiteral("读数失败：%1 %2"))
            .arg(readFailureReasonText(state.read, state.outcomeModel, english), time);
    case LinkState::Outcome::Verified:
        return (english ? QStringLiteral("Written and verified %1")
                        : QStringLiteral("已写入并核对 %1"))
            .arg(time);
    case LinkState::Outcome::Differs:
        return (english ? QStringLiteral("Written, but the radio differs: %1 %2")
                        : QStringLiteral("已写入，但对讲机与写入不同：%1 %2"))
            .arg(contentsText(write.differingChannels, write.settingsDiffer, english), time);
    case LinkState::Outcome::NotChecked: {
        // A write cut by a failed port left part of the image: the port is the reason.
        const QString why =
            write.ok()
                ? (write.check == WriteResult::Check::Skipped
                       ? say(english, "not asked for", "没有要求核对")
                       : notCheckedReasonText(write.notCheckedReason, english))
                : say(english, "the serial port failed during the write", "写入时串行端口出错");
        return (english ? QStringLiteral("Written, not verified %1 (%2)")
                        : QStringLiteral("已写入，没有核对 %1（%2）"))
            .arg(time, why);
    }
    case LinkState::Outcome::NothingWritten:
        return (english ? QStringLiteral("Nothing written %1 (%2)")
                        : QStringLiteral("没有写入 %1（%2）"))
            .arg(time, nothingWrittenReasonText(write, english));
    }
    return QString();
}

} // namespace zw
