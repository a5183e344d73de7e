#pragma once

#include <QString>
#include <QStringList>

namespace zw
{

struct ModelWindowLayout;

// Every caption that the interface language changes, in both languages. Each window asks for
// its texts when it loads (or, for the main window, when the user chooses a language).
enum class Caption {
    // main window
    MainWindow,
    MainModelMenu,    // 型号
    MainPortMenu,     // 端口
    MainLanguageMenu, // 语言
    MainExitMenu,     // 退出
    MainHelpMenu,     // 帮助
    LanguageChinese,  // 中文
    LanguageEnglish,  // 英语
    HelpNotes,        // 说明
    HelpAbout,        // 关于
    HelpSaveTrace,    // 保存通信记录…
    // model window
    ModelMenu,        // 型号
    FileMenu,         // 文件
    OpenItem,         // 打开
    SaveItem,         // 保存
    ReadItem,         // 读信道
    WriteItem,        // 写信道
    ExitItem,         // 退出
    SquelchLabel,     // Label4
    ChannelToneLabel, // Label7
    EditMenu,         // 编辑
    UndoItem,         // 撤销
    RedoItem,         // 重做
    OpenBackupItem,   // 打开备份文件
    RestoreRadioItem, // 恢复对讲机
    FleetWriteItem,   // 批量写入…
    // the fleet panel of a model window
    FleetTitle,
    FleetPlan, // %1 the plan's name, %2 its checksum
    FleetVerified,
    FleetDiffers,
    FleetNotChecked,
    FleetRefused,
    FleetNotWritten,
    FleetLogFile, // %1 the log's file name
    FleetChangeLog,
    FleetStart,
    FleetStop,
    FleetClose,
    FleetBeforeStart,
    FleetStopping, // %1 the radio being written
    // model dialog
    Dialog1Caption,
    Dialog1Label,
    Dialog1Ok,
    Dialog1Cancel,
    // port dialog
    DialogCaption,
    DialogLabel,
    DialogOk,
    DialogCancel,
    DialogFindRadio,
    // CHIRP CSV exchange of a model window
    ExportCsvItem,
    ImportCsvItem,
    CsvProblemsCaption,
    CsvProblemsLabel, // %1 rows that fit, %2 rows that do not
    CsvProblemsApply,
    CsvProblemsCancel,
    CsvProblemsLine,
    CsvProblemsLocation,
    CsvProblemsReason,
    CsvProblemsFileOrder, // the check box that places the rows in file order
    CsvProblemsPastEnd,   // %1 rows that fit but come after channel 16
    // row operations of a model window (Edit menu and the grid's context menu)
    CopyItem,     // 复制
    CutItem,      // 剪切
    PasteItem,    // 粘贴
    ClearItem,    // 清除
    MoveUpItem,   // 上移
    MoveDownItem, // 下移
    PasteProblemsCaption,
    PasteProblemsLabel,   // %1 rows that fit, %2 rows that do not
    PasteProblemsFit,     // %1 rows that fit (and none that does not fit the model)
    PasteProblemsPastEnd, // %1 rows that would land after channel 16
    PasteProblemsKept,    // %1 rows taken with a frequency outside the band
    PasteProblemsIgnored, // %1 the captions of columns not read
    // buttons of the program's own questions
    RemoveFromListButton, // a recent file that no longer exists
    DiscardStepButton,    // an undo or redo step refused
    KeepButton,
    // Restore Radio's list of backups
    BackupDate,
    BackupTime,
    BackupModel,
    BackupReasonColumn,
    // Texts that stay Chinese in both languages
    OpenFileDialog,       // title of the channel file dialog of 打开
    SaveFileDialog,       // title of the channel file dialog of 保存
    ContinueQuestionGo,   // 继续 of a question
    ContinueQuestionStop, // 取消 of a question
};

// Which set of texts: the design texts a window is built with, the Chinese texts set by the
// language menu, or the English texts. Only the main window's Chinese texts differ from its
// design texts; elsewhere Chinese and Design are the same.
enum class CaptionSet { Design, Chinese, English };

// The text of `caption`. Model-window items take the model (their leading blanks differ).
QString captionText(Caption caption, CaptionSet set, const ModelWindowLayout *model = nullptr);

// The nine grid column captions of a model window.
QStringList gridCaptions(const ModelWindowLayout &model, bool english);

} // namespace zw
