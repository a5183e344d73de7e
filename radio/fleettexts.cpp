#include "fleettexts.h"

#include "channeltexts.h"

#include <QDir>
#include <QStringList>

namespace zw
{

namespace
{

// "3 5 12", as the log's changed_channels holds them.
QString channelNumbers(const QList<int> &channels)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    return numbers.join(u' ');
}

// Why nothing, or not all, reached a radio.
QString notWrittenWhy(const WriteResult &result, bool english)
{
    using O = WriteResult::Outcome;
    switch (result.outcome) {
    case O::Written:
        return english ? QStringLiteral("it stopped answering during the write")
                       : QStringLiteral("写入中途对讲机不再应答");
    case O::NoAnswer:
        return english ? QStringLiteral("it did not answer the read request")
                       : QStringLiteral("对讲机没有回答读数请求");
    case O::NotIdentified:
        return english ? QStringLiteral("its reply could not be read")
                       : QStringLiteral("对讲机的回答不能识别");
    case O::Declined:
        return english ? QStringLiteral("its contents could not be kept first")
                       : QStringLiteral("没能先保存其原有数据");
    case O::PortLost:
    case O::OtherModel:
        break;
    }
    return english ? QStringLiteral("the serial port failed") : QStringLiteral("串行端口出错");
}

} // namespace

QString fleetRadioText(const FleetRow &row, const WriteResult &result, Model own, bool english)
{
    const QString radio = english ? QStringLiteral("radio %1: ").arg(row.radio)
                                  : QStringLiteral("第 %1 台：").arg(row.radio);
    const QString channels = channelNumbers(row.changedChannels);
    switch (row.outcome) {
    case FleetOutcome::Verified:
        if (channels.isEmpty())
            return radio + (english ? QStringLiteral("written and verified, no channel changed")
                                    : QStringLiteral("已写入并核对，没有信道改变"));
        return radio + (english ? QStringLiteral("written and verified, channels %1 changed")
                                : QStringLiteral("已写入并核对，信道 %1 已改变"))
                           .arg(channels);
    case FleetOutcome::Differs:
        if (channels.isEmpty())
            return radio + (english ? QStringLiteral("written, but its settings read back "
                                                     "otherwise: write it again")
                                    : QStringLiteral("已写入，但读回的设置不同，请重新写入"));
        return radio + (english ? QStringLiteral("written, but channels %1 read back otherwise: "
                                                 "write it again")
                                : QStringLiteral("已写入，但读回的信道 %1 不同，请重新写入"))
                           .arg(channels);
    case FleetOutcome::NotChecked:
        return radio + (english ? QStringLiteral("written, but it could not be read back: "
                                                 "check it")
                                : QStringLiteral("已写入，但没能读回核对，请检查"));
    case FleetOutcome::OtherModel: {
        const QString other = row.model ? modelInfo(*row.model).name : QStringLiteral("?");
        return radio + (english ? QStringLiteral("a %1, not a %2: refused, nothing written")
                                : QStringLiteral("型号是 %1，不是 %2：拒绝写入，没有改动"))
                           .arg(other, modelInfo(own).name);
    }
    case FleetOutcome::NotWritten:
        return radio + (english ? QStringLiteral("not written: %1") : QStringLiteral("未写入：%1"))
                           .arg(notWrittenWhy(result, english));
    }
    return radio;
}

QString fleetPhaseText(FleetRun::Phase phase, int radio, LinkState::Transfer step,
                       FleetOutcome last, bool english)
{
    switch (phase) {
    case FleetRun::Phase::Idle:
    case FleetRun::Phase::Ended:
        return QString();
    case FleetRun::Phase::WaitingForRadio:
        return english ? QStringLiteral("connect the next radio and switch it on")
                       : QStringLiteral("请接上下一台对讲机并开机");
    case FleetRun::Phase::Writing:
        // Until the radio is identified nothing is written: a radio of another model is only
        // ever "identifying".
        if (step == LinkState::Transfer::Writing)
            return english ? QStringLiteral("writing radio %1…").arg(radio)
                           : QStringLiteral("正在写入第 %1 台…").arg(radio);
        if (step == LinkState::Transfer::Verifying)
            return english ? QStringLiteral("checking radio %1…").arg(radio)
                           : QStringLiteral("正在核对第 %1 台…").arg(radio);
        return english ? QStringLiteral("identifying radio %1…").arg(radio)
                       : QStringLiteral("正在识别第 %1 台…").arg(radio);
    case FleetRun::Phase::WaitingForQuiet:
        break;
    }
    if (english)
        return QStringLiteral("switch radio %1 off and connect the next").arg(radio);
    QString done;
    switch (last) {
    case FleetOutcome::Verified:
        done = QStringLiteral("已核对");
        break;
    case FleetOutcome::Differs:
        done = QStringLiteral("读回不符");
        break;
    case FleetOutcome::NotChecked:
        done = QStringLiteral("未能核对");
        break;
    case FleetOutcome::OtherModel:
        done = QStringLiteral("型号不符，未写入");
        break;
    case FleetOutcome::NotWritten:
        done = QStringLiteral("未写入");
        break;
    }
    return QStringLiteral("第 %1 台%2，请关机").arg(radio).arg(done);
}

QString fleetEndText(const FleetEnd &end, const QString &logPath, bool english)
{
    const QString log = QDir::toNativeSeparators(logPath);
    QString what;
    switch (end.reason) {
    case FleetEnd::Reason::Stopped:
        what = english ? QStringLiteral("Stopped.") : QStringLiteral("已停止。");
        break;
    case FleetEnd::Reason::CountReached:
        what = english ? QStringLiteral("All radios asked for are done.")
                       : QStringLiteral("要写的对讲机都已完成。");
        break;
    case FleetEnd::Reason::PortLost:
        what = english ? QStringLiteral("The serial port failed (%1): the run stopped.")
                       : QStringLiteral("串行端口出错（%1），批量写入已停止。");
        what = what.arg(end.portError);
        break;
    case FleetEnd::Reason::BackupFailed:
        what = english ? QStringLiteral("The contents of radio %1 could not be kept (%2): "
                                        "nothing was written into it and the run stopped.")
                       : QStringLiteral("没能保存第 %1 台的原有数据（%2），没有写入，批量写入已"
                                        "停止。");
        what = what.arg(end.radio).arg(fileFailureText(end.failure, english));
        break;
    case FleetEnd::Reason::LogFailed:
        return english ? QStringLiteral("The log could not be written (%1): the run stopped after "
                                        "radio %2.")
                             .arg(fileFailureText(end.failure, english))
                             .arg(end.radio)
                       : QStringLiteral("不能写入记录（%1），批量写入在第 %2 台后停止。")
                             .arg(fileFailureText(end.failure, english))
                             .arg(end.radio);
    }
    return what +
           (english ? QStringLiteral(" The log is %1.") : QStringLiteral("记录在 %1。")).arg(log);
}

} // namespace zw
