#include "backupchoicedialog.h"

#include "backups.h"
#include "captions.h"
#include "language.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zw
{

namespace
{

constexpr int PathRole = Qt::UserRole + 1;

QString reasonText(const std::optional<BackupReason> &reason, bool english)
{
    if (!reason)
        return QString();
    switch (*reason) {
    case BackupReason::BeforeRead:
        return english ? QStringLiteral("Before a read from the radio")
                       : QStringLiteral("读对讲机之前");
    case BackupReason::FromRadio:
        return english ? QStringLiteral("Read from the radio") : QStringLiteral("从对讲机读出");
    case BackupReason::BeforeOpen:
        return english ? QStringLiteral("Before a file was opened")
                       : QStringLiteral("打开文件之前");
    case BackupReason::BeforeImport:
        return english ? QStringLiteral("Before a CSV import") : QStringLiteral("导入 CSV 之前");
    }
    return QString();
}

} // namespace

BackupChoiceDialog::BackupChoiceDialog(const QString &folder, Model model, bool english,
                                       QWidget *parent)
    : QDialog(parent), m_list(new QTreeWidget(this))
{
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    setObjectName(QStringLiteral("BackupChoice"));
    QString title = captionText(Caption::RestoreRadioItem, set);
    if (title.endsWith(QChar(0x2026))) // the menu's "…" says a dialog follows; this is it
        title.chop(1);
    setWindowTitle(title);
    setModal(true);

    m_list->setObjectName(QStringLiteral("backupList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHeaderLabels(
        {captionText(Caption::BackupDate, set), captionText(Caption::BackupTime, set),
         captionText(Caption::BackupModel, set), captionText(Caption::BackupReasonColumn, set)});
    // Without a backups folder (no home folder) there is nothing to offer.
    QStringList files = folder.isEmpty() ? QStringList() : backupFiles(folder, model);
    std::reverse(files.begin(), files.end()); // newest first
    for (const QString &file : std::as_const(files)) {
        const std::optional<BackupName> name = readBackupName(file);
        if (!name)
            continue;
        auto *item = new QTreeWidgetItem(m_list, {name->made.toString(QStringLiteral("yyyy-MM-dd")),
                                                  name->made.toString(QStringLiteral("HH:mm:ss")),
                                                  modelInfo(name->model).name,
                                                  reasonText(name->reason, english)});
        item->setData(0, PathRole, file);
        item->setToolTip(0, QDir::toNativeSeparators(file));
    }
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok =
        buttons->addButton(captionText(Caption::DialogOk, set), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setEnabled(m_list->topLevelItemCount() > 0);
    buttons->addButton(captionText(Caption::DialogCancel, set), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    // Wide enough for every column whole.
    int width = 0;
    for (int column = 0; column < m_list->columnCount(); ++column)
        width += m_list->columnWidth(column);
    resize(std::max(width + 60, 480), 360);
}

QString BackupChoiceDialog::chosenFile() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return result() == QDialog::Accepted && item ? item->data(0, PathRole).toString() : QString();
}

QString BackupChoiceDialog::choose(const QString &folder, Model model, QWidget *parent)
{
    BackupChoiceDialog dialog(folder, model, isEnglish(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.chosenFile();
}

} // namespace zw
