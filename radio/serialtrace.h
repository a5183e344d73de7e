#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QIODevice;

namespace zw
{

// The serial line's category: at debug level (off unless the logging rules turn it on, e.g.
// QT_LOGGING_RULES="zw4630.serial.debug=true") every trace line also goes to Qt's log.
Q_DECLARE_LOGGING_CATEGORY(serialLine)

// What crossed the serial lines, for support when a radio misbehaves: every character sent and
// received, and each port's opening and closing, stamped with the milliseconds since the trace
// began. A line holds at most 16 characters, in hex and printable:
//
//        12 /dev/ttyUSB0 open
//       130 /dev/ttyUSB0 TX 43                                               |C|
//       131 /dev/ttyUSB0 RX 43                                               |C|
//
// The last `capacity` lines are always kept in memory, as the raw characters (they become text
// only when someone reads them); when an output device is set, each line is also written there
// as it happens. A trace holds the line's own characters and the port names, nothing else.
class SerialTrace final
{
    Q_DISABLE_COPY_MOVE(SerialTrace)

public:
    enum class Event {
        Sent,       // characters handed to the port for the line
        Received,   // characters the port delivered
        Opened,     // the port opened
        OpenFailed, // the port could not be opened
        Closed,     // the program closed the port
        Lost,       // the port failed while open (adapter pulled) and was closed
    };

    static constexpr int defaultCapacity = 10000;
    static constexpr int charactersPerLine = 16;
    // What an output device gets at most: a port that floods the line would otherwise fill the
    // disk (about 90 MB a minute). A full read or write of a radio takes some 100 KB.
    static constexpr qint64 defaultOutputLimit = 50'000'000;

    // The program's own trace, which every serial connection and the port prober record into.
    static SerialTrace &instance();

    explicit SerialTrace(int capacity = defaultCapacity);
    ~SerialTrace();

    // Characters on the line of `port` (Sent or Received; split into lines of 16).
    void record(const QString &port, Event direction, const QByteArray &characters);
    // A port's opening, closing or loss.
    void record(const QString &port, Event event);

    // From now on every line is also written to `output` (open for writing), flushed at once so
    // that the file holds the trace even when the program ends abruptly. Null stops that. Once
    // `limit` bytes are written, a last line says the trace stops there and nothing more is
    // written; the lines in memory go on.
    void setOutput(std::unique_ptr<QIODevice> output, qint64 limit = defaultOutputLimit);
    // The system's text when a line could not be written to the output device (a full disk, a
    // file-size limit); nothing more was written after that. No value while every line was.
    std::optional<QString> outputFailure() const;

    // The kept lines, oldest first, without line ends.
    QStringList lines() const;
    // The kept lines as a text file (UTF-8, each line ended by a newline).
    QByteArray text() const;

private:
    struct Entry {
        qint64 ms = 0;
        Event event = Event::Sent;
        QString port;
        QByteArray characters;
    };

    void append(Entry entry);
    void writeOutput(const QString &line, qint64 ms);
    static QString format(const Entry &entry);

    const std::size_t m_capacity;
    mutable QMutex m_mutex;
    QElapsedTimer m_clock;
    std::vector<Entry> m_ring; // grows to m_capacity, then m_oldest marks where it starts
    std::size_t m_oldest = 0;
    std::unique_ptr<QIODevice> m_output;
    qint64 m_outputLimit = defaultOutputLimit;
    qint64 m_outputWritten = 0;
    bool m_outputStopped = false; // the limit was reached or a write failed
    std::optional<QString> m_outputFailure;
};

} // namespace zw
