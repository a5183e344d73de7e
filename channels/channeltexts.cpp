#include "channeltexts.h"

#include "channelfile.h"

#include <QDir>

namespace zw
{

namespace
{

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// "receive" or "transmit" for the two frequency columns of the grid.
QString frequencyName(int column, bool english)
{
    if (english)
        return column == 3 ? QStringLiteral("transmit") : QStringLiteral("receive");
    return column == 3 ? QStringLiteral("发送") : QStringLiteral("接收");
}

QString csvFailureText(CsvFailure kind, const Failure &failure, bool english)
{
    switch (kind) {
    case CsvFailure::NoHeader:
        return english ? QStringLiteral("the file holds no CSV header")
                       : QStringLiteral("文件没有 CSV 标题行");
    case CsvFailure::NoChannelColumns:
        return english ? QStringLiteral("the header has no Location and Frequency columns")
                       : QStringLiteral("标题行没有 Location 和 Frequency 列");
    case CsvFailure::FrequencyTooLarge:
        return (english ? QStringLiteral("channel %1: %2 MHz is too large for a frequency")
                        : QStringLiteral("信道 %1：%2 MHz 作为频率太大"))
            .arg(failure.number)
            .arg(failure.value);
    }
    return failure.why;
}

QString fileText(FileFailure kind, const Failure &failure, bool english)
{
    const QString path = native(failure.path);
    switch (kind) {
    case FileFailure::SystemRefused:
        if (english)
            return path.isEmpty() ? failure.why : path + QStringLiteral(": ") + failure.why;
        return path.isEmpty() ? QStringLiteral("系统拒绝访问：%1").arg(failure.why)
                              : QStringLiteral("系统拒绝访问 %1：%2").arg(path, failure.why);
    case FileFailure::NotRegular:
        return (english ? QStringLiteral("%1 is not a regular file")
                        : QStringLiteral("%1 不是普通文件"))
            .arg(path);
    case FileFailure::TooLarge:
        if (path.isEmpty())
            return (english ? QStringLiteral("the file is too large (more than %1 bytes)")
                            : QStringLiteral("文件太大（超过 %1 字节）"))
                .arg(failure.number);
        return (english ? QStringLiteral("%1 is too large (more than %2 bytes)")
                        : QStringLiteral("%1 太大（超过 %2 字节）"))
            .arg(path)
            .arg(failure.number);
    case FileFailure::WriteFailed:
        return (english ? QStringLiteral("%1 could not be written whole (%2); the old file is kept")
                        : QStringLiteral("%1 没有完整写入（%2），原有文件没有改变"))
            .arg(path, failure.why);
    case FileFailure::SyncFailed:
        return (english
                    ? QStringLiteral("the disk did not confirm %1 as written (%2); the old file "
                                     "is kept")
                    : QStringLiteral("磁盘没有确认 %1 已写入（%2），原有文件没有改变"))
            .arg(path, failure.why);
    case FileFailure::FolderSyncFailed:
        return (english ? QStringLiteral("%1 holds the new content, but the disk did not confirm "
                                         "its folder (%2): after a power loss the old file may "
                                         "be back")
                        : QStringLiteral("%1 已是新内容，但磁盘没有确认其所在的文件夹（%2）："
                                         "断电后可能又是原有文件"))
            .arg(path, failure.why);
    case FileFailure::NoConverter:
        return english ? QStringLiteral("this system has no GB2312 converter")
                       : QStringLiteral("本系统没有 GB2312 编码转换器");
    case FileFailure::NotGb2312Text:
        return english ? QStringLiteral("the file is not GB2312 text")
                       : QStringLiteral("文件不是 GB2312 文本");
    case FileFailure::NotWritable:
        return english ? QStringLiteral("a value cannot be written in GB2312")
                       : QStringLiteral("有的值不能用 GB2312 写出");
    case FileFailure::QuoteInValue:
        return (english ? QStringLiteral(
                              "the value \"%1\" holds a double quote a channel file cannot hold")
                        : QStringLiteral("值“%1”含有信道文件不能保存的双引号"))
            .arg(failure.value);
    case FileFailure::Truncated:
        return (english ? QStringLiteral("the file ends after %1 of %2 values")
                        : QStringLiteral("文件只有 %2 个值中的 %1 个"))
            .arg(failure.number)
            .arg(channelFileValueCount);
    case FileFailure::ChannelToneBad:
        return (english ? QStringLiteral("the channel tone \"%1\" is not an entry of its list")
                        : QStringLiteral("信道音“%1”不是可选的值"))
            .arg(failure.value);
    case FileFailure::SquelchLevelBad:
        return (english ? QStringLiteral("the squelch level \"%1\" is not an entry of its list")
                        : QStringLiteral("静噪级别“%1”不是可选的值"))
            .arg(failure.value);
    case FileFailure::NoBackupFolder:
        return english ? QStringLiteral("there is no folder for backups (no home folder)")
                       : QStringLiteral("没有存放备份的文件夹（没有主文件夹）");
    case FileFailure::CannotMakeFolder:
        return (english ? QStringLiteral("cannot create %1") : QStringLiteral("不能创建 %1"))
            .arg(path);
    case FileFailure::NotFleetLog:
        return (english ? QStringLiteral("%1 is not a log of written radios (line %2); it is "
                                         "left as it is")
                        : QStringLiteral("%1 不是批量写入记录（第 %2 行），没有改动"))
            .arg(path)
            .arg(failure.number);
    }
    return failure.why;
}

} // namespace

QString fileFailureText(const Failure &failure, bool english)
{
    if (const FileFailure *kind = std::get_if<FileFailure>(&failure.kind))
        return fileText(*kind, failure, english);
    if (const CsvFailure *kind = std::get_if<CsvFailure>(&failure.kind))
        return csvFailureText(*kind, failure, english);
    return failure.why;
}

QString fileFailureReason(const Failure &failure, bool english)
{
    const FileFailure *kind = std::get_if<FileFailure>(&failure.kind);
    if (!kind)
        return fileFailureText(failure, english);
    switch (*kind) {
    case FileFailure::SystemRefused:
    case FileFailure::WriteFailed:
        return failure.why;
    case FileFailure::SyncFailed:
        return (english ? QStringLiteral("the disk did not confirm it: %1")
                        : QStringLiteral("磁盘没有确认写入：%1"))
            .arg(failure.why);
    case FileFailure::NotRegular:
        return english ? QStringLiteral("not a regular file") : QStringLiteral("不是普通文件");
    default:
        break;
    }
    Failure unnamed = failure;
    unnamed.path.clear();
    return fileFailureText(unnamed, english);
}

QString csvReasonText(const CsvReason &reason, CsvLanguage language)
{
    const bool english = language == CsvLanguage::English;
    const QString &s = reason.subject;
    switch (reason.kind) {
    case CsvReasonKind::FrequencyNotNumber:
        return english ? QStringLiteral("frequency \"%1\" is not a number").arg(s)
                       : QStringLiteral("频率“%1”不是数字").arg(s);
    case CsvReasonKind::FrequencyTooManyDecimals:
        return english ? QStringLiteral("frequency \"%1\" has more than 6 decimals").arg(s)
                       : QStringLiteral("频率“%1”的小数超过 6 位").arg(s);
    case CsvReasonKind::FrequencyFinerThan10Hz:
        return english ? QStringLiteral("frequency \"%1\" is finer than 10 Hz").arg(s)
                       : QStringLiteral("频率“%1”精确到 10 Hz 以下").arg(s);
    case CsvReasonKind::LocationNotChannel:
        return english
                   ? QStringLiteral("Location %1 is not a channel of this radio (1 to 16)").arg(s)
                   : QStringLiteral("位置 %1 不是本机的信道（1 到 16）").arg(s);
    case CsvReasonKind::ChannelTwice:
        return english ? QStringLiteral("channel %1 appears twice").arg(s)
                       : QStringLiteral("信道 %1 出现了两次").arg(s);
    case CsvReasonKind::ReceiveOutOfBand:
        return (english ? QStringLiteral("receive frequency %1 MHz is outside %2 to %3 MHz")
                        : QStringLiteral("接收频率 %1 MHz 超出 %2 到 %3 MHz"))
            .arg(s)
            .arg(reason.bandLow)
            .arg(reason.bandHigh);
    case CsvReasonKind::ReceiveOffRaster:
        return english ? QStringLiteral(
                             "receive frequency %1 MHz is not on the 5 kHz or 6.25 kHz raster")
                             .arg(s)
                       : QStringLiteral("接收频率 %1 MHz 不在 5 kHz 或 6.25 kHz 的步进上").arg(s);
    case CsvReasonKind::DuplexUnknown:
        return english ? QStringLiteral("Duplex \"%1\" is not known").arg(s)
                       : QStringLiteral("不认识的 Duplex“%1”").arg(s);
    case CsvReasonKind::TransmitOutOfBand:
        return (english ? QStringLiteral("transmit frequency %1 MHz is outside %2 to %3 MHz")
                        : QStringLiteral("发送频率 %1 MHz 超出 %2 到 %3 MHz"))
            .arg(s)
            .arg(reason.bandLow)
            .arg(reason.bandHigh);
    case CsvReasonKind::TransmitOffRaster:
        return english ? QStringLiteral(
                             "transmit frequency %1 MHz is not on the 5 kHz or 6.25 kHz raster")
                             .arg(s)
                       : QStringLiteral("发送频率 %1 MHz 不在 5 kHz 或 6.25 kHz 的步进上").arg(s);
    case CsvReasonKind::CrossModeUnknown:
        return english ? QStringLiteral("CrossMode \"%1\" is not known").arg(s)
                       : QStringLiteral("不认识的 CrossMode“%1”").arg(s);
    case CsvReasonKind::ToneModeUnknown:
        return english ? QStringLiteral("Tone mode \"%1\" cannot be stored in this radio").arg(s)
                       : QStringLiteral("Tone 方式“%1”不能存入本机").arg(s);
    case CsvReasonKind::ToneNotInList:
        return english
                   ? QStringLiteral("CTCSS tone %1 Hz is not one of the radio's 39 tones").arg(s)
                   : QStringLiteral("CTCSS 亚音 %1 Hz 不在对讲机的 39 个亚音之中").arg(s);
    case CsvReasonKind::DcsInverted:
        return english ? QStringLiteral("DCS code %1 with inverted polarity: the radio has normal "
                                        "polarity only")
                             .arg(s)
                       : QStringLiteral("DCS 码 %1 为反相：对讲机只有正相").arg(s);
    case CsvReasonKind::DcsNotInList:
        return english ? QStringLiteral("DCS code %1 is not one of the radio's 83 codes").arg(s)
                       : QStringLiteral("DCS 码 %1 不在对讲机的 83 个码之中").arg(s);
    case CsvReasonKind::PowerNotWatts:
        return english ? QStringLiteral("Power \"%1\" is not a watt value").arg(s)
                       : QStringLiteral("功率“%1”不是瓦数").arg(s);
    case CsvReasonKind::ModeNotAnalogFm:
        return english ? QStringLiteral("Mode \"%1\" is not analog FM: the radio takes FM and NFM "
                                        "channels only")
                             .arg(s)
                       : QStringLiteral("Mode“%1”不是模拟调频：对讲机只能用 FM 和 NFM 信道").arg(s);
    }
    return s;
}

QString pasteReasonText(const PasteReason &reason, bool english)
{
    using Kind = PasteReasonKind;
    const QString &value = reason.value;
    const QString spare = QStringLiteral("备用%1").arg(reason.column);
    switch (reason.kind) {
    case Kind::NoReceiveFrequency:
        return english ? QStringLiteral("the row gives no receive frequency")
                       : QStringLiteral("该行没有接收频率");
    case Kind::NotANumber:
        return (english ? QStringLiteral("%1 frequency \"%2\" is not a number")
                        : QStringLiteral("%1频率“%2”不是数字"))
            .arg(frequencyName(reason.column, english), value);
    case Kind::OutsideBand:
        return (english ? QStringLiteral("%1 frequency %2 is outside %3 - %4 MHz")
                        : QStringLiteral("%1频率 %2 超出 %3 - %4 MHz"))
            .arg(frequencyName(reason.column, english), value)
            .arg(reason.bandLow)
            .arg(reason.bandHigh);
    case Kind::NotInList:
        return (english ? QStringLiteral("%1 \"%2\" is not an entry of its list")
                        : QStringLiteral("%1“%2”不是可选的值"))
            .arg(gridColumnName(reason.column, english), value);
    case Kind::SpareTooLong:
        return (english ? QStringLiteral("%1 is longer than %2 bytes")
                        : QStringLiteral("%1 超过 %2 字节"))
            .arg(spare)
            .arg(maxSpareFieldBytes);
    case Kind::SpareNotGb2312:
        return (english ? QStringLiteral("%1 holds a character a channel file cannot hold")
                        : QStringLiteral("%1 含有信道文件不能保存的字符"))
            .arg(spare);
    case Kind::SpareQuote:
        return (english ? QStringLiteral("%1 holds a double quote a channel file cannot hold")
                        : QStringLiteral("%1 含有信道文件不能保存的双引号"))
            .arg(spare);
    case Kind::Csv:
        return csvReasonText(reason.csv, english ? CsvLanguage::English : CsvLanguage::Chinese);
    case Kind::NoChirpColumns:
        return csvFailureText(CsvFailure::NoChannelColumns, Failure{}, english);
    case Kind::TooLarge:
        return english ? QStringLiteral("the clipboard holds more than a channel list")
                       : QStringLiteral("剪贴板的内容超过一个信道表");
    case Kind::NoChannels:
        return english ? QStringLiteral("the clipboard holds no channels")
                       : QStringLiteral("剪贴板中没有信道");
    }
    return value;
}

} // namespace zw
