#pragma once

#include "mainmenus.h"
#include "modelinfo.h"
#include "portdevices.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace zw
{

class MainStatusBar;
class ModelChoiceDialog;
class ModelWindow;
class RecentFiles;
class SerialConnection;

// The main window: the frame of the model windows and the owner of the serial connection.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: show the window, then open the serial port on the start port
    // (COM1 unless the user last opened COM2 through the port dialog), or on the other one
    // after a warning. Devices for port 1 and 2 are set before, by setPortDevices() or on
    // serial().
    void load();

    SerialConnection *serial() const { return m_serial; }
    // The devices behind the two port options, remembered or from the command line; applied
    // to serial() at once. The port dialog records the user's choices here.
    void setPortDevices(const PortDevices &devices);
    PortDevices &portDevices() { return m_portDevices; }
    QMdiArea *mdiArea() const { return m_mdiArea; }
    // The channel files last opened or saved, listed in every model window's file menu.
    RecentFiles *recentFiles() const { return m_recentFiles; }
    // The port, the radio on it and the last transfer, at the window's foot.
    MainStatusBar *portStatusBar() const { return m_statusBar; }

    // Shows the window of `model`: loads it when it is not open, otherwise brings it to the
    // front unchanged.
    ModelWindow *showModel(Model model);
    // Closes the window of `model`; nothing happens when it is not open.
    void closeModel(Model model);
    ModelWindow *modelWindow(Model model) const;

    void showModelChoiceDialog();
    ModelChoiceDialog *modelChoiceDialog() const;

    // 退出系统: closes the main window and every model window.
    void exitProgram();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A model window's frame that grows (its columns fit their captions once it is shown) is
    // fitted into the window area again.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Builds the menu bar and returns its items.
    MainMenuItems buildMenus();
    // Keeps a model window's frame inside the window area: moved up or left from its design
    // place when it reaches past the area's edge, and the main window grown by what still
    // does not fit, so that the status line and the progress bar are always in view.
    void fitIntoArea(QMdiSubWindow *frame);
    // Opens the first menu of the menu bar; the arrow keys go on from there.
    void openMenus();

    SerialConnection *m_serial;
    PortDevices m_portDevices;
    QMdiArea *m_mdiArea;
    RecentFiles *m_recentFiles;
    MainStatusBar *m_statusBar;
    std::array<QPointer<ModelWindow>, modelCount> m_windows; // by modelIndex()
    QPointer<ModelChoiceDialog> m_modelChoiceDialog;
};

} // namespace zw
