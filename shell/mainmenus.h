#pragma once

#include "captions.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QWidget;

namespace zw
{

class PortDialog;
class PortDevices;
class SerialConnection;
class AboutDialog;
class OperationNotesDialog;

// The main window's menu items, each under its own name (their objectNames stay the design's
// Chinese names: 型号, 端口, 语言, 中文, 英语, 退出, 帮助, 说明, 关于).
struct MainMenuItems {
    QMenu *modelMenu = nullptr;    // 型号
    QAction *port = nullptr;       // 端口
    QMenu *languageMenu = nullptr; // 语言
    QAction *chinese = nullptr;    // 中文
    QAction *english = nullptr;    // 英语
    QAction *exit = nullptr;       // 退出
    QMenu *helpMenu = nullptr;     // 帮助
    QAction *notes = nullptr;      // 说明
    QAction *about = nullptr;      // 关于
};

// What the main window's menu items 端口, 语言 (中文, 英语) and 帮助 (说明, 关于, 保存通信记录)
// do: the port dialog, the interface language, the two about windows (each window at most once)
// and saving the serial trace.
class MainMenus final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainMenus)

public:
    // Connects itself to the menu items of `frame`, the main window, which owns it; the port
    // dialog works on `serial` and records the user's choices in `devices`.
    MainMenus(QWidget *frame, SerialConnection *serial, PortDevices *devices,
              const MainMenuItems &items);
    ~MainMenus() override;

    // 中文 / 英语: set the language mode, then the main window's caption and its five
    // top-level items at once. Other windows take the language when they next load.
    void chooseChinese();
    void chooseEnglish();

    void showPortDialog();
    void showAbout();
    void showNotes();
    // 保存通信记录…: saves the lines the serial trace keeps to a file the user chooses.
    void saveTrace();

    PortDialog *portDialog() const;
    AboutDialog *aboutWindow() const;
    OperationNotesDialog *notesWindow() const;

private:
    void applyMainCaptions(CaptionSet set);

    QWidget *m_frame;
    SerialConnection *m_serial;
    PortDevices *m_devices;
    MainMenuItems m_items;
    QAction *m_saveTrace = nullptr; // in the help menu, after the design's items
    QPointer<PortDialog> m_portDialog;
    QPointer<AboutDialog> m_about;
    QPointer<OperationNotesDialog> m_notes;
};

} // namespace zw
