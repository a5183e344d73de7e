#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;
class QSettings;
class QWidget;

namespace zw
{

// The channel files last opened or saved, newest first, at most five, shared by all model
// windows and kept in the program's settings from one run to the next.
class RecentFiles final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecentFiles)

public:
    static constexpr int kept = 5;

    explicit RecentFiles(QObject *parent = nullptr);
    ~RecentFiles() override;

    // Takes the list from `settings` and keeps it there from now on; without settings (tests)
    // it lives as long as this object.
    void setStore(QSettings *settings);

    const QStringList &files() const { return m_files; }
    // `path` becomes the newest; the oldest beyond five goes.
    void add(const QString &path);

    // `path` leaves the list.
    void remove(const QString &path);
    // When `path` no longer exists, says so over `parent` and offers to remove it from the
    // list; true then (there is nothing to open), false when the file is there.
    bool offerToForgetMissing(QWidget *parent, const QString &path);

    // Keeps the end of `menu` to the list, below a separator: "&1 name.doc", ..., each
    // opening its file through `open` (which runs in `context`).
    void showIn(QMenu *menu, QObject *context, const std::function<void(const QString &)> &open);

signals:
    void changed();

private:
    void fillMenu(QMenu *menu, QObject *context, const std::function<void(const QString &)> &open);

    QSettings *m_settings = nullptr;
    QStringList m_files;
};

} // namespace zw
