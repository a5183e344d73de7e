#pragma once

#include "captions.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

namespace zw
{

class PortDialog;
class MainWindow;
class AboutDialog;
class OperationNotesDialog;

// What the main window's menu items 端口, 语言 (中文, 英语) and 帮助 (说明, 关于) do: the port
// dialog, the interface language and the two about windows, each window at most once.
class MainMenus final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainMenus)

public:
    // Connects itself to the items of the frame's menu bar; the frame owns it.
    explicit MainMenus(MainWindow *frame);
    ~MainMenus() override;

    // 中文 / 英语: set the language mode, then the main window's caption and its five
    // top-level items at once. Other windows take the language when they next load.
    void chooseChinese();
    void chooseEnglish();

    void showPortDialog();
    void showAbout();
    void showNotes();

    PortDialog *portDialog() const;
    AboutDialog *aboutWindow() const;
    OperationNotesDialog *notesWindow() const;

private:
    void applyMainCaptions(CaptionSet set);
    QAction *item(const char *name) const;

    MainWindow *m_frame;
    QPointer<PortDialog> m_portDialog;
    QPointer<AboutDialog> m_about;
    QPointer<OperationNotesDialog> m_notes;
};

} // namespace zw
