#pragma once

#include "modelinfo.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <optional>

class QSocketNotifier;

namespace zw
{

// A radio of the ZW4630 family played on a pseudo-terminal, for trying the program and for
// tests without hardware. The program opens devicePath() as its serial port. The radio answers
// "C" with "C"; answers "B" with a header block, its 16 channel blocks and a trailer block that
// carries its model code, squelch level and channel tone; and after "A" takes the 544
// characters of a channel image into its memory. Answers go out at the pace of a 9600-baud
// line (about 1.04 ms a character) unless pacing is off.
//
// Memory file: 17 lines of 32 hexadecimal characters, the 16 channel blocks and a trailer
// block, exactly as a write sends them. The default memory (defaultMemory) holds three
// channels in use, placed in the model's band by sampleFrequencyMHz() (in a band narrower than
// 15 MHz the offsets start again at the band's low edge):
//   1: band low + 5 MHz both ways, no tones, high power;
//   2: band low + 5.0125 MHz both ways, CTCSS 88.5 both ways, high power;
//   3: receive band low + 10 MHz with D023N, transmit band low + 15 MHz with D023N, skipped
//      by scan, BCL 1, beat on, low power;
// squelch level 3 and channel tone 中文.
class VirtualRadio final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VirtualRadio)

public:
    struct Memory {
        std::array<QByteArray, 16> channels; // 32 characters each
        char squelch = '3';
        QByteArray channelTone = "00"; // "00" 中文, "10" 英文, "01" 键音
    };

    // Ways to misbehave, for tests and demonstrations.
    struct Faults {
        bool silent = false;          // answers nothing and takes nothing (radio switched off)
        int stopAfterBlocks = -1;     // the reply to "B" stops after this many blocks (0..17)
        int stopAfterCharacters = -1; // the reply to "B" stops after this many characters
        int garbageInBlock = -1;      // block 1..18 of the reply carries a non-hex character
        QString reportedCode;         // model code sent in the trailer instead of the own one
        int replyDelayMs = 0;         // the reply to "B" starts this late
        int readyDelayMs = 0;         // every answer to the ready poll "C" comes this late
        int characterMs = 0;          // a slow line: each character sent takes this long
        // A write that does not arrive as sent (blocks numbered 1..16 for the channels, 17 for
        // the trailer):
        int dropBlock = -1;            // this block of a write is not stored: it keeps what it held
        int garbleBlock = -1;          // this block is stored with one digit wrong
        bool silentAfterWrite = false; // after a complete write the radio answers nothing more
        // The radio is switched off after taking this many blocks (0..16) of a write: it keeps
        // nothing of that write and answers nothing more (in a fleet, the next one comes on).
        int offAfterBlocks = -1;
    };

    // One radio of a fleet: its model, how it misbehaves, and how long the line stays without
    // a radio after it went off before the next one comes on.
    struct FleetRadio {
        Model model = Model::V;
        Faults faults = {};
        int offMs = 2000;
    };

    explicit VirtualRadio(Model model, QObject *parent = nullptr);
    ~VirtualRadio() override;

    // Creates the pseudo-terminal. False when the system has none (see errorString()).
    bool open();
    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_error; }

    Model model() const { return m_model; }
    void setPacing(bool paced) { m_paced = paced; }
    // Also lets a radio silenced after a write, or switched off by offAfterBlocks, answer again
    // (outside a fleet).
    void setFaults(const Faults &faults)
    {
        m_faults = faults;
        m_silenced = false;
        if (m_fleet.isEmpty())
            m_off = false;
    }
    const Faults &faults() const { return m_faults; }

    static Memory defaultMemory(Model model);
    const Memory &memory() const { return m_memory; }
    void setMemory(const Memory &memory) { m_memory = memory; }
    // The memory a file of saveMemory() holds: 17 lines of 32 hexadecimal characters, the 16
    // channel blocks and the trailer. Nothing when the text is not that.
    static std::optional<Memory> memoryFromText(const QByteArray &text);
    bool saveMemory(const QString &path) const;
    // When set, the memory is saved there after every complete write.
    void setMemoryFile(const QString &path) { m_memoryFile = path; }

    // Fleet mode, for programming one radio after another: the radios of `fleet` come on the
    // line in turn, each with the default memory of its model. A radio goes off `leaveAfterMs`
    // after the last thing it did other than answering a ready poll (taking a read request, the
    // end of its reply, a character of a write; three ready delays longer for a radio that
    // answers the poll late), as a user switches a programmed radio off;
    // the next comes on its offMs later. After the last one the line stays silent. The first
    // radio is on at once.
    void setFleet(const QList<FleetRadio> &fleet, int leaveAfterMs);
    // A fleet as a list of models, each optionally with ":off-mid-write" (switched off after
    // five blocks of its write, then off for `droppedOffMs`), ":differs" (stores one block
    // with a digit wrong) or ":late-ready" (answers each ready poll 300 ms late):
    // "V,UH,V:off-mid-write,V:differs,V:late-ready". The other radios are off for
    // `offMs`; an empty text is no radio. Nothing when an entry is none of these.
    static std::optional<QList<FleetRadio>> fleetFromText(const QString &text, int offMs,
                                                          int droppedOffMs);
    // The fleet radio on the line (0..), or -1 while none is.
    int fleetRadio() const { return m_fleetOn ? m_fleetIndex : -1; }
    // What fleet radio `index` holds (the one on the line included).
    Memory fleetMemory(int index) const;

    // The 576 characters a "B" is answered with, faults included.
    QByteArray reply() const;

    // Every character the radio has read from the line and written to it since it opened, in
    // order (what a trace of the program's side must show).
    const QByteArray &heard() const { return m_heard; }
    const QByteArray &said() const { return m_said; }

signals:
    // A complete channel image was taken into memory.
    void memoryWritten();
    // Every request letter received outside a write ("C", "B", "A"), also while silent.
    void requestReceived(char request);
    // Fleet radio `index` came on the line, or went off it.
    void fleetRadioOn(int index);
    void fleetRadioOff(int index);

private:
    void onReadable();
    void take(char c);
    void answer(const QByteArray &text, int delayMs = 0);
    void pump();

    Model m_model;
    Memory m_memory;
    Faults m_faults;
    bool m_paced = true;
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    mutable QString m_error;
    QString m_memoryFile;
    QSocketNotifier *m_notifier = nullptr;

    void store(const QByteArray &image);

    bool m_receiving = false; // between "A" and the 544th character
    bool m_silenced = false;  // silentAfterWrite, after a write
    QByteArray m_incoming;
    QTimer m_receiveTimeout;

    QByteArray m_heard;
    QByteArray m_said;
    QByteArray m_out;     // characters still to send
    qint64 m_outSent = 0; // of the current paced run
    QElapsedTimer m_outClock;
    QTimer m_pace;

    // Fleet mode (see setFleet).
    void switchOn(int index);
    void switchOff();
    void busy(); // the radio did something: it stays on leaveAfterMs longer
    QList<FleetRadio> m_fleet;
    QList<Memory> m_fleetMemories;
    int m_fleetIndex = -1;
    bool m_fleetOn = false;
    bool m_off = false;             // switched off (offAfterBlocks, or in a fleet between radios)
    bool m_answerTellsBusy = false; // the answer being sent is more than a ready answer
    QTimer m_leave;                 // the radio on the line goes off
    int m_leaveAfterMs = 0;
    QTimer m_nextOn; // the next radio comes on
};

} // namespace zw
