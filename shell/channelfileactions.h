#pragma once

#include <QObject>
#include <QString>

class QAction;
class QFileDialog;

namespace zw
{

class ModelWindow;

// The file menu's 打开 and 保存 of a model window: saves its channel table and its two
// radio-wide settings to a channel file and loads such a file back.
class ChannelFileActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChannelFileActions)

public:
    // Connects itself to the window's open (打开) and save (保存) items; the window owns it.
    ChannelFileActions(ModelWindow *window, QAction *openItem, QAction *saveItem);

    void save();
    void open();
    // The open, with the file dialog starting in `folder` (the backups folder).
    void openFrom(const QString &folder);

    // The file name last chosen in this window's file dialog, by save or by open.
    QString lastFileName() const { return m_lastFileName; }

private:
    // Shows the file dialog; returns the chosen name, or an empty text when it was cancelled.
    QString chooseFile(bool forSave, const QString &folder = QString());
    void loadFile(const QString &fileName);

    ModelWindow *m_window;
    QString m_lastFileName;
};

} // namespace zw
