#pragma once

#include <QByteArray>
#include <QString>

namespace zw::test
{

// A pseudo-terminal pair standing in for a serial cable: the program opens slavePath() with
// QSerialPort, the test reads and writes the other end.
class PtyPair final
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // Everything the program has sent so far (non-blocking).
    QByteArray readAvailable();
    // Waits (running the event loop) until `count` bytes arrived or `timeoutMs` passed, and
    // returns what arrived.
    QByteArray readBytes(int count, int timeoutMs = 5000);
    bool write(const QByteArray &bytes);
    // Closes the test's end, as a pulled cable would.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up until the program opens it
    QString m_slavePath;
};

} // namespace zw::test
