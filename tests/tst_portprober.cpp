#include "portprober.h"
#include "ptypair.h"
#include "serialconnection.h"
#include "virtualradio.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace zw;
using zw::test::PtyPair;

namespace
{

// Long enough that a loaded machine does not turn an answering radio into a silent one.
constexpr int probeTimeoutMs = 3000;

bool freeToOpen(const QString &device)
{
    QSerialPort port(device);
    return port.open(QIODevice::ReadWrite);
}

} // namespace

class TestPortProber : public QObject
{
    Q_OBJECT

private slots:
    // Several lines, one radio: only its port counts as answering; every port the search
    // opened is free again afterwards; ports that cannot be opened say why.
    void findsTheOnePortARadioAnswersOn()
    {
        QTemporaryDir dir;
        PtyPair silent1, silent2, held;
        VirtualRadio radio(Model::UH);
        QVERIFY(silent1.isValid() && silent2.isValid() && held.isValid() && radio.open());
        QSerialPort holder(held.slavePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        const QString missing = dir.filePath(QStringLiteral("ttyUSB7"));
        QSignalSpy polls(&radio, &VirtualRadio::requestReceived);

        PortProber prober;
        prober.setConcurrency(2);
        prober.setTimeout(probeTimeoutMs);
        QSignalSpy finished(&prober, &PortProber::finished);
        prober.start({silent1.slavePath(), missing, radio.devicePath(), held.slavePath(),
                      silent2.slavePath(), QStringLiteral(" "), silent1.slavePath()});
        QVERIFY(prober.isRunning());
        QVERIFY(finished.wait(4 * probeTimeoutMs));
        QVERIFY(!prober.isRunning());

        QCOMPARE(prober.answeringDevices(), QStringList{radio.devicePath()});
        const QList<PortProber::Result> &results = prober.results();
        QCOMPARE(results.size(), 5); // the blank name and the repeat are left out
        QCOMPARE(results[0].outcome, PortProber::Outcome::Silent);
        QCOMPARE(results[1].outcome, PortProber::Outcome::NotOpened);
        QCOMPARE(results[1].failure.reason, PortOpenFailure::Reason::NoSuchDevice);
        QCOMPARE(results[2].outcome, PortProber::Outcome::Answered);
        QCOMPARE(results[3].outcome, PortProber::Outcome::NotOpened);
        QCOMPARE(results[3].failure.reason, PortOpenFailure::Reason::InUse);
        QCOMPARE(results[4].outcome, PortProber::Outcome::Silent);
        QVERIFY(!polls.isEmpty());
        QCOMPARE(polls.first().first().value<char>(), 'C');
        // The silent lines saw the ready poll and nothing else.
        const QByteArray sent = silent1.readAvailable();
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent, QByteArray(sent.size(), 'C'));

        QCOMPARE(finished.size(), 1);
        for (const QString &device : {silent1.slavePath(), silent2.slavePath(), radio.devicePath()})
            QVERIFY2(freeToOpen(device), qPrintable(device));
    }

    // The program's own open port is not opened twice: idle, it is polled through the
    // connection, which is handed back afterwards; during a read or a write it is left alone.
    void ownPortIsProbedThroughTheConnection_data()
    {
        QTest::addColumn<bool>("transferring");
        QTest::addColumn<int>("outcome");
        QTest::newRow("idle") << false << int(PortProber::Outcome::Answered);
        QTest::newRow("during a transfer") << true << int(PortProber::Outcome::InUseByThisProgram);
    }

    void ownPortIsProbedThroughTheConnection()
    {
        QFETCH(bool, transferring);
        QFETCH(int, outcome);
        VirtualRadio radio(Model::V);
        QVERIFY(radio.open());
        SerialConnection serial;
        serial.setDevice(1, radio.devicePath());
        QVERIFY(serial.open());
        QObject transfer;
        if (transferring)
            serial.setTransferOwner(&transfer);
        QSignalSpy polls(&radio, &VirtualRadio::requestReceived);

        PortProber prober;
        prober.setTimeout(probeTimeoutMs);
        prober.setConnection(&serial);
        QSignalSpy finished(&prober, &PortProber::finished);
        prober.start({radio.devicePath()});
        QVERIFY(finished.size() == 1 || finished.wait(2 * probeTimeoutMs));
        QCOMPARE(int(prober.results().constFirst().outcome), outcome);
        QVERIFY(serial.isOpen());
        QCOMPARE(serial.transferOwner(), transferring ? &transfer : nullptr);
        if (transferring)
            QVERIFY(polls.isEmpty()); // nothing was sent into the transfer
    }

    // Cancelling closes the ports at once and hands the connection back, without finished().
    void cancelClosesEverything()
    {
        PtyPair silent;
        VirtualRadio radio(Model::UL);
        QVERIFY(silent.isValid() && radio.open());
        radio.setFaults({true, -1, -1, -1, QString(), 0}); // switched off
        SerialConnection serial;
        serial.setDevice(1, radio.devicePath());
        QVERIFY(serial.open());
        PortProber prober;
        prober.setTimeout(probeTimeoutMs);
        prober.setConnection(&serial);
        QSignalSpy finished(&prober, &PortProber::finished);
        prober.start({silent.slavePath(), radio.devicePath()});
        QCOMPARE(serial.transferOwner(), &prober);
        prober.cancel();
        QVERIFY(!prober.isRunning());
        QCOMPARE(serial.transferOwner(), nullptr);
        QVERIFY(freeToOpen(silent.slavePath()));
        QTest::qWait(50);
        QCOMPARE(finished.size(), 0);
    }
};

QTEST_MAIN(TestPortProber)
#include "tst_portprober.moc"
