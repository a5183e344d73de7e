#pragma once

#include "transferresults.h"

#include <QDateTime>
#include <QSerialPort>
#include <QString>

namespace zw
{

// Everything the program knows about its serial line, in one value: the port, the radio on it,
// the transfer running on it and how the last transfer ended. Every view (a model window's
// status line and menus, the main window's status bar, the command-line tool's words) is drawn
// from it; none keeps a flag or a text of its own. Facts carry the time they became true: a view
// says "answered at 10:42:07", never a guess about now.
struct LinkState {
    enum class Port {
        Closed, // never opened, or closed by the program
        Open,
        Failed, // the open port failed (cable pulled, adapter gone), or the last open failed
    };
    enum class Radio {
        NotPolled, // nothing was asked on this port since it opened
        Answered,  // the radio answered at `radioSince` (a ready answer or a reply)
        Silent,    // polled without an answer since `radioSince`
    };
    enum class Transfer {
        Idle,
        Reading,     // from Read Data until the reply is in
        Identifying, // a write reads the radio first, to know what it is and keep its contents
        Writing,     // "A" and the blocks (`blocksDone` of `blocksTotal`)
        Verifying,   // the radio is read back after the write
    };
    enum class Outcome {
        None,           // no transfer ended yet, or one runs now
        Read,           // the radio's channels and settings were read
        ReadFailed,     // `read` says why
        Verified,       // written, and the read-back found what was sent
        Differs,        // written, and the radio holds something else (`write` says where)
        NotChecked,     // written (or written in part), the radio's contents unknown (`write`)
        NothingWritten, // the write ended before "A" (`write` says why)
    };

    Port port = Port::Closed;
    QString device;    // the device of the port in use
    QString portError; // with Failed: the system's words
    QSerialPort::SerialPortError openError = QSerialPort::NoError; // with Failed after an open

    Radio radio = Radio::NotPolled;
    QDateTime radioSince;

    Transfer transfer = Transfer::Idle;
    int blocksDone = 0;
    int blocksTotal = 0;

    Outcome outcome = Outcome::None;
    QDateTime outcomeTime;
    Model outcomeModel = Model::V; // the model of the session whose transfer ended
    ReadResult read;   // the read's result with Read and ReadFailed (its channels dropped)
    WriteResult write; // the write's result with the write outcomes (the radio's contents dropped)

    // A read or a write runs on the line: the transfer lock of every window follows this.
    bool transferring() const { return transfer != Transfer::Idle; }

    // How a finished read or write is told: its kind (never None).
    static Outcome outcomeOf(const ReadResult &result);
    static Outcome outcomeOf(const WriteResult &result);
};

} // namespace zw
