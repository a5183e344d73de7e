#pragma once

#include "changeset.h"
#include "modelinfo.h"
#include "windowlayout.h"

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QTableView;

namespace zw
{

class ChannelDocument;
class ChannelEditor;
class ChannelTableModel;
class CsvActions;
class FleetPanel;
class PickCellEditor;
class RadioSession;
class RadioTransfer;
class RecentFiles;
class RowActions;
class SerialConnection;
class TableBackups;

// The window of one radio model (ZW4630V, ZW4630UH, ...): its channel document
// shown in the grid DataGrid1 and the two radio-wide settings lists Combo8 and Combo11, the
// status line Label2, its menus and its radio session (with the four timers Timer1 to Timer4).
// One class serves every model; what differs comes from the model's ModelInfo and its
// window layout. The window builds its widgets and wires its helpers (editing, row operations,
// channel files, CSV, backups, the radio transfer) to the document, the session and the few
// widgets each drives, in one place; the helpers never reach back into it.
class ModelWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModelWindow)

public:
    // `recentFiles` (optional) is listed at the end of the file menu and learns the files this
    // window opens and saves.
    ModelWindow(Model model, SerialConnection *serial, QWidget *parent = nullptr,
                RecentFiles *recentFiles = nullptr);
    ~ModelWindow() override;

    // The window's load: opens the model database from the current directory, makes channel 1
    // current, shows the squelch level and channel tone stored with the table (Combo8 "3" and
    // Combo11 "中文" when none are stored), starts the ready poll, and in English mode takes the
    // English captions. Call once, after the window is shown.
    void load();

    Model model() const { return m_info.model; }
    const ModelInfo &info() const { return m_info; }
    const ModelWindowLayout &layout() const { return m_layout; }
    // The channels and settings this window shows and edits.
    ChannelDocument *document() const { return m_document; }
    ChannelTableModel *tableModel() const { return m_tableModel; }
    QTableView *grid() const { return m_grid; }
    QComboBox *squelchList() const { return m_squelchList; }         // Combo8
    QComboBox *channelToneList() const { return m_channelToneList; } // Combo11
    QLabel *statusLine() const { return m_statusLine; }              // Label2
    SerialConnection *serial() const { return m_serial; }

    // This window's exchange with the radio: ready poll, read and write.
    RadioSession *session() const { return m_session; }

    // The area that holds the controls at their design positions, and the menu items.
    QWidget *client() const { return m_client; }
    QAction *openAction() const { return m_openAction; }
    QAction *saveAction() const { return m_saveAction; }
    QAction *readAction() const { return m_readAction; }
    QAction *writeAction() const { return m_writeAction; }
    QMenu *fileMenu() const { return m_fileMenu; }
    QMenuBar *menuBar() const { return m_menuBar; }

    // Write Several Radios: the panel over the window.
    FleetPanel *fleetPanel() const { return m_fleetPanel; }

    // Keeps the table in the backups folder before a read, an open or an import replaces it.
    TableBackups *backups() const { return m_backups; }

    // The grid's current row (0..15), the record the pick lists and cell entry work on.
    int currentRow() const;

    // The transfer lock: while this window's session reads or writes, Read Data, Write Data, File
    // and Exit are disabled and nothing in the table can be changed by the user.
    bool isTransferLocked() const;

    // Closes this window (its MDI frame when it has one). A transfer under way is let finish
    // first: a write cut half-way would leave the radio half written.
    void closeWindow();

signals:
    void modelDialogRequested();
    // This window gives way to the window of `other` (a file or radio of that model).
    void switchRequested(zw::Model other);
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Greys out what the transfer lock holds, as the session's state says now.
    void showTransferLock();
    void buildMenus();
    void buildControls();
    // Creates the helpers and connects them, the document and the widgets.
    void wire();
    void applyCaptions(bool english);
    // Combo8 and Combo11 show the document's settings.
    void showSettings();
    // A user's choice in Combo8 or Combo11 goes to the document.
    void chooseSetting(RadioSetting setting, const QString &value);
    void switchTo(Model other);
    // The design caption, followed by the channel file's name and the modified mark once a
    // file is in use.
    void showChannelFile(const QString &fileName);

    const ModelInfo &m_info;
    const ModelWindowLayout &m_layout;
    SerialConnection *m_serial;
    ChannelDocument *m_document;
    ChannelTableModel *m_tableModel;
    QMenuBar *m_menuBar = nullptr;
    QWidget *m_client = nullptr;      // holds the controls at their design positions
    QAction *m_modelAction = nullptr; // 型号
    QMenu *m_fileMenu = nullptr;      // 文件
    QAction *m_openAction = nullptr;  // 打开
    QAction *m_saveAction = nullptr;  // 保存
    QAction *m_readAction = nullptr;  // 读信道
    QAction *m_writeAction = nullptr; // 写信道
    QAction *m_exitAction = nullptr;  // 退出
    QTableView *m_grid = nullptr;     // DataGrid1
    QLabel *m_squelchLabel = nullptr;
    QLabel *m_channelToneLabel = nullptr;
    QComboBox *m_squelchList = nullptr;
    QComboBox *m_channelToneList = nullptr;
    QLabel *m_statusLine = nullptr;
    RadioSession *m_session = nullptr;
    ChannelEditor *m_editor = nullptr;
    PickCellEditor *m_pickCells = nullptr;
    RowActions *m_rowActions = nullptr;
    CsvActions *m_csvActions = nullptr;
    RadioTransfer *m_transfer = nullptr;
    FleetPanel *m_fleetPanel = nullptr;
    TableBackups *m_backups = nullptr;
    RecentFiles *m_recentFiles;
    QString m_channelFile; // the channel file the window shows (last opened or saved), or empty
    bool m_unloaded = false;
    bool m_closing = false;
};

} // namespace zw
