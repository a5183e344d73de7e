#include "virtualradio.h"

#include "codec.h"
#include "numberreader.h"
#include "savefile.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace zw
{

namespace
{

constexpr qint64 nanosecondsPerCharacter = 1'041'667; // 10 bits at 9600 baud
// A PC's serial port hands received characters over in groups (a UART's receive FIFO raises
// its interrupt every 8 characters by default; a USB adapter sends a packet per latency
// period), so the paced line delivers 8 characters at a time, each group when its last
// character would have arrived.
constexpr int charactersPerHandOver = 8;
constexpr int receiveTimeoutMs = 3000;
// A fleet radio marked late-ready answers each ready poll this late: three polls go out before
// the first answer comes.
constexpr int lateReadyMs = 300;

QByteArray trailerOf(const VirtualRadio::Memory &memory, const QString &code)
{
    QByteArray block(blockLength, '0');
    block[3] = code.isEmpty() ? '0' : code.at(0).toLatin1();
    block[5] = memory.squelch;
    block[6] = memory.channelTone.at(0);
    block[7] = memory.channelTone.at(1);
    return block;
}

} // namespace

VirtualRadio::VirtualRadio(Model model, QObject *parent)
    : QObject(parent), m_model(model), m_memory(defaultMemory(model))
{
    m_receiveTimeout.setSingleShot(true);
    m_receiveTimeout.setInterval(receiveTimeoutMs);
    // A write that stops half-way is dropped, as the radio would drop it.
    connect(&m_receiveTimeout, &QTimer::timeout, this, [this] {
        m_receiving = false;
        m_incoming.clear();
    });
    m_leave.setSingleShot(true);
    connect(&m_leave, &QTimer::timeout, this, [this] {
        // Not while it answers a read request or takes a write: the end of either starts the
        // wait again. A ready answer on its way does not keep it on: the program polls every
        // 100 ms, and a wait started again at each would keep the same step with the polls and
        // could meet a ready answer every time, leaving the radio on for ever.
        if (m_receiving || (!m_out.isEmpty() && m_answerTellsBusy))
            m_leave.start();
        else
            switchOff();
    });
    m_nextOn.setSingleShot(true);
    connect(&m_nextOn, &QTimer::timeout, this, [this] { switchOn(m_fleetIndex + 1); });
    m_pace.setTimerType(Qt::PreciseTimer);
    m_pace.setInterval(int(charactersPerHandOver * nanosecondsPerCharacter / 1'000'000));
    connect(&m_pace, &QTimer::timeout, this, &VirtualRadio::pump);
}

std::optional<QList<VirtualRadio::FleetRadio>>
VirtualRadio::fleetFromText(const QString &text, int offMs, int droppedOffMs)
{
    QList<FleetRadio> fleet;
    for (const QString &entry : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = entry.trimmed().split(u':');
        const std::optional<Model> model = modelFromShortName(parts.constFirst());
        const QString fault = parts.value(1);
        if (!model || parts.size() > 2)
            return std::nullopt;
        FleetRadio radio;
        radio.model = *model;
        radio.offMs = offMs;
        if (fault == QLatin1String("off-mid-write")) {
            radio.faults.offAfterBlocks = 5;
            radio.offMs = droppedOffMs;
        } else if (fault == QLatin1String("differs")) {
            radio.faults.garbleBlock = 3;
        } else if (fault == QLatin1String("late-ready")) {
            radio.faults.readyDelayMs = lateReadyMs;
        } else if (!fault.isEmpty()) {
            return std::nullopt;
        }
        fleet << radio;
    }
    return fleet;
}

VirtualRadio::~VirtualRadio()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool VirtualRadio::open()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        m_master = m_slave = -1;
        return false;
    }
    // Raw line, no echo: the program must see only what the radio sends. The radio keeps its
    // own handle on the line so it stays up while the program opens and closes its port.
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Programs started meanwhile (the tool under test) must not inherit the line's ends: a
    // master held open there would keep the line up after the radio is gone.
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_devicePath = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &VirtualRadio::onReadable);
    return true;
}

VirtualRadio::Memory VirtualRadio::defaultMemory(Model model)
{
    const ModelInfo &info = modelInfo(model);
    auto frequency = [&](double aboveLow) {
        return formatFrequency(sampleFrequencyMHz(info.band, aboveLow));
    };
    ChannelTable table;
    // 信道号, 接收频率, 收哑音, 备用3, 发送频率, 发哑音, 备用6, 扫描, BCL, 拍频, 功率
    table[0].fields = {"1", frequency(5), "", "", frequency(5), "", "", "add", "off", "off", "H"};
    table[1].fields = {
        "2", frequency(5.0125), "88.5", "", frequency(5.0125), "88.5", "", "add", "off", "off",
        "H"};
    table[2].fields = {"3",   frequency(10), "D023N", "", frequency(15), "D023N", "",
                       "del", "1",           "on",    "L"};
    Memory memory;
    for (int i = 0; i < channelCount; ++i) {
        memory.channels[static_cast<std::size_t>(i)] =
            EncodeChannelBlock(table[static_cast<std::size_t>(i)], info.receiveOffsetMHz)
                .toLatin1();
    }
    return memory;
}

std::optional<VirtualRadio::Memory> VirtualRadio::memoryFromText(const QByteArray &text)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    }
    if (lines.size() != imageBlockCount)
        return std::nullopt;
    for (const QByteArray &line : lines) {
        if (line.size() != blockLength || !isBlockText(line))
            return std::nullopt;
    }
    Memory memory;
    for (int i = 0; i < channelCount; ++i)
        memory.channels[static_cast<std::size_t>(i)] = lines.at(i);
    memory.squelch = lines.last().at(5);
    memory.channelTone = lines.last().mid(6, 2);
    return memory;
}

bool VirtualRadio::saveMemory(const QString &path) const
{
    QByteArray text;
    for (const QByteArray &block : m_memory.channels)
        text += block + '\n';
    text += trailerOf(m_memory, QStringLiteral("5")) + '\n';
    const Result saved = saveWholeFile(path, text);
    m_error = saved.error();
    return saved.ok();
}

QByteArray VirtualRadio::reply() const
{
    QByteArray text(blockLength, '0'); // header block
    for (const QByteArray &block : m_memory.channels)
        text += block;
    const QString code =
        m_faults.reportedCode.isEmpty() ? modelInfo(m_model).code : m_faults.reportedCode;
    text += trailerOf(m_memory, code);
    if (m_faults.garbageInBlock >= 1 && m_faults.garbageInBlock <= replyBlockCount)
        text[(m_faults.garbageInBlock - 1) * blockLength + 5] = 'x';
    if (m_faults.stopAfterBlocks >= 0 && m_faults.stopAfterBlocks < replyBlockCount)
        text.truncate(m_faults.stopAfterBlocks * blockLength);
    if (m_faults.stopAfterCharacters >= 0)
        text.truncate(m_faults.stopAfterCharacters);
    return text;
}

void VirtualRadio::setFleet(const QList<FleetRadio> &fleet, int leaveAfterMs)
{
    m_fleet = fleet;
    m_fleetMemories.clear();
    for (const FleetRadio &radio : fleet)
        m_fleetMemories << defaultMemory(radio.model);
    m_leaveAfterMs = leaveAfterMs;
    m_fleetIndex = -1;
    m_fleetOn = false;
    switchOn(0);
}

VirtualRadio::Memory VirtualRadio::fleetMemory(int index) const
{
    if (m_fleetOn && index == m_fleetIndex)
        return m_memory;
    return m_fleetMemories.value(index);
}

void VirtualRadio::switchOn(int index)
{
    m_fleetIndex = index;
    if (index >= m_fleet.size()) {
        m_off = true; // the last radio has gone: the line stays silent
        return;
    }
    // What reached the line while no radio was on is not heard by the one coming on now.
    m_off = true;
    if (m_master >= 0)
        onReadable();
    const FleetRadio &radio = m_fleet.at(index);
    m_model = radio.model;
    m_memory = m_fleetMemories.at(index);
    m_faults = radio.faults;
    m_silenced = false;
    m_off = false;
    m_receiving = false;
    m_incoming.clear();
    m_fleetOn = true;
    emit fleetRadioOn(index);
}

// A radio switched off says nothing more: what it was still sending stops, a write it was
// taking is lost.
void VirtualRadio::switchOff()
{
    m_off = true;
    m_receiving = false;
    m_receiveTimeout.stop();
    m_incoming.clear();
    m_out.clear();
    m_pace.stop();
    m_leave.stop();
    if (!m_fleetOn)
        return;
    m_fleetMemories[m_fleetIndex] = m_memory;
    m_fleetOn = false;
    emit fleetRadioOff(m_fleetIndex);
    m_nextOn.start(m_fleet.at(m_fleetIndex).offMs);
}

void VirtualRadio::busy()
{
    // A radio that answers the ready poll late keeps the program that much longer between its
    // commands (before each read request the program waits for the late answers to end): the
    // user of such a radio waits as long before switching it off.
    if (m_fleetOn)
        m_leave.start(m_leaveAfterMs + 3 * m_faults.readyDelayMs);
}

void VirtualRadio::onReadable()
{
    char buffer[1024];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_heard.append(buffer, n);
            for (ssize_t i = 0; i < n; ++i)
                take(buffer[i]);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            m_notifier->setEnabled(false); // the line is gone; nothing more will come
        return;
    }
}

void VirtualRadio::take(char c)
{
    if (!m_receiving && (c == 'A' || c == 'B' || c == 'C'))
        emit requestReceived(c);
    if (m_faults.silent || m_silenced || m_off)
        return;
    if (m_receiving) {
        m_incoming += c;
        m_receiveTimeout.start();
        busy();
        if (m_faults.offAfterBlocks >= 0 &&
            m_incoming.size() >= qsizetype(m_faults.offAfterBlocks) * blockLength) {
            switchOff();
            return;
        }
        if (m_incoming.size() < imageBlockCount * blockLength)
            return;
        m_receiving = false;
        m_receiveTimeout.stop();
        if (isBlockText(m_incoming))
            store(m_incoming);
        m_incoming.clear();
        return;
    }
    switch (c) {
    case 'C':
        answer(QByteArrayLiteral("C"), m_faults.readyDelayMs);
        break;
    case 'B':
        busy();
        m_answerTellsBusy = true;
        answer(reply(), m_faults.replyDelayMs);
        break;
    case 'A':
        busy();
        m_receiving = true;
        m_incoming.clear();
        m_receiveTimeout.start();
        break;
    default:
        break; // line noise
    }
}

void VirtualRadio::store(const QByteArray &image)
{
    QByteArray taken = image;
    const auto blockAt = [](int block) { return qsizetype(block - 1) * blockLength; };
    if (m_faults.garbleBlock >= 1 && m_faults.garbleBlock <= imageBlockCount) {
        // A digit of the receive frequency (of the squelch level in the trailer): wrong in a
        // way every read shows.
        const qsizetype at = blockAt(m_faults.garbleBlock) + 5;
        taken[at] = taken.at(at) == '1' ? '2' : '1';
    }
    for (int i = 0; i < channelCount; ++i) {
        if (i + 1 != m_faults.dropBlock)
            m_memory.channels[static_cast<std::size_t>(i)] = taken.mid(blockAt(i + 1), blockLength);
    }
    if (m_faults.dropBlock != imageBlockCount) {
        const QByteArray trailer = taken.mid(channelCount * blockLength);
        m_memory.squelch = trailer.at(5);
        m_memory.channelTone = trailer.mid(6, 2);
    }
    if (!m_memoryFile.isEmpty())
        saveMemory(m_memoryFile);
    m_silenced = m_faults.silentAfterWrite;
    emit memoryWritten();
}

void VirtualRadio::answer(const QByteArray &text, int delayMs)
{
    if (delayMs > 0) {
        QTimer::singleShot(delayMs, this, [this, text] {
            if (m_off)
                return;
            m_out += text;
            pump();
        });
        return;
    }
    m_out += text;
    pump();
}

void VirtualRadio::pump()
{
    if (m_master < 0 || m_out.isEmpty()) {
        m_pace.stop();
        return;
    }
    qsizetype count = m_out.size();
    const bool slow = m_faults.characterMs > 0;
    if (m_paced || slow) {
        const qint64 perCharacter =
            slow ? qint64(m_faults.characterMs) * 1'000'000 : nanosecondsPerCharacter;
        if (!m_pace.isActive()) {
            m_outClock.start();
            m_outSent = 0;
            m_pace.start(slow ? m_faults.characterMs
                              : int(charactersPerHandOver * nanosecondsPerCharacter / 1'000'000));
        }
        const qint64 due = m_outClock.nsecsElapsed() / perCharacter - m_outSent;
        count = std::min<qsizetype>(count, qsizetype(std::max<qint64>(due, 0)));
    }
    if (count > 0) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(count));
        if (n > 0) {
            m_said += m_out.left(n);
            m_out.remove(0, n);
            m_outSent += n;
        }
    }
    if (m_out.isEmpty()) {
        m_pace.stop();
        // The end of a reply counts as the radio's doing; the end of a ready answer does not.
        if (m_answerTellsBusy) {
            m_answerTellsBusy = false;
            busy();
        }
    } else if (!m_paced && !slow && !m_pace.isActive())
        m_pace.start(); // the line's buffer was full: try again shortly
}

} // namespace zw
