#include "serialports.h"

#include <QCollator>
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
    // COM3 before COM10, ttyUSB2 before ttyUSB10.
    QCollator order;
    order.setNumericMode(true);
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(ports.begin(), ports.end(),
              [&order](const SerialPortEntry &a, const SerialPortEntry &b) {
                  return order.compare(a.device, b.device) < 0;
              });
    return ports;
}

} // namespace zw
