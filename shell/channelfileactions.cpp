#include "channelfileactions.h"

#include "captions.h"
#include "channeldocument.h"
#include "channelfile.h"
#include "currentdirectory.h"
#include "editfailures.h"
#include "filedialogs.h"
#include "messagebox.h"
#include "messages.h"
#include "savefile.h"
#include "tablebackups.h"
#include "tablemerge.h"
#include "tablereplacement.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTableView>

namespace zw
{

namespace
{

QString unreadableFileMessage(const QString &fileName)
{
    return unreadableChannelFileMessage.arg(QDir::toNativeSeparators(fileName));
}

// Puts the process's current directory back to what it was before the file dialog: the model
// databases are opened by bare file name. After a failed lookup (empty `directory`) the restore
// fails too and says "ERROR" after the lookup's "Error"; the operation goes on either way.
void restoreDirectory(QWidget *parent, const QString &directory)
{
    setCurrentDirectory(parent, directory);
}

} // namespace

ChannelFileActions::ChannelFileActions(ChannelDocument *document, TableBackups *backups,
                                       QTableView *grid, QWidget *window, QAction *openItem,
                                       QAction *saveItem)
    : QObject(window), m_document(document), m_backups(backups), m_grid(grid), m_window(window)
{
    setObjectName(QStringLiteral("CommonDialog1"));
    connect(openItem, &QAction::triggered, this, &ChannelFileActions::open);
    connect(saveItem, &QAction::triggered, this, &ChannelFileActions::save);
}

QString ChannelFileActions::chooseFile(bool forSave, const QString &folder)
{
    // Qt's own dialog on every platform: the filter, the missing overwrite question and the
    // name taken as typed behave the same everywhere.
    FileDialog dialog(m_window,
                      captionText(forSave ? Caption::SaveFileDialog : Caption::OpenFileDialog,
                                  CaptionSet::Design));
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open accepts the name of a file that does not exist; the read then reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("text(*.doc)"));
    // A name typed without an extension gets the one the open dialog lists; an open takes
    // the name as typed, since a file of that name may exist.
    if (forSave)
        dialog.setDefaultSuffix(QStringLiteral("doc"));
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    else if (!m_lastFileName.isEmpty())
        dialog.selectFile(m_lastFileName);
    const QString chosen = execFileDialog(dialog);
    if (!chosen.isEmpty())
        m_lastFileName = chosen;
    return chosen;
}

void ChannelFileActions::save()
{
    const QString directory = getCurrentDirectory(m_window);
    m_grid->setCurrentIndex(m_grid->model()->index(0, 0));
    const QString fileName = chooseFile(true);
    if (fileName.isEmpty()) {
        restoreDirectory(m_window, directory);
        return;
    }

    const Expected<QByteArray> bytes = writeChannelFile(m_document->channelFileData());

    // The new file replaces the old one only once it is written whole.
    const Result saved = bytes ? saveWholeFile(fileName, *bytes) : Result(bytes.failure());
    if (!saved) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    unsavedFileMessage(saved.failure(), unsavedChannelFileMessage, fileName));
    } else {
        emit fileInUse(fileName);
    }
    restoreDirectory(m_window, directory);
}

void ChannelFileActions::open()
{
    openFrom(QString());
}

void ChannelFileActions::openFrom(const QString &folder)
{
    const QString directory = getCurrentDirectory(m_window);
    m_grid->setCurrentIndex(m_grid->model()->index(0, 0));
    const QString fileName = chooseFile(false, folder);
    if (fileName.isEmpty()) {
        restoreDirectory(m_window, directory);
        return;
    }
    loadFile(fileName);
    // The window may be closing now (a file of another model); it is deleted only later.
    restoreDirectory(m_window, directory);
}

void ChannelFileActions::loadFile(const QString &fileName)
{
    // Only a regular file is read: a FIFO would hold the window until another program opens it.
    const Expected<QByteArray> file = readRegularFile(fileName, maxChannelFileSize);
    const bool readable = file.ok();
    const QByteArray bytes = readable ? *file : QByteArray();
    const Expected<ChannelFileData> read = readChannelFile(bytes);

    // A file of another model is told by its first value alone: the user reads it again in
    // that model's window.
    const std::optional<Model> fileModel = modelFromCode(channelFileModelCode(bytes));
    if (readable && fileModel && *fileModel != m_document->model()) {
        showMessage(m_window, MessageIcon::None, otherModelFileTitle,
                    otherModelFileMessage(*fileModel));
        emit otherModelFile(*fileModel);
        return;
    }

    if (!readable || !read) {
        showMessage(m_window, MessageIcon::Exclamation, systemInfoTitle,
                    unreadableFileMessage(fileName));
        return;
    }

    m_document->refresh();
    if (replaceWholeTable(m_document, m_backups, m_window, BackupReason::BeforeOpen,
                          {mergeChannelFile(m_document->records(), read->records),
                           read->squelchLevel, read->channelTone}))
        emit fileInUse(fileName);
}

void ChannelFileActions::openFile(const QString &fileName)
{
    m_lastFileName = fileName;
    m_grid->setCurrentIndex(m_grid->model()->index(0, 0));
    loadFile(fileName);
}

} // namespace zw
