#include "portdevices.h"

#include <QSettings>

namespace zw
{

PortDevices::PortDevices(QSettings *settings) : m_settings(settings)
{
    if (!m_settings)
        return;
    for (int port : {1, 2}) {
        const QString device = m_settings->value(deviceKey(port)).toString().trimmed();
        if (!device.isEmpty())
            m_devices[port - 1] = device;
    }
    if (m_settings->value(startPortKey()).toInt() == 2)
        m_startPort = 2;
}

QString PortDevices::defaultDevice(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

QString PortDevices::deviceKey(int port)
{
    return QStringLiteral("ports/com%1").arg(port);
}

QString PortDevices::startPortKey()
{
    return QStringLiteral("ports/start");
}

QString PortDevices::device(int port) const
{
    return valid(port) ? m_devices[port - 1] : QString();
}

int PortDevices::startPort() const
{
    return m_overridden[0] || m_overridden[1] ? 1 : m_startPort;
}

void PortDevices::overrideDevice(int port, const QString &device)
{
    if (!valid(port) || device.trimmed().isEmpty())
        return;
    m_devices[port - 1] = device.trimmed();
    m_overridden[port - 1] = true;
}

bool PortDevices::isOverridden(int port) const
{
    return valid(port) && m_overridden[port - 1];
}

void PortDevices::chooseDevice(int port, const QString &device)
{
    const QString chosen = device.trimmed();
    if (!valid(port) || chosen.isEmpty())
        return;
    m_devices[port - 1] = chosen;
    m_overridden[port - 1] = false;
    if (m_settings)
        m_settings->setValue(deviceKey(port), chosen);
}

void PortDevices::chooseStartPort(int port)
{
    if (!valid(port))
        return;
    m_startPort = port;
    if (m_settings)
        m_settings->setValue(startPortKey(), port);
}

} // namespace zw
