#include "serialtrace.h"

#include <QFileDevice>
#include <QIODevice>
#include <QMutexLocker>

#include <algorithm>

namespace zw
{

Q_LOGGING_CATEGORY(serialLine, "zw4630.serial", QtInfoMsg)

namespace
{

// Width of the hex column of a full line: 16 characters as "43 " without the last blank.
constexpr int hexWidth = SerialTrace::charactersPerLine * 3 - 1;

// A device name is the user's own text: a control character in it (a newline) could make it
// look like further lines of the trace.
QString printablePort(const QString &port)
{
    QString name = port;
    for (QChar &c : name)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return name;
}

} // namespace

SerialTrace &SerialTrace::instance()
{
    static SerialTrace trace;
    return trace;
}

SerialTrace::SerialTrace(int capacity) : m_capacity(std::size_t(qMax(1, capacity)))
{
    m_clock.start();
}

SerialTrace::~SerialTrace() = default;

void SerialTrace::record(const QString &port, Event direction, const QByteArray &characters)
{
    const qint64 ms = m_clock.elapsed();
    // Each line keeps a copy of its own characters only: a part of `characters` (mid()) would
    // share, and so keep alive, the caller's whole buffer for as long as the line is kept.
    for (qsizetype at = 0; at < characters.size(); at += charactersPerLine) {
        const qsizetype count = std::min<qsizetype>(charactersPerLine, characters.size() - at);
        append({ms, direction, port, QByteArray(characters.constData() + at, count)});
    }
}

void SerialTrace::record(const QString &port, Event event)
{
    append({m_clock.elapsed(), event, port, {}});
}

void SerialTrace::setOutput(std::unique_ptr<QIODevice> output, qint64 limit)
{
    QMutexLocker lock(&m_mutex);
    m_output = std::move(output);
    m_outputLimit = limit;
    m_outputWritten = 0;
    m_outputStopped = false;
    m_outputFailure.reset();
}

std::optional<QString> SerialTrace::outputFailure() const
{
    QMutexLocker lock(&m_mutex);
    return m_outputFailure;
}

void SerialTrace::writeOutput(const QString &line, qint64 ms)
{
    QByteArray bytes = (line + u'\n').toUtf8();
    if (m_outputWritten + bytes.size() > m_outputLimit) {
        bytes = QStringLiteral("%1 trace stopped: it reached its limit of %2 bytes\n")
                    .arg(ms, 9)
                    .arg(m_outputLimit)
                    .toUtf8();
        m_outputStopped = true;
    }
    // A write that fails (a full disk) stops the output: the lines after it would leave a gap.
    // A short write is followed by another, which then fails with the system's reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 now = m_output->write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0)
            break;
        written += now;
    }
    auto *file = qobject_cast<QFileDevice *>(m_output.get());
    if (written != bytes.size() || (file && !file->flush())) {
        m_outputFailure = m_output->errorString();
        m_outputStopped = true;
        return;
    }
    m_outputWritten += bytes.size();
}

void SerialTrace::append(Entry entry)
{
    QMutexLocker lock(&m_mutex);
    // Only the file and the enabled category need the text: the ring keeps the characters.
    const bool toOutput = m_output && !m_outputStopped;
    if (toOutput || serialLine().isDebugEnabled()) {
        const QString line = format(entry);
        if (toOutput)
            writeOutput(line, entry.ms);
        qCDebug(serialLine, "%s", qUtf8Printable(line));
    }
    if (m_ring.size() < m_capacity) {
        m_ring.push_back(std::move(entry));
    } else {
        m_ring[m_oldest] = std::move(entry);
        m_oldest = (m_oldest + 1) % m_capacity;
    }
}

QStringList SerialTrace::lines() const
{
    QMutexLocker lock(&m_mutex);
    QStringList lines;
    lines.reserve(qsizetype(m_ring.size()));
    for (std::size_t i = 0; i < m_ring.size(); ++i)
        lines << format(m_ring[(m_oldest + i) % m_ring.size()]);
    return lines;
}

QByteArray SerialTrace::text() const
{
    QByteArray text;
    for (const QString &line : lines())
        text += line.toUtf8() + '\n';
    return text;
}

QString SerialTrace::format(const Entry &entry)
{
    QString line = QStringLiteral("%1 %2 ").arg(entry.ms, 9).arg(printablePort(entry.port));
    switch (entry.event) {
    case Event::Sent:
    case Event::Received: {
        line += entry.event == Event::Sent ? QLatin1String("TX ") : QLatin1String("RX ");
        line += QString::fromLatin1(entry.characters.toHex(' ').toUpper())
                    .leftJustified(hexWidth, u' ');
        line += QLatin1String("  |");
        for (const char c : entry.characters)
            line += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('.');
        line += u'|';
        break;
    }
    case Event::Opened:
        line += QLatin1String("open");
        break;
    case Event::OpenFailed:
        line += QLatin1String("open failed");
        break;
    case Event::Closed:
        line += QLatin1String("close");
        break;
    case Event::Lost:
        line += QLatin1String("lost");
        break;
    }
    return line;
}

} // namespace zw
