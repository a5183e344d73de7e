#include "serialports.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace zw
{

QString SerialPortEntry::label() const
{
    QStringList about;
    if (!description.isEmpty())
        about << description;
    if (!manufacturer.isEmpty() && manufacturer != description)
        about << manufacturer;
    QString text = device;
    if (!about.isEmpty())
        text += QStringLiteral(" — ") + about.join(QStringLiteral(", "));
    if (!usbIds.isEmpty())
        text += QStringLiteral(" (%1)").arg(usbIds);
    return text;
}

QList<SerialPortEntry> systemSerialPorts()
{
    QList<SerialPortEntry> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        SerialPortEntry entry;
#ifdef Q_OS_WIN
        entry.device = info.portName(); // the system location is "\\.\COM3"
#else
        entry.device = info.systemLocation();
#endif
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            entry.usbIds = QStringLiteral("%1:%2")
                               .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                               .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        ports << entry;
    }
    std::sort(ports.begin(), ports.end(), [](const SerialPortEntry &a, const SerialPortEntry &b) {
        return QString::compare(a.device, b.device, Qt::CaseInsensitive) < 0;
    });
    return ports;
}

} // namespace zw
