// Every kind of bad channel file, opened and saved through the real model window: files cut
// anywhere, random bytes, bytes that are not GB2312, a 100 MB file, a folder, a file the user
// may not read, and a save onto a full disk. After each: exactly one message (none where the
// dialog itself refuses), and the table, both settings and the database file unchanged; a
// failed save leaves the old file as it was and no stray file beside it.

#include "channeldocument.h"
#include "channelfile.h"
#include "channelstore.h"
#include "csvactions.h"
#include "filedialoganswerer.h"
#include "language.h"
#include "mainstatusbar.h"
#include "mainwindow.h"
#include "messageboxanswerer.h"
#include "modalguard.h"
#include "modelwindow.h"
#include "sampletables.h"
#include "statustext.h"
#include "windowtestfolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zw;
using zw::test::FileDialogAnswerer;
using zw::test::MessageBoxAnswerer;
using zw::test::sampleTable;

namespace
{

QString unreadableText(const QString &path)
{
    return QStringLiteral("无法读取信道文件 %1，信道数据没有改变。")
        .arg(QDir::toNativeSeparators(path));
}

// The message of a failed save, with the reason in the system's words or the window's.
QString unsavedText(const QString &path, const QString &reason)
{
    return QStringLiteral("无法保存信道文件 %1（%2），原有文件没有改变。")
        .arg(QDir::toNativeSeparators(path), reason);
}

// The high-water mark of this process's memory, in KiB.
long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What the window of ZW4630V saves for the sample table, channel tone 英文, squelch level 7.
QByteArray savedFile()
{
    ChannelFileData data;
    data.modelCode = QStringLiteral("4");
    data.channelTone = QStringLiteral("英文");
    data.squelchLevel = QStringLiteral("7");
    data.records = sampleTable();
    for (ChannelRecord &r : data.records)
        r[ChannelNumber].clear();
    return writeChannelFile(data).value();
}

} // namespace

class TestFaultMatrixFiles : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = test::enterFreshWindowFolder();
        QVERIFY(m_dir);
        m_main = std::make_unique<MainWindow>();
        m_main->show();
        m_window = m_main->showModel(Model::V);
        QVERIFY(m_window);
        QVERIFY(m_window->document()->replace(sampleTable(), std::nullopt));
        m_window->squelchList()->setCurrentText(QStringLiteral("5"));
        m_window->channelToneList()->setCurrentText(QStringLiteral("键音"));
        takeSnapshot();
    }

    void cleanup()
    {
        m_main.reset();
        m_dir.reset();
    }

    void badFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "<none>": no such file
        QTest::newRow("no such file") << QByteArray("<none>");
        QTest::newRow("empty") << QByteArray();
        QRandomGenerator random(4630);
        for (int n = 1; n <= 10; ++n) {
            QByteArray bytes(1 + random.bounded(4000), Qt::Uninitialized);
            for (char &c : bytes)
                c = char(random.bounded(256));
            QTest::addRow("random bytes %d", n) << bytes;
        }
        // Values the reader likes (digits, commas, quotes, line breaks, GB2312 words), in
        // random order: often 163 values and more, never a tone of the list in place 2.
        const QList<QByteArray> pieces{",",    ",",  ",",   "1",     "45",       ".", "\"",  " ",
                                       "\r\n", "\n", "add", "D023N", "\xB2\xE2", "-", "Null"};
        for (int n = 1; n <= 10; ++n) {
            QByteArray bytes = "4,"; // this window's own code: the whole file is read
            const int count = 100 + random.bounded(1500);
            for (int i = 0; i < count; ++i)
                bytes += pieces.at(random.bounded(int(pieces.size())));
            QTest::addRow("random values %d", n) << bytes;
        }
        const QByteArray good = savedFile();
        // The bad bytes take the place of a scan value of the sample table.
        QVERIFY(good.contains(",add,"));
        const struct {
            const char *name;
            QByteArray replacement;
        } notGb2312[] = {{"0xFF 0xFF", "\xFF\xFF"},
                         {"lead byte before a comma", "\xB0"},
                         {"lead byte then ASCII", "\xB0\x41"}};
        for (const auto &bad : notGb2312) {
            QByteArray bytes = good;
            bytes.replace(QByteArray(",add,"), "," + bad.replacement + ",");
            QTest::addRow("not GB2312: %s", bad.name) << bytes;
        }
        QTest::newRow("not GB2312: lead byte at the end") << good + "\xB0";
        QByteArray tone = good;
        tone.replace("\xD3\xA2\xCE\xC4", "\xD3\xA2");
        QTest::newRow("channel tone cut in half") << tone;
        QByteArray otherTone = good;
        otherTone.replace("\xD3\xA2\xCE\xC4", "tone");
        QTest::newRow("channel tone not in its list") << otherTone;
        QByteArray emptyTone = good;
        emptyTone.replace("\xD3\xA2\xCE\xC4", "");
        QTest::newRow("channel tone empty") << emptyTone;
        QByteArray level = good;
        level.replace(",7,", ",10,");
        QTest::newRow("squelch level 10") << level;
    }

    void badFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir->filePath(QStringLiteral("bad.doc"));
        if (bytes != "<none>") {
            const Expected<ChannelFileData> read = readChannelFile(bytes);
            QVERIFY(!read.ok());
            // Random bytes that start with another model's code would switch windows.
            QVERIFY(!modelFromCode(channelFileModelCode(bytes)) ||
                    *modelFromCode(channelFileModelCode(bytes)) == Model::V);
            QVERIFY(test::writeFileBytes(path, bytes));
        }
        openRefused(path);
    }

    // A file cut after any value, or anywhere inside one, is refused whole. Only the final
    // comma may be missing: the last value ends with the file.
    void fileCutAnywhereChangesNothing()
    {
        const QByteArray whole = savedFile();
        for (qsizetype size = 0; size < whole.size() - 1; ++size) {
            const Expected<ChannelFileData> read = readChannelFile(whole.left(size));
            QVERIFY2(!read.ok(), qPrintable(QString::number(size)));
            // Cut after a whole value, the file still names its model.
            if (size == 0 || whole.at(size - 1) == ',')
                QCOMPARE(channelFileModelCode(whole.left(size)),
                         size == 0 ? QString() : QStringLiteral("4"));
        }
        QVERIFY(readChannelFile(whole.left(whole.size() - 1)).ok());

        const QString path = m_dir->filePath(QStringLiteral("cut.doc"));
        int cuts = 0;
        for (qsizetype size = 0; size < whole.size(); ++size) {
            if (size > 0 && whole.at(size - 1) != ',')
                continue;
            QVERIFY(test::writeFileBytes(path, whole.left(size)));
            openRefused(path);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("cut after %1 bytes").arg(size)));
            ++cuts;
        }
        QCOMPARE(cuts, channelFileValueCount);
        qInfo("%lld cuts read, %d of them opened in the window", qlonglong(whole.size()), cuts);
    }

    // 100 MB (a sparse file) is refused after reading one byte past the bound of 64 KiB.
    void hugeFileIsRefusedQuicklyInBoundedMemory()
    {
        const QString path = m_dir->filePath(QStringLiteral("huge.doc"));
        constexpr qint64 hugeSize = 100 * 1024 * 1024;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(savedFile());
        // Warmed up by the same file one byte past the bound, refused the same way: what the
        // first refusal sets up once (file dialog, message box, fonts) is behind, whether other
        // tests ran before or not; so is what the main window draws just after its first paint.
        QTRY_VERIFY(!m_main->portStatusBar()->radioLabel()->text().isEmpty());
        QVERIFY(file.resize(maxChannelFileSize + 1));
        openRefused(path);
        QVERIFY(file.resize(hugeSize));
        file.close();
        QCOMPARE(QFileInfo(path).size(), hugeSize);
        const long peakBefore = peakMemoryKiB();
        QElapsedTimer clock;
        clock.start();
        openRefused(path);
        const qint64 elapsed = clock.elapsed();
        const long grownKiB = peakMemoryKiB() - peakBefore;
        qInfo("100 MB file refused in %lld ms; peak memory grew by %ld KiB", elapsed, grownKiB);
        QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
        QVERIFY2(grownKiB < 8 * 1024, qPrintable(QString::number(grownKiB)));
    }

    // A folder's name takes the dialog into the folder; nothing is read or written.
    void folderIsNeitherReadNorWritten_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("open") << false;
        QTest::newRow("save") << true;
    }

    void folderIsNeitherReadNorWritten()
    {
        QFETCH(bool, save);
        const QString folder = m_dir->filePath(QStringLiteral("folder.doc"));
        QVERIFY(QDir().mkdir(folder));
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(folder);
        (save ? m_window->saveAction() : m_window->openAction())->trigger();
        QVERIFY(dialog.answered);
        QVERIFY(dialog.stayedOpen);
        QCOMPARE(messages.count(), 0);
        QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        verifyUnchanged();
    }

    // A FIFO is never waited on: opened as a channel file or imported as CSV it is refused at
    // once with the unreadable-file message; saved onto, it is refused and stays a FIFO.
    void fifoIsRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("open") << "open";
        QTest::newRow("CSV import") << "import";
        QTest::newRow("save") << "save";
    }

    void fifoIsRefusedAtOnce()
    {
        QFETCH(QString, action);
        const QString path = m_dir->filePath(QStringLiteral("pipe.doc"));
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        if (action == QLatin1String("open")) {
            openRefused(path);
        } else if (action == QLatin1String("import")) {
            MessageBoxAnswerer messages;
            m_window->findChild<CsvActions *>()->importFile(path);
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.seen().at(0).text,
                     QStringLiteral("无法读取 CSV 文件 %1，信道数据没有改变。")
                         .arg(QDir::toNativeSeparators(path)));
            verifyUnchanged();
        } else {
            MessageBoxAnswerer messages;
            FileDialogAnswerer dialog(path);
            m_window->saveAction()->trigger();
            QVERIFY(dialog.answered);
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.seen().at(0).text, unsavedText(path, QStringLiteral("不是普通文件")));
            verifyUnchanged();
        }
        struct stat status {
        };
        QVERIFY(stat(QFile::encodeName(path).constData(), &status) == 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    }

    // A name typed with double quotes is saved under exactly that name; so is a name of the
    // longest length the system allows (its temporary name beside it stays within the limit).
    // A name longer than that is refused with the system's reason, not ignored by the dialog.
    void savedUnderTheNameAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason"); // of the failure; empty when the save works
        QTest::newRow("double quotes") << QStringLiteral("100% \"x\" 'y'.doc") << QString();
        QTest::newRow("255 bytes") << QString(251, u'n') + QStringLiteral(".doc") << QString();
        QTest::newRow("255 bytes of Chinese")
            << QString(83, u'信') + QStringLiteral("xx.doc") << QString();
        QTest::newRow("257 bytes")
            << QString(253, u'n') + QStringLiteral(".doc") << qt_error_string(ENAMETOOLONG);
    }

    void savedUnderTheNameAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString path = m_dir->filePath(name);
        const QStringList before = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        m_window->saveAction()->trigger();
        QVERIFY(dialog.answered);
        QVERIFY(!dialog.stayedOpen);
        if (!reason.isEmpty()) {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.seen().at(0).text, unsavedText(path, reason));
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
            return;
        }
        QCOMPARE(messages.count(), 0);
        QVERIFY(readChannelFile(test::fileBytes(path)).ok());
        QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("x"))));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(),
                 before.size() + 1);
    }

    // Qt's own listing leaves out a name whose bytes are not UTF-8: the dialog lists it below
    // its own list, and choosing it there opens that file. Typed with U+FFFD in place of those
    // bytes, the file chosen is the one of that name, and a name two files are listed under is
    // refused, not guessed.
    void listedNameThatIsNotUtf8OpensThatFile_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("twin");    // another file listed under the same name
        QTest::addColumn<QStringList>("inList"); // the dialog's list; empty: the name typed
        QTest::newRow("Latin-1") << QByteArray("\xe9t\xe9.doc") << QByteArray() << QStringList();
        QTest::newRow("GBK") << QByteArray("\xb2\xe2\xca\xd4.doc") << QByteArray() << QStringList();
        QTest::newRow("two files listed alike")
            << QByteArray("\xe9t\xe9.doc") << QByteArray("\xe8t\xe8.doc") << QStringList();
        // Shown as GBK where the bytes are GBK, else as Latin-1; the chosen file is the first.
        QTest::newRow("GBK, chosen from the list")
            << QByteArray("\xb2\xe2\xca\xd4.doc") << QByteArray("\xe8t\xe8.txt")
            << QStringList{QStringLiteral("测试.doc")};
        QTest::newRow("two Latin-1 names, chosen from the list")
            << QByteArray("\xe9t\xe9.doc") << QByteArray("\xe8t\xe8.doc")
            << QStringList{QStringLiteral("ètè.doc"), QStringLiteral("été.doc")};
    }

    void listedNameThatIsNotUtf8OpensThatFile()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, twin);
        QFETCH(QStringList, inList);
        const QByteArray folder = QFile::encodeName(m_dir->path()) + '/';
        for (const QByteArray &file : {name, twin}) {
            if (file.isEmpty())
                continue;
            const int fd = ::open((folder + file).constData(), O_WRONLY | O_CREAT, 0644);
            QVERIFY(fd >= 0);
            const QByteArray bytes = savedFile();
            QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(fd);
        }
        // Qt's own removal of the folder would miss them.
        const struct Remove {
            QByteArray name, twin;
            ~Remove()
            {
                ::unlink(name.constData());
                ::unlink(twin.constData());
            }
        } remove{folder + name, folder + twin};
        const QString listed = m_dir->filePath(QString::fromUtf8(name));
        QVERIFY(listed.contains(QChar::ReplacementCharacter));
        if (!inList.isEmpty()) {
            const test::ExpectedDialog expected(QFileDialog::staticMetaObject);
            QStringList shown;
            bool answered = false;
            QTimer poll;
            poll.setInterval(10);
            connect(&poll, &QTimer::timeout, this, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                poll.stop();
                answered = true;
                auto *list = dialog->findChild<QListWidget *>(QStringLiteral("filesNotListed"));
                dialog->setDirectory(m_dir->path());
                if (!list) {
                    dialog->reject();
                    return;
                }
                for (int row = 0; row < list->count(); ++row)
                    shown << list->item(row)->text();
                if (list->count() > 0)
                    emit list->itemActivated(list->item(0));
                else
                    dialog->reject();
            });
            poll.start();
            MessageBoxAnswerer messages;
            m_window->openAction()->trigger();
            QVERIFY(answered);
            QCOMPARE(shown, inList);
            QCOMPARE(messages.count(), 0);
            QCOMPARE(m_window->squelchList()->currentText(), QStringLiteral("7"));
            QCOMPARE(m_window->channelToneList()->currentText(), QStringLiteral("英文"));
            return;
        }
        if (!twin.isEmpty()) {
            openRefused(listed);
            return;
        }
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(listed);
        m_window->openAction()->trigger();
        QVERIFY(dialog.answered);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(m_window->squelchList()->currentText(), QStringLiteral("7"));
        QCOMPARE(m_window->channelToneList()->currentText(), QStringLiteral("英文"));
    }

    void unreadableFileChangesNothing()
    {
        const QString path = m_dir->filePath(QStringLiteral("secret.doc"));
        QVERIFY(test::writeFileBytes(path, savedFile()));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        // Root reads any file: the open then runs as the user "nobody", who may enter the
        // folder but not read the file.
        struct Identity {
            bool dropped = false;
            ~Identity()
            {
                if (dropped && seteuid(0) != 0)
                    qFatal("cannot return to root");
            }
        } identity;
        if (geteuid() == 0) {
            QVERIFY(QFile::setPermissions(m_dir->path(),
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                              QFileDevice::ExeGroup));
            if (seteuid(65534) != 0)
                QSKIP("running as root and cannot take another user's identity");
            identity.dropped = true;
        }
        QVERIFY(!QFile(path).open(QIODevice::ReadOnly));
        openRefused(path);
    }

    void saveOntoFullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("smallFileSystem"); // else a file-size limit on this process
        QTest::addColumn<QString>("reason");
        QTest::newRow("file-size limit") << false << qt_error_string(EFBIG);
        QTest::newRow("full file system") << true << qt_error_string(ENOSPC);
    }

    void saveOntoFullDiskKeepsTheOldFile()
    {
        QFETCH(bool, smallFileSystem);
        QFETCH(QString, reason);
        QString folder = m_dir->path();
        struct Unmount {
            QString path;
            ~Unmount()
            {
                if (!path.isEmpty())
                    umount2(QFile::encodeName(path).constData(), MNT_DETACH);
            }
        } unmount;
        if (smallFileSystem) {
            folder = m_dir->filePath(QStringLiteral("small"));
            QVERIFY(QDir().mkdir(folder));
            if (mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=16k") != 0)
                QSKIP("cannot mount a small file system here (needs root)");
            unmount.path = folder;
        }
        const QString path = folder + QStringLiteral("/old.doc");
        QVERIFY(test::writeFileBytes(path, "old contents"));
        if (smallFileSystem) {
            // Fill what is left.
            QFile filler(folder + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray chunk(512, 'x');
            while (filler.write(chunk) == chunk.size()) {
            }
        }
        const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);

        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        void (*previousHandler)(int) = SIG_DFL;
        if (!smallFileSystem) {
            // Files may grow to 64 bytes; a longer write fails as on a full disk.
            previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64, previous.rlim_max};
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        m_window->saveAction()->trigger();
        if (!smallFileSystem) {
            setrlimit(RLIMIT_FSIZE, &previous);
            std::signal(SIGXFSZ, previousHandler);
        }
        QVERIFY(dialog.answered);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().at(0).title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen().at(0).text, unsavedText(path, reason));
        QCOMPARE(test::fileBytes(path), QByteArray("old contents"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), entries);
        verifyUnchanged();
    }

private:
    void takeSnapshot()
    {
        m_records = m_window->document()->records();
        m_squelch = m_window->squelchList()->currentText();
        m_tone = m_window->channelToneList()->currentText();
        m_database = test::fileBytes(m_window->document()->path());
    }

    void verifyUnchanged()
    {
        for (int row = 0; row < channelCount; ++row)
            QCOMPARE(m_window->document()->record(row), m_records[std::size_t(row)]);
        QCOMPARE(m_window->squelchList()->currentText(), m_squelch);
        QCOMPARE(m_window->channelToneList()->currentText(), m_tone);
        QCOMPARE(test::fileBytes(m_window->document()->path()), m_database);
        QVERIFY(m_window->openAction()->isEnabled());
        QCOMPARE(QDir::currentPath(), m_dir->path());
    }

    // Opens `path` through the window's file menu: one message, nothing changed.
    void openRefused(const QString &path)
    {
        QSignalSpy replaced(m_window->document(), &ChannelDocument::replaced);
        MessageBoxAnswerer messages;
        FileDialogAnswerer dialog(path);
        m_window->openAction()->trigger();
        QVERIFY(dialog.answered);
        QVERIFY(!dialog.stayedOpen);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.seen().at(0).title, QStringLiteral("系统信息"));
        QCOMPARE(messages.seen().at(0).text, unreadableText(path));
        QCOMPARE(replaced.count(), 0);
        QCOMPARE(m_main->modelWindow(Model::V), m_window);
        verifyUnchanged();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_main;
    ModelWindow *m_window = nullptr;
    ChannelTable m_records;
    QString m_squelch;
    QString m_tone;
    QByteArray m_database;
};

QTEST_MAIN(TestFaultMatrixFiles)
#include "tst_faultmatrix_files.moc"
