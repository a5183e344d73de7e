// Every way a read or a write can go wrong on the line, through the real model window, the real
// serial port and the virtual radio on a pseudo-terminal. After each fault: the table, both
// settings and the database file are unchanged, exactly one message was shown, the window is
// usable again, the port is free, and the next transfer works.

#include "channelstore.h"
#include "channeltablemodel.h"
#include "codec.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "messages.h"
#include "modelwindow.h"
#include "numberreader.h"
#include "radiotransfer.h"
#include "sampletables.h"
#include "serialconnection.h"
#include "virtualradio.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace zw;
using zw::test::MessageBoxAnswerer;

namespace
{

constexpr int testBlockTimeoutMs = 150;

const QString readErrorTitle = QStringLiteral("错误警告 ");

// The radio tests' table with channel 1 already numbered 1, as every write leaves it: a write
// that fails then changes nothing in the table.
ChannelTable sampleTable(Model model)
{
    ChannelTable t = zw::test::radioSampleTable(model);
    t[0][ChannelNumber] = QStringLiteral("1");
    return t;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool waitUnlocked(ModelWindow *w, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (w->isTransferLocked() && clock.elapsed() < timeoutMs)
        QTest::qWait(5);
    return !w->isTransferLocked();
}

enum class Fault { CutAfterCharacters, GarbageInBlock, Silence, ReportedCode };

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(zw::Model)

class TestFaultMatrixRadio : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }

    void cleanup()
    {
        m_main.reset();
        m_radio.reset();
        m_dir.reset();
    }

    void badReplyChangesNothing_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("value");
        for (int blocks = 0; blocks < replyBlockCount; ++blocks) {
            QTest::addRow("cut after block %d", blocks)
                << Fault::CutAfterCharacters << blocks * blockLength;
        }
        for (int at : {1, 31, 33, 5 * blockLength + 16, replyLength - 1}) {
            QTest::addRow("cut after character %d", at) << Fault::CutAfterCharacters << at;
        }
        for (int block = 1; block <= replyBlockCount; ++block)
            QTest::addRow("garbage in block %d", block) << Fault::GarbageInBlock << block;
        QTest::newRow("silence") << Fault::Silence << 0;
        for (const char *code : {"0", "5", "9", "A", "F"})
            QTest::addRow("model code %s", code) << Fault::ReportedCode << int(*code);
    }

    void badReplyChangesNothing()
    {
        QFETCH(Fault, fault);
        QFETCH(int, value);
        ModelWindow *w = startWindow(Model::UH);
        QVERIFY(w);
        const Snapshot before = snapshot(w);

        VirtualRadio::Faults faults;
        switch (fault) {
        case Fault::CutAfterCharacters:
            faults.stopAfterCharacters = value;
            break;
        case Fault::GarbageInBlock:
            faults.garbageInBlock = value;
            break;
        case Fault::Silence:
            faults.silent = true;
            break;
        case Fault::ReportedCode:
            faults.reportedCode = QString(QChar(value));
            break;
        }
        m_radio->setFaults(faults);
        MessageBoxAnswerer answerer;
        QSignalSpy replaced(w, &ModelWindow::tableReplaced);
        w->readAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 3000);
        QVERIFY(waitUnlocked(w, 1000));
        QTest::qWait(testBlockTimeoutMs + 50); // nothing more is reported later
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).icon, QMessageBox::Information);
        QCOMPARE(answerer.seen().at(0).title, readErrorTitle);
        QCOMPARE(answerer.seen().at(0).text, readErrorMessage);
        QCOMPARE(replaced.count(), 0);
        verifyUnchanged(w, before);
        verifyUsable(w);
        QVERIFY(m_main->serial()->isOpen());

        m_radio->setFaults({});
        verifyReadSucceeds(w, answerer);
    }

    void radioOfAnotherModelLeavesThisTable_data()
    {
        QTest::addColumn<Model>("radioModel");
        QTest::newRow("ZW4630UM") << Model::UM;
        QTest::newRow("ZW4630UL") << Model::UL;
        QTest::newRow("ZW4630V") << Model::V;
    }

    // The window gives way to the radio's own window; nothing of the reply lands anywhere.
    void radioOfAnotherModelLeavesThisTable()
    {
        QFETCH(Model, radioModel);
        ModelWindow *w = startWindow(Model::UH);
        QVERIFY(w);
        const QString path = w->store()->path();
        const Snapshot before = snapshot(w);
        VirtualRadio::Faults faults;
        faults.reportedCode = modelInfo(radioModel).code;
        m_radio->setFaults(faults);
        QPointer<ModelWindow> guard(w);
        MessageBoxAnswerer answerer;
        w->readAction()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), 3000);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).title, otherRadioTitle);
        QCOMPARE(answerer.seen().at(0).text,
                 modelWindowLayout(Model::UH)
                     .otherRadioMessages[std::size_t(modelInfo(radioModel).code.toInt())]);
        QCOMPARE(fileBytes(path), before.database);
        ChannelStore reopened;
        QVERIFY(reopened.open(path).ok);
        QCOMPARE(reopened.records(), before.records);
        reopened.close();

        ModelWindow *other = m_main->modelWindow(radioModel);
        QVERIFY(other);
        QVERIFY(!m_main->serial()->isTransferring());
        linkOf(other)->setBlockTimeout(testBlockTimeoutMs);
        QTRY_VERIFY(!other->isTransferLocked());
        verifyUsable(other);
        QSignalSpy replaced(other, &ModelWindow::tableReplaced);
        other->readAction()->trigger();
        QVERIFY(waitUnlocked(other, 3000));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(other->store()->record(2)[RxTone], QStringLiteral("D023N"));
    }

    void lineLostDuringTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("sentBefore"); // read: reply characters; write: blocks
        QTest::newRow("read, before the reply") << false << 0;
        QTest::newRow("read, inside block 4") << false << 3 * blockLength + 7;
        QTest::newRow("read, before the trailer") << false << (replyBlockCount - 1) * blockLength;
        QTest::newRow("write, after block 1") << true << 1;
        QTest::newRow("write, after block 9") << true << 9;
        QTest::newRow("write, before the trailer") << true << channelCount;
    }

    // The radio's end of the line goes away (cable pulled) in the middle of a transfer.
    void lineLostDuringTransfer()
    {
        QFETCH(bool, write);
        QFETCH(int, sentBefore);
        ModelWindow *w = startWindow(Model::UM);
        QVERIFY(w);
        const Snapshot before = snapshot(w);
        RadioLink *link = linkOf(w);
        link->setBlockTimeout(5000); // only the lost line may end this read
        MessageBoxAnswerer answerer;
        bool pulled = false;
        auto pull = [&] {
            if (pulled)
                return;
            pulled = true;
            // Deleting the radio closes its end of the pseudo-terminal.
            QMetaObject::invokeMethod(
                this, [this] { m_radio.reset(); }, Qt::QueuedConnection);
        };
        if (write) {
            connect(link, &RadioLink::progress, this, [&](int done, int total) {
                if (total == imageBlockCount && done >= sentBefore)
                    pull();
            });
            w->writeAction()->trigger();
        } else {
            VirtualRadio::Faults faults;
            faults.stopAfterCharacters = sentBefore;
            m_radio->setFaults(faults);
            connect(m_radio.get(), &VirtualRadio::requestReceived, this, [&](char request) {
                if (request == 'B')
                    QTimer::singleShot(30, this, pull);
            });
            w->readAction()->trigger();
        }
        QTRY_COMPARE_WITH_TIMEOUT(answerer.count(), 1, 4000);
        QVERIFY(pulled);
        QVERIFY(waitUnlocked(w, 1000));
        QTest::qWait(200); // a failing port repeats its error; it is reported once
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).title, QStringLiteral("系统信息"));
        QCOMPARE(answerer.seen().at(0).text,
                 write ? portWriteFailedMessage : portReadFailedMessage);
        // A write stores channel 1's number "1" (already so) first: the file is written, the
        // records stay.
        verifyUnchanged(w, before, !write);
        verifyUsable(w);
        QVERIFY(!m_main->serial()->isOpen()); // released: another program may take it now

        // The cable is back: the same port opens again and both transfers work.
        m_radio = std::make_unique<VirtualRadio>(Model::UM);
        m_radio->setPacing(false);
        QVERIFY(m_radio->open());
        m_main->serial()->setDevice(1, m_radio->devicePath());
        QVERIFY(m_main->serial()->open());
        QSignalSpy written(m_radio.get(), &VirtualRadio::memoryWritten);
        w->writeAction()->trigger();
        QVERIFY(waitUnlocked(w, 5000));
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(m_radio->memory().squelch, '5');
        QCOMPARE(m_radio->memory().channels[1],
                 EncodeChannelBlock(before.records[1], modelInfo(Model::UM).receiveOffsetMHz)
                     .toLatin1());
        verifyReadSucceeds(w, answerer, sampleTable(Model::UM)[1][RxFrequency]);
    }

private:
    struct Snapshot {
        ChannelTable records;
        QString squelch;
        QString tone;
        QByteArray database;
    };

    static RadioLink *linkOf(ModelWindow *w) { return w->findChild<RadioTransfer *>()->link(); }

    ModelWindow *startWindow(Model model)
    {
        m_radio = std::make_unique<VirtualRadio>(model);
        m_radio->setPacing(false);
        if (!m_radio->open())
            return nullptr;
        m_main = std::make_unique<MainWindow>();
        m_main->serial()->setDevice(1, m_radio->devicePath());
        m_main->load();
        ModelWindow *w = m_main->showModel(model);
        linkOf(w)->setBlockTimeout(testBlockTimeoutMs);
        w->store()->setRecords(sampleTable(model));
        w->squelchList()->setCurrentText(QStringLiteral("5"));
        w->channelToneList()->setCurrentText(QStringLiteral("键音"));
        return w;
    }

    static Snapshot snapshot(ModelWindow *w)
    {
        return {w->store()->records(), w->squelchList()->currentText(),
                w->channelToneList()->currentText(), fileBytes(w->store()->path())};
    }

    static void verifyUnchanged(ModelWindow *w, const Snapshot &before, bool sameFile = true)
    {
        for (int i = 0; i < channelCount; ++i)
            QCOMPARE(w->store()->record(i).fields, before.records[std::size_t(i)].fields);
        QCOMPARE(w->squelchList()->currentText(), before.squelch);
        QCOMPARE(w->channelToneList()->currentText(), before.tone);
        if (sameFile)
            QCOMPARE(fileBytes(w->store()->path()), before.database);
    }

    void verifyUsable(ModelWindow *w)
    {
        QVERIFY(!w->isTransferLocked());
        for (QAction *action :
             {w->readAction(), w->writeAction(), w->fileMenu()->menuAction(), w->exitAction()})
            QVERIFY2(action->isEnabled(), qPrintable(action->text()));
        QVERIFY(!w->tableModel()->isEditingLocked());
        QVERIFY(w->squelchList()->isEnabled());
        QVERIFY(w->channelToneList()->isEnabled());
        QVERIFY(!m_main->serial()->isTransferring());
    }

    // A read of the radio's own memory now goes through: the table is replaced once and no
    // message appears. `channel2` is what the radio holds in channel 2 (default memory when
    // empty).
    void verifyReadSucceeds(ModelWindow *w, MessageBoxAnswerer &answerer,
                            const QString &channel2 = QString())
    {
        const int messages = answerer.count();
        QSignalSpy replaced(w, &ModelWindow::tableReplaced);
        w->readAction()->trigger();
        QVERIFY(waitUnlocked(w, 3000));
        QCOMPARE(answerer.count(), messages);
        QCOMPARE(replaced.count(), 1);
        const QString expected = channel2.isEmpty()
                                     ? formatFrequency(modelInfo(w->model()).band.bandLow + 5.0125)
                                     : channel2;
        QCOMPARE(w->store()->record(1)[RxFrequency], expected);
        QVERIFY(!m_main->serial()->isTransferring());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualRadio> m_radio;
    std::unique_ptr<MainWindow> m_main;
};

QTEST_MAIN(TestFaultMatrixRadio)
#include "tst_faultmatrix_radio.moc"
