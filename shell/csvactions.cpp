#include "csvactions.h"

#include "captions.h"
#include "channeldocument.h"
#include "channeltexts.h"
#include "chirpcsv.h"
#include "csvproblemsdialog.h"
#include "currentdirectory.h"
#include "editfailures.h"
#include "filedialogs.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "savefile.h"
#include "tablebackups.h"
#include "tablereplacement.h"
#include "windowlayout.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTableView>

namespace zw
{

namespace
{

// A CHIRP list of a few hundred channels is far below this; anything larger is no channel list.
constexpr qint64 maxCsvFileSize = 1024 * 1024;

QString native(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

} // namespace

CsvActions::CsvActions(ChannelDocument *document, TableBackups *backups, QMenu *fileMenu,
                       const ModelWindowLayout &layout, QWidget *window)
    : QObject(window), m_document(document), m_backups(backups), m_window(window)
{
    // The items take the language the window is built in, like the window's other items.
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    QMenu *menu = fileMenu;
    menu->addSeparator();
    m_exportAction = menu->addAction(captionText(Caption::ExportCsvItem, set, &layout));
    m_exportAction->setObjectName(QStringLiteral("mnuExportCsv"));
    m_importAction = menu->addAction(captionText(Caption::ImportCsvItem, set, &layout));
    m_importAction->setObjectName(QStringLiteral("mnuImportCsv"));
    connect(m_exportAction, &QAction::triggered, this, &CsvActions::exportCsv);
    connect(m_importAction, &QAction::triggered, this, &CsvActions::importCsv);
}

QString CsvActions::chooseFile(bool forSave)
{
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    QString title = captionText(forSave ? Caption::ExportCsvItem : Caption::ImportCsvItem, set);
    title.remove(QStringLiteral("..."));
    FileDialog dialog(m_window, title);
    dialog.setObjectName(QStringLiteral("csvFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!m_lastFileName.isEmpty())
        dialog.selectFile(m_lastFileName);
    const QString chosen = execFileDialog(dialog);
    if (!chosen.isEmpty())
        m_lastFileName = chosen;
    return chosen;
}

void CsvActions::exportCsv()
{
    if (m_document->isEditingHeld()) // a transfer with the radio runs
        return;
    // The model databases are opened by bare file name: the folder stays what it was.
    const QString directory = getCurrentDirectory(m_window);
    const QString fileName = chooseFile(true);
    // After a failed lookup the restore fails too and says "ERROR", as for channel files.
    setCurrentDirectory(m_window, directory);
    if (fileName.isEmpty())
        return;

    const Expected<QByteArray> bytes =
        exportChirpCsv(m_document->records(), modelInfo(m_document->model()));
    // The new file replaces an old one only once it is written whole.
    const Result saved = bytes ? saveWholeFile(fileName, *bytes) : Result(bytes.failure());
    if (!saved) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    unsavedFileMessage(saved.failure(), unsavedCsvFileMessage, fileName));
    }
}

void CsvActions::importCsv()
{
    if (m_document->isEditingHeld()) // a transfer with the radio runs
        return;
    const QString directory = getCurrentDirectory(m_window);
    const QString fileName = chooseFile(false);
    setCurrentDirectory(m_window, directory);
    if (!fileName.isEmpty())
        importFile(fileName);
}

void CsvActions::importFile(const QString &fileName)
{
    // Only a regular file is read: a FIFO would hold the window until another program opens it.
    const Expected<QByteArray> file = readRegularFile(fileName, maxCsvFileSize);
    if (!file) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    unreadableCsvFileMessage.arg(native(fileName)));
        return;
    }

    m_document->refresh();
    const ModelInfo &model = modelInfo(m_document->model());
    const ChannelTable current = m_document->records();
    const Expected<CsvImport> read = importChirpCsv(*file, model, current);
    if (!read) {
        showMessage(
            m_window, MessageIcon::Exclamation, systemInfoTitle,
            notChirpCsvMessage.arg(native(fileName), fileFailureText(read.failure(), isEnglish())));
        return;
    }
    CsvImport imported = *read;
    if (!imported.problems.isEmpty()) {
        // The list offers to place the rows in file order instead (an export numbered from 0).
        CsvProblemsDialog dialog(
            [&](CsvPlacement placement) {
                return placement == CsvPlacement::ByLocation
                           ? *read
                           : *importChirpCsv(*file, model, current, placement);
            },
            isEnglish(), m_window);
        if (dialog.exec() != QDialog::Accepted)
            return;
        imported = dialog.import();
    } else if (imported.rowsTaken == 0) {
        showMessage(m_window, MessageIcon::Information, systemInfoTitle,
                    noUsableCsvChannelMessage.arg(native(fileName)));
        return;
    }

    // All 16 records at once: the table changes whole or not at all. CSV carries no settings.
    replaceWholeTable(m_document, m_backups, m_window, BackupReason::BeforeImport,
                      {imported.table, {}, {}});
}

} // namespace zw
