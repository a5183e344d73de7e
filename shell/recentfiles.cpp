#include "recentfiles.h"

#include "captions.h"
#include "filenames.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>

#include <cerrno>
#include <sys/stat.h>

namespace zw
{

namespace
{

const QString settingsKey = QStringLiteral("recentFiles");
const QString itemName = QStringLiteral("recentFile%1");

} // namespace

RecentFiles::RecentFiles(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("recentFiles"));
}

RecentFiles::~RecentFiles() = default;

void RecentFiles::setStore(QSettings *settings)
{
    m_settings = settings;
    m_files = settings ? settings->value(settingsKey).toStringList().mid(0, kept) : QStringList();
    emit changed();
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // The list may have changed in another instance of the program meanwhile.
    if (m_settings)
        m_files = m_settings->value(settingsKey).toStringList();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    m_files = m_files.mid(0, kept);
    if (m_settings)
        m_settings->setValue(settingsKey, m_files);
    emit changed();
}

void RecentFiles::remove(const QString &path)
{
    if (m_settings)
        m_files = m_settings->value(settingsKey).toStringList();
    if (m_files.removeAll(path) == 0)
        return;
    if (m_settings)
        m_settings->setValue(settingsKey, m_files);
    emit changed();
}

bool RecentFiles::offerToForgetMissing(QWidget *parent, const QString &path)
{
    // By its bytes: a name that is not UTF-8 is kept that way in the list. Only a file that is
    // certainly gone counts; any other trouble is the open's to report.
    struct stat status {
    };
    if (::stat(fileNameBytes(path).constData(), &status) == 0 ||
        (errno != ENOENT && errno != ENOTDIR))
        return false;
    const bool english = isEnglish();
    const CaptionSet set = english ? CaptionSet::English : CaptionSet::Design;
    if (askToConfirm(parent, systemInfoTitle,
                     missingRecentFileQuestion(english).arg(QDir::toNativeSeparators(path)),
                     captionText(Caption::RemoveFromListButton, set),
                     captionText(Caption::KeepButton, set)))
        remove(path);
    return true;
}

void RecentFiles::showIn(QMenu *menu, QObject *context,
                         const std::function<void(const QString &)> &open)
{
    fillMenu(menu, context, open);
    connect(this, &RecentFiles::changed, context,
            [this, menu, context, open] { fillMenu(menu, context, open); });
}

void RecentFiles::fillMenu(QMenu *menu, QObject *context,
                           const std::function<void(const QString &)> &open)
{
    const QList<QAction *> old = menu->findChildren<QAction *>(
        QRegularExpression(QStringLiteral("^recentFile")), Qt::FindDirectChildrenOnly);
    for (QAction *action : old) {
        menu->removeAction(action);
        delete action;
    }
    for (int i = 0; i < m_files.size(); ++i) {
        const QString path = m_files.at(i);
        auto *action =
            new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), menu);
        action->setObjectName(itemName.arg(i + 1));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, context, [open, path] { open(path); });
        menu->addAction(action);
    }
    if (!m_files.isEmpty()) {
        auto *separator = new QAction(menu);
        separator->setObjectName(QStringLiteral("recentFileSeparator"));
        separator->setSeparator(true);
        menu->insertAction(menu->findChild<QAction *>(itemName.arg(1), Qt::FindDirectChildrenOnly),
                           separator);
    }
}

} // namespace zw
