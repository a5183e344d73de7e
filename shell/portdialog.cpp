#include "portdialog.h"

#include "captions.h"
#include "language.h"
#include "messagebox.h"
#include "messages.h"
#include "portaccess.h"
#include "portdevices.h"
#include "porthints.h"
#include "portprober.h"
#include "serialconnection.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>

namespace zw
{

namespace
{

constexpr int DeviceRole = Qt::UserRole + 1;

// The ports of a device list: the list shows what the system says about each port, the edit
// line (and so the text the dialog reads) holds the device alone.
class PortListModel final : public QStandardItemModel
{
public:
    using QStandardItemModel::QStandardItemModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::EditRole)
            return QStandardItemModel::data(index, DeviceRole);
        return QStandardItemModel::data(index, role);
    }
};

QComboBox *makeDeviceList(QWidget *parent, const QString &name)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setModel(new PortListModel(list));
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

} // namespace

PortDialog::PortDialog(SerialConnection *serial, PortDevices *devices, QWidget *parent)
    : QDialog(parent), m_serial(serial), m_devices(devices), m_prober(new PortProber(this))
{
    setObjectName(QStringLiteral("Dialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    const CaptionSet set = isEnglish() ? CaptionSet::English : CaptionSet::Design;
    setWindowTitle(captionText(Caption::DialogCaption, set));
    // Wider than the two options alone: each option has its device list beside it.
    setFixedSize(twips(7800), twips(3420));
    move(twips(2760), twips(3750));

    auto *label = new QLabel(captionText(Caption::DialogLabel, set), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twips(240), twips(240), twips(7320), twips(300));
    m_com1 = new QRadioButton(QStringLiteral(" COM1"), this);
    m_com1->setObjectName(QStringLiteral("Option1"));
    m_com1->setGeometry(twips(600), twips(780), twips(1080), twips(330));
    m_com2 = new QRadioButton(QStringLiteral(" COM2"), this);
    m_com2->setObjectName(QStringLiteral("Option2"));
    m_com2->setGeometry(twips(600), twips(1260), twips(1080), twips(330));
    m_com1Device = makeDeviceList(this, QStringLiteral("com1Device"));
    m_com1Device->setGeometry(twips(1740), twips(750), twips(5820), twips(390));
    m_com2Device = makeDeviceList(this, QStringLiteral("com2Device"));
    m_com2Device->setGeometry(twips(1740), twips(1230), twips(5820), twips(390));
    if (m_serial && m_serial->portNumber() == 1)
        m_com1->setChecked(true);
    else if (m_serial && m_serial->portNumber() == 2)
        m_com2->setChecked(true);
    // Picking or typing a device chooses its option.
    for (int port : {1, 2}) {
        QRadioButton *choice = option(port);
        connect(deviceList(port), &QComboBox::activated, choice,
                [choice] { choice->setChecked(true); });
        connect(deviceList(port)->lineEdit(), &QLineEdit::textEdited, choice,
                [choice] { choice->setChecked(true); });
    }

    m_findRadio = new QPushButton(captionText(Caption::DialogFindRadio, set), this);
    m_findRadio->setObjectName(QStringLiteral("findRadioButton"));
    m_findRadio->setGeometry(twips(1740), twips(1740), twips(1800), twips(375));
    m_findStatus = new QLabel(this);
    m_findStatus->setObjectName(QStringLiteral("findStatus"));
    m_findStatus->setGeometry(twips(240), twips(2220), twips(7320), twips(480));
    m_findStatus->setWordWrap(true);
    connect(m_findRadio, &QPushButton::clicked, this, &PortDialog::findRadio);
    connect(m_prober, &PortProber::finished, this, &PortDialog::onProbeFinished);

    auto *okButton = new QPushButton(captionText(Caption::DialogOk, set), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(twips(240), twips(2820), twips(1200), twips(375));
    okButton->setDefault(true);
    auto *cancelButton = new QPushButton(captionText(Caption::DialogCancel, set), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setGeometry(twips(6360), twips(2820), twips(1200), twips(375));
    connect(okButton, &QPushButton::clicked, this, &PortDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &PortDialog::close);

    if (m_serial) {
        for (int port : {1, 2})
            m_devicesAtOpening[port - 1] = m_serial->device(port);
        if (m_serial->isOpen())
            m_portAtOpening = m_serial->portNumber();
    }
    setListedPorts(systemSerialPorts());
}

QRadioButton *PortDialog::option(int port) const
{
    return port == 1 ? m_com1 : port == 2 ? m_com2 : nullptr;
}

QComboBox *PortDialog::deviceList(int port) const
{
    return port == 1 ? m_com1Device : port == 2 ? m_com2Device : nullptr;
}

void PortDialog::setListedPorts(const QList<SerialPortEntry> &ports)
{
    m_listed = ports;
    for (int port : {1, 2}) {
        QComboBox *list = deviceList(port);
        const QString typed = list->currentText().isEmpty() && m_serial ? m_serial->device(port)
                                                                        : list->currentText();
        const QSignalBlocker blocker(list);
        auto *model = static_cast<QStandardItemModel *>(list->model());
        model->clear();
        for (const SerialPortEntry &entry : ports) {
            auto *item = new QStandardItem(entry.label());
            item->setData(entry.device, DeviceRole);
            item->setToolTip(entry.label());
            model->appendRow(item);
        }
        list->setCurrentIndex(list->findData(typed, DeviceRole));
        list->setEditText(typed);
    }
}

QString PortDialog::chosenDevice(int port) const
{
    const QComboBox *list = deviceList(port);
    return list ? list->currentText().trimmed() : QString();
}

void PortDialog::takeChosenDevices()
{
    for (int port : {1, 2}) {
        const QString device = chosenDevice(port);
        if (device.isEmpty() || device == m_serial->device(port))
            continue;
        m_serial->setDevice(port, device);
    }
}

void PortDialog::rememberChosenDevices()
{
    if (!m_devices)
        return;
    for (int port : {1, 2}) {
        if (m_serial->device(port) != m_devicesAtOpening[port - 1])
            m_devices->chooseDevice(port, m_serial->device(port));
    }
}

void PortDialog::closeEvent(QCloseEvent *event)
{
    // Cancel (or the close box) after a failed OK drops the devices typed since the dialog
    // opened: only a port that opened is remembered for the next start, so a mistyped device
    // never comes back as a failure box at the next start.
    if (!m_accepted && m_serial) {
        m_prober->cancel();
        restorePortAtOpening();
    }
    QDialog::closeEvent(event);
}

void PortDialog::restorePortAtOpening()
{
    const bool sameDevice = m_portAtOpening != 0 && m_serial->device(m_portAtOpening) ==
                                                        m_devicesAtOpening[m_portAtOpening - 1];
    for (int port : {1, 2})
        m_serial->setDevice(port, m_devicesAtOpening[port - 1]);
    // A failed OK closed the port that worked: Cancel means "as it was", so it opens again.
    // Not once the main window has closed (the program's exit closed the port, and the
    // program ends with this dialog), nor during a transfer.
    const auto *owner = qobject_cast<const QWidget *>(m_serial->parent());
    if (!m_okFailed || m_portAtOpening == 0 || (owner && !owner->isVisible()) ||
        m_serial->isTransferring() ||
        (m_serial->isOpen() && m_serial->portNumber() == m_portAtOpening && sameDevice))
        return;
    m_serial->close();
    m_serial->setPortNumber(m_portAtOpening);
    if (m_serial->open()) {
        m_serial->setTextMode();
        return;
    }
    showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                portFailureMessage(m_portAtOpening));
}

void PortDialog::ok()
{
    if (!m_serial)
        return;
    // A search in progress holds the program's port for a moment: it ends here.
    m_prober->cancel();
    m_findRadio->setEnabled(true);
    // A read or a write in progress would lose its line; the port stays as it is.
    if (m_serial->isTransferring()) {
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    portChangeDuringTransferMessage);
        return;
    }
    const int port = m_com1->isChecked() ? 1 : m_com2->isChecked() ? 2 : 0;
    if (port == 0)
        return;
    if (!usePort(port)) {
        m_okFailed = true;
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle, portFailureMessage(port));
        // Offer the other port: OK on it then opens it.
        m_serial->setPortNumber(port == 1 ? 2 : 1);
        return;
    }
    rememberChosenDevices();
    if (m_devices)
        m_devices->chooseStartPort(port);
    m_accepted = true;
    close();
}

QString PortDialog::portFailureMessage(int port) const
{
    // One cause per failure: a device that is missing, is no serial port or denies this user
    // is said as that alone; "in use" is said only when the port may well be in use.
    const PortOpenFailure failure =
        diagnoseOpenFailure(m_serial->device(port), m_serial->openError(), m_serial->errorString());
    using Reason = PortOpenFailure::Reason;
    if (failure.reason == Reason::NoSuchDevice || failure.reason == Reason::NotASerialPort ||
        failure.reason == Reason::PermissionDenied)
        return openFailureReason(failure);
    return withOpenFailureReason(port == 1 ? port1TakenMessage : port2TakenMessage, failure);
}

bool PortDialog::usePort(int port)
{
    const QString device = chosenDevice(port);
    const bool deviceChanged = !device.isEmpty() && device != m_serial->device(port);
    takeChosenDevices();
    if (m_serial->portNumber() == port && !deviceChanged) {
        if (m_serial->isOpen())
            return true;
    } else {
        m_serial->close();
        m_serial->setPortNumber(port);
    }
    if (!m_serial->open())
        return false;
    m_serial->setTextMode();
    return true;
}

void PortDialog::findRadio()
{
    QStringList candidates;
    for (const SerialPortEntry &entry : std::as_const(m_listed))
        candidates << entry.device;
    candidates << chosenDevice(1) << chosenDevice(2);
    m_findRadio->setEnabled(false);
    m_findStatus->setText(findingRadioText());
    m_prober->setConnection(m_serial);
    m_prober->start(candidates);
}

void PortDialog::onProbeFinished()
{
    m_findRadio->setEnabled(true);
    const QStringList found = m_prober->answeringDevices();
    if (found.isEmpty()) {
        m_findStatus->setText(QString());
        showMessage(this, MessageIcon::Exclamation, systemInfoTitle,
                    noRadioFoundText(m_prober->results()));
        return;
    }
    // The option already standing for that device, else the chosen option (COM1 when none).
    const QString &device = found.constFirst();
    const int port = chosenDevice(1) == device   ? 1
                     : chosenDevice(2) == device ? 2
                     : m_com2->isChecked()       ? 2
                                                 : 1;
    const QSignalBlocker blocker(deviceList(port));
    deviceList(port)->setEditText(device);
    option(port)->setChecked(true);
    m_findStatus->setText(radioFoundText(device));
}

} // namespace zw
