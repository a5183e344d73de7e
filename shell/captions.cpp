#include "captions.h"

#include "windowlayout.h"

namespace zw
{

namespace
{

QString blanks(int n)
{
    return QString(n, u' ');
}

struct Row {
    Caption caption;
    QString design;
    QString chinese;
    QString english;
};

// "%B" stands for the model's leading blanks of its Chinese menu items.
const QList<Row> &rows()
{
    static const QList<Row> table{
        {Caption::MainWindow, QStringLiteral("ZW4630  版本  B1.3"),
         QStringLiteral("ZW4630  版本 B1.3"), QStringLiteral("ZW4630  Version B1.3")},
        {Caption::MainModelMenu, blanks(7) + QStringLiteral("对讲机型号"),
         blanks(8) + QStringLiteral("型号"), blanks(8) + QStringLiteral("Model")},
        {Caption::MainPortMenu, blanks(7) + QStringLiteral("设置端口"),
         blanks(8) + QStringLiteral("设置端口"), blanks(8) + QStringLiteral("Set Port")},
        {Caption::MainLanguageMenu, blanks(7) + QStringLiteral("语言"),
         blanks(8) + QStringLiteral("语言"), blanks(8) + QStringLiteral("Language")},
        {Caption::MainExitMenu, blanks(7) + QStringLiteral("退出系统"),
         blanks(8) + QStringLiteral("退出系统"), blanks(8) + QStringLiteral("Exit System")},
        {Caption::MainHelpMenu, blanks(7) + QStringLiteral("帮助"),
         blanks(8) + QStringLiteral("帮助"), blanks(8) + QStringLiteral("Help")},
        {Caption::LanguageChinese, QStringLiteral("中文"), QStringLiteral("中文"),
         QStringLiteral("Chinese")},
        {Caption::LanguageEnglish, QStringLiteral("英语"), QStringLiteral("英语"),
         QStringLiteral("English")},
        {Caption::HelpNotes, QStringLiteral("操作说明"), QStringLiteral("操作说明"),
         QStringLiteral("Opertion")},
        {Caption::HelpAbout, QStringLiteral("关于本软件"), QStringLiteral("关于本软件"),
         QStringLiteral("About")},
        {Caption::HelpSaveTrace, QStringLiteral("保存通信记录…"), QStringLiteral("保存通信记录…"),
         QStringLiteral("Save Serial Trace…")},
        {Caption::ModelMenu, blanks(1) + QStringLiteral("对讲机型号"),
         blanks(1) + QStringLiteral("对讲机型号"), blanks(8) + QStringLiteral("Model")},
        {Caption::FileMenu, QStringLiteral("%B文件(&F)"), QStringLiteral("%B文件(&F)"),
         blanks(8) + QStringLiteral("&File")},
        {Caption::OpenItem, QStringLiteral("打开文件(&O)"), QStringLiteral("打开文件(&O)"),
         QStringLiteral("打开文件(&O)")},
        {Caption::SaveItem, QStringLiteral("保存文件(&V)"), QStringLiteral("保存文件(&V)"),
         QStringLiteral("保存文件(&V)")},
        {Caption::ReadItem, QStringLiteral("%B读信道数据(&R)"), QStringLiteral("%B读信道数据(&R)"),
         blanks(6) + QStringLiteral("&Read Data")},
        {Caption::WriteItem, QStringLiteral("%B写信道数据(&W)"), QStringLiteral("%B写信道数据(&W)"),
         blanks(6) + QStringLiteral("&Write Data")},
        {Caption::ExitItem, QStringLiteral("%B退出(&E)"), QStringLiteral("%B退出(&E)"),
         blanks(8) + QStringLiteral("&Exit")},
        {Caption::SquelchLabel, QStringLiteral("静噪级别："), QStringLiteral("静噪级别："),
         QStringLiteral("Squelch Level")},
        {Caption::ChannelToneLabel, QStringLiteral("信道音："), QStringLiteral("信道音："),
         QStringLiteral("CH Tone")},
        // D: E is the Exit item's letter.
        {Caption::EditMenu, QStringLiteral("%B编辑(&D)"), QStringLiteral("%B编辑(&D)"),
         blanks(8) + QStringLiteral("E&dit")},
        {Caption::UndoItem, QStringLiteral("撤销(&U)"), QStringLiteral("撤销(&U)"),
         QStringLiteral("Undo")},
        {Caption::RedoItem, QStringLiteral("重做(&Y)"), QStringLiteral("重做(&Y)"),
         QStringLiteral("Redo")},
        {Caption::OpenBackupItem, QStringLiteral("打开备份文件(&B)..."),
         QStringLiteral("打开备份文件(&B)..."), QStringLiteral("Open Backup...")},
        {Caption::RestoreRadioItem, QStringLiteral("恢复对讲机…"), QStringLiteral("恢复对讲机…"),
         QStringLiteral("Restore Radio…")},
        {Caption::FleetWriteItem, QStringLiteral("批量写入…"), QStringLiteral("批量写入…"),
         QStringLiteral("Write Several Radios…")},
        {Caption::FleetTitle, QStringLiteral("批量写入"), QStringLiteral("批量写入"),
         QStringLiteral("Write Several Radios")},
        {Caption::FleetPlan, QStringLiteral("写入内容：%1　校验和：%2"),
         QStringLiteral("写入内容：%1　校验和：%2"), QStringLiteral("Plan: %1    checksum %2")},
        {Caption::FleetVerified, QStringLiteral("已写入并核对"), QStringLiteral("已写入并核对"),
         QStringLiteral("written and verified")},
        {Caption::FleetDiffers, QStringLiteral("读回不符"), QStringLiteral("读回不符"),
         QStringLiteral("differs")},
        {Caption::FleetNotChecked, QStringLiteral("未能核对"), QStringLiteral("未能核对"),
         QStringLiteral("not checked")},
        {Caption::FleetRefused, QStringLiteral("型号不符"), QStringLiteral("型号不符"),
         QStringLiteral("refused")},
        {Caption::FleetNotWritten, QStringLiteral("未写入"), QStringLiteral("未写入"),
         QStringLiteral("not written")},
        {Caption::FleetLogFile, QStringLiteral("记录文件：%1"), QStringLiteral("记录文件：%1"),
         QStringLiteral("Log: %1")},
        {Caption::FleetChangeLog, QStringLiteral("更改…"), QStringLiteral("更改…"),
         QStringLiteral("Change…")},
        {Caption::FleetStart, QStringLiteral("开始"), QStringLiteral("开始"),
         QStringLiteral("Start")},
        {Caption::FleetStop, QStringLiteral("停止"), QStringLiteral("停止"),
         QStringLiteral("Stop")},
        {Caption::FleetClose, QStringLiteral("关闭"), QStringLiteral("关闭"),
         QStringLiteral("Close")},
        {Caption::FleetBeforeStart, QStringLiteral("按“开始”，然后逐台接上对讲机并开机"),
         QStringLiteral("按“开始”，然后逐台接上对讲机并开机"),
         QStringLiteral("press Start, then connect the radios one by one")},
        {Caption::FleetStopping, QStringLiteral("第 %1 台写完后停止…"),
         QStringLiteral("第 %1 台写完后停止…"),
         QStringLiteral("stopping once radio %1 is written…")},
        {Caption::Dialog1Caption, QStringLiteral("Select Model"), QStringLiteral("Select Model"),
         QStringLiteral("Select Model")},
        {Caption::Dialog1Label, QStringLiteral("Select Model:"), QStringLiteral("Select Model:"),
         QStringLiteral("Plise Select Model")},
        {Caption::Dialog1Ok, QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK")},
        {Caption::Dialog1Cancel, QStringLiteral("CANCEL"), QStringLiteral("CANCEL"),
         QStringLiteral("Cancel")},
        {Caption::DialogCaption, QStringLiteral("选择端口"), QStringLiteral("选择端口"),
         QStringLiteral("Select Port")},
        {Caption::DialogLabel, QStringLiteral("请选择串行口:"), QStringLiteral("请选择串行口:"),
         QStringLiteral("Plise Select Port")},
        {Caption::DialogOk, QStringLiteral("确定"), QStringLiteral("确定"), QStringLiteral("OK")},
        {Caption::DialogCancel, QStringLiteral("取消"), QStringLiteral("取消"),
         QStringLiteral("Cancel")},
        {Caption::DialogFindRadio, QStringLiteral("查找对讲机"), QStringLiteral("查找对讲机"),
         QStringLiteral("Find Radio")},
        {Caption::ExportCsvItem, QStringLiteral("导出 CHIRP CSV..."),
         QStringLiteral("导出 CHIRP CSV..."), QStringLiteral("Export CHIRP CSV...")},
        {Caption::ImportCsvItem, QStringLiteral("导入 CHIRP CSV..."),
         QStringLiteral("导入 CHIRP CSV..."), QStringLiteral("Import CHIRP CSV...")},
        {Caption::CsvProblemsCaption, QStringLiteral("导入 CHIRP CSV"),
         QStringLiteral("导入 CHIRP CSV"), QStringLiteral("Import CHIRP CSV")},
        {Caption::CsvProblemsLabel,
         QStringLiteral("%1 行可以导入。以下 %2 行不能用于本机型，不会导入："),
         QStringLiteral("%1 行可以导入。以下 %2 行不能用于本机型，不会导入："),
         QStringLiteral("%1 rows fit. These %2 rows do not fit this model and are left out:")},
        {Caption::CsvProblemsApply, QStringLiteral("应用可用的行"), QStringLiteral("应用可用的行"),
         QStringLiteral("Apply Rows That Fit")},
        {Caption::CsvProblemsCancel, QStringLiteral("取消"), QStringLiteral("取消"),
         QStringLiteral("Cancel")},
        {Caption::CsvProblemsLine, QStringLiteral("行号"), QStringLiteral("行号"),
         QStringLiteral("Line")},
        {Caption::CsvProblemsLocation, QStringLiteral("信道"), QStringLiteral("信道"),
         QStringLiteral("Location")},
        {Caption::CsvProblemsReason, QStringLiteral("原因"), QStringLiteral("原因"),
         QStringLiteral("Reason")},
        {Caption::CsvProblemsFileOrder, QStringLiteral("不按 Location，按文件顺序放入信道 1–16"),
         QStringLiteral("不按 Location，按文件顺序放入信道 1–16"),
         QStringLiteral("Place the rows in file order into channels 1–16, not by Location")},
        {Caption::CsvProblemsPastEnd, QStringLiteral("另有 %1 行超出第 16 信道，不会导入。"),
         QStringLiteral("另有 %1 行超出第 16 信道，不会导入。"),
         QStringLiteral("Left out after channel 16: %1 rows.")},
        {Caption::CopyItem, QStringLiteral("复制"), QStringLiteral("复制"), QStringLiteral("Copy")},
        {Caption::CutItem, QStringLiteral("剪切"), QStringLiteral("剪切"), QStringLiteral("Cut")},
        {Caption::PasteItem, QStringLiteral("粘贴"), QStringLiteral("粘贴"),
         QStringLiteral("Paste")},
        {Caption::ClearItem, QStringLiteral("清除"), QStringLiteral("清除"),
         QStringLiteral("Clear")},
        {Caption::MoveUpItem, QStringLiteral("上移"), QStringLiteral("上移"),
         QStringLiteral("Move Up")},
        {Caption::MoveDownItem, QStringLiteral("下移"), QStringLiteral("下移"),
         QStringLiteral("Move Down")},
        {Caption::PasteProblemsCaption, QStringLiteral("粘贴信道"), QStringLiteral("粘贴信道"),
         QStringLiteral("Paste Channels")},
        {Caption::PasteProblemsLabel,
         QStringLiteral("%1 行可以粘贴。以下 %2 行不能用于本机型，不会粘贴："),
         QStringLiteral("%1 行可以粘贴。以下 %2 行不能用于本机型，不会粘贴："),
         QStringLiteral("%1 rows fit. These %2 rows do not fit this model and are left out:")},
        {Caption::PasteProblemsFit, QStringLiteral("%1 行可以粘贴。"),
         QStringLiteral("%1 行可以粘贴。"), QStringLiteral("%1 rows fit.")},
        {Caption::PasteProblemsPastEnd, QStringLiteral("另有 %1 行超出第 16 信道，不会粘贴。"),
         QStringLiteral("另有 %1 行超出第 16 信道，不会粘贴。"),
         QStringLiteral("Left out after channel 16: %1 rows.")},
        {Caption::PasteProblemsKept,
         QStringLiteral("另有 %1 行的频率超出频段，按输入粘贴（见下表）。"),
         QStringLiteral("另有 %1 行的频率超出频段，按输入粘贴（见下表）。"),
         QStringLiteral("%1 rows are pasted as typed with a frequency outside the band (listed).")},
        {Caption::PasteProblemsIgnored, QStringLiteral("不认识的列没有读取：%1。"),
         QStringLiteral("不认识的列没有读取：%1。"),
         QStringLiteral("Columns not known, not read: %1.")},
        {Caption::RemoveFromListButton, QStringLiteral("从列表中去掉"),
         QStringLiteral("从列表中去掉"), QStringLiteral("Remove from List")},
        {Caption::DiscardStepButton, QStringLiteral("放弃这一步"), QStringLiteral("放弃这一步"),
         QStringLiteral("Discard Step")},
        {Caption::KeepButton, QStringLiteral("保留"), QStringLiteral("保留"),
         QStringLiteral("Keep")},
        {Caption::BackupDate, QStringLiteral("日期"), QStringLiteral("日期"),
         QStringLiteral("Date")},
        {Caption::BackupTime, QStringLiteral("时间"), QStringLiteral("时间"),
         QStringLiteral("Time")},
        {Caption::BackupModel, QStringLiteral("机型"), QStringLiteral("机型"),
         QStringLiteral("Model")},
        {Caption::BackupReasonColumn, QStringLiteral("原因"), QStringLiteral("原因"),
         QStringLiteral("Reason")},
        {Caption::OpenFileDialog, QStringLiteral("打开文件"), QStringLiteral("打开文件"),
         QStringLiteral("打开文件")},
        {Caption::SaveFileDialog, QStringLiteral("保存文件"), QStringLiteral("保存文件"),
         QStringLiteral("保存文件")},
        {Caption::ContinueQuestionGo, QStringLiteral("继续"), QStringLiteral("继续"),
         QStringLiteral("继续")},
        {Caption::ContinueQuestionStop, QStringLiteral("取消"), QStringLiteral("取消"),
         QStringLiteral("取消")},
    };
    return table;
}

} // namespace

QString captionText(Caption caption, CaptionSet set, const ModelWindowLayout *model)
{
    for (const Row &row : rows()) {
        if (row.caption != caption)
            continue;
        QString text = set == CaptionSet::Design    ? row.design
                       : set == CaptionSet::Chinese ? row.chinese
                                                    : row.english;
        text.replace(QStringLiteral("%B"), blanks(model ? model->menuLeadingBlanks : 4));
        return text;
    }
    return QString();
}

QStringList gridCaptions(const ModelWindowLayout &model, bool english)
{
    if (english)
        return {QStringLiteral("No"),
                QStringLiteral("RxFrequency"),
                QStringLiteral("QT/DQT Dec      "),
                QStringLiteral("TxFrequency"),
                QStringLiteral("QT/DQT Enc      "),
                QStringLiteral("Scan      "),
                QStringLiteral("BCL      "),
                QStringLiteral("Beat     "),
                QStringLiteral("Power      ")};
    return {QStringLiteral("信道号"),
            QStringLiteral("接收频率"),
            QStringLiteral("收哑音") + blanks(7),
            QStringLiteral("发送频率"),
            QStringLiteral("发哑音") + blanks(model.txToneCaptionBlanks),
            QStringLiteral("扫描") + blanks(6),
            QStringLiteral("BCL") + blanks(6),
            QStringLiteral("拍频") + blanks(7),
            QStringLiteral("功率") + blanks(7)};
}

} // namespace zw
