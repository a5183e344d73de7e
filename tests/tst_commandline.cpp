#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The program answers --help and --version before it starts its windows, so they work where
// there is no display at all (a terminal over ssh, a build machine). The manual pages and the
// bash completion name what the two programs' help names; the menu entry's --in-documents
// starts the program in the documents folder.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        const QString version = QStringLiteral("ZW4630 B1.3\n");
        QTest::newRow("--version") << QStringList{"--version"} << version;
        QTest::newRow("-v") << QStringList{"-v"} << version;
        QTest::newRow("--help") << QStringList{"--help"} << QStringLiteral("--com1 <DEVICE>");
        QTest::newRow("-h") << QStringList{"-h"} << QStringLiteral("--com2 <DEVICE>");
        QTest::newRow("after a port") << QStringList{"--com1", "/dev/null", "--version"} << version;
        QTest::newRow("after a Qt option")
            << QStringList{"-platform", "xcb", "--help"} << QStringLiteral("Usage: ");
    }

    void helpAndVersionNeedNoDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZW_APP_PATH), arguments);
        QVERIFY(program.waitForFinished(60000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 0, qPrintable(err));
        QVERIFY2(out.contains(answer), qPrintable(out));
        if (answer.endsWith(u'\n'))
            QCOMPARE(out, answer); // the version alone
    }

    // Every option a help text names, and the command it describes, are in each file of the row
    // (sources of the package, in packaging/): a new option must not go undocumented.
    void helpAgreesWithManualAndCompletion_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        const QString app = QStringLiteral(ZW_APP_PATH);
        const QString cli = QStringLiteral(ZW_CLI_PATH);
        const QStringList cliFiles{"zw4630-cli.1", "zw4630-cli.bash-completion"};
        QTest::newRow("zw4630 --help") << app << QStringList{"--help"} << QStringList{"zw4630.1"};
        QTest::newRow("zw4630-cli --help") << cli << QStringList{"--help"} << cliFiles;
        QTest::newRow("zw4630-cli help") << cli << QStringList{"help"} << cliFiles;
        for (const char *command :
             {"read", "write", "diff", "show", "export-csv", "import-csv", "ports"})
            QTest::newRow(command) << cli << QStringList{command, "--help"} << cliFiles;
    }

    void helpAgreesWithManualAndCompletion()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QProcess process;
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromUtf8(process.readAllStandardOutput());
        QStringList names = arguments.filter(QRegularExpression(QStringLiteral("^[a-z]")));
        static const QRegularExpression option(
            QStringLiteral("(?:^|[\\s\\[(,|])(--?[a-z][\\w-]*)"));
        for (auto it = option.globalMatch(help); it.hasNext();)
            names << it.next().captured(1);
        names.removeDuplicates();
        if (help.contains(QLatin1String(" --help")))
            QVERIFY(names.contains(QStringLiteral("--help"))); // the options are found at all
        for (const QString &file : files) {
            QFile source(QStringLiteral(ZW_PACKAGING_DIR "/") + file);
            QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(source.fileName()));
            // A manual page writes "\-\-port" and "\fB\-o\fR": read it as the reader sees it.
            const QString text =
                QString::fromUtf8(source.readAll())
                    .replace(QRegularExpression(QStringLiteral("\\\\f[BIRP]")), QString())
                    .replace(QStringLiteral("\\-"), QStringLiteral("-"));
            for (const QString &name : names) {
                const QRegularExpression word(QStringLiteral("(?<![\\w-])") +
                                              QRegularExpression::escape(name) +
                                              QStringLiteral("(?![\\w-])"));
                QVERIFY2(text.contains(word), qPrintable(file + QStringLiteral(" lacks ") + name));
            }
        }
    }

    // The menu entry starts the program with --in-documents: the model databases are kept in the
    // documents folder (XDG_DOCUMENTS_DIR), or in the home folder when that folder is missing.
    // Without the option the program stays in the folder it was started in.
    void inDocumentsChoosesTheWorkingFolder_data()
    {
        QTest::addColumn<bool>("inDocuments");
        QTest::addColumn<bool>("documentsExist");
        QTest::addColumn<QString>("expected"); // below the test's temporary folder
        QTest::newRow("documents folder") << true << true << QStringLiteral("home/Papers");
        QTest::newRow("no documents folder") << true << false << QStringLiteral("home");
        QTest::newRow("without the option") << false << true << QStringLiteral("started here");
    }

    void inDocumentsChoosesTheWorkingFolder()
    {
        QFETCH(bool, inDocuments);
        QFETCH(bool, documentsExist);
        QFETCH(QString, expected);
        if (!QFileInfo(QStringLiteral("/proc/self/cwd")).isSymLink())
            QSKIP("no /proc/PID/cwd to see the program's working folder");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString home = dir.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home + QStringLiteral("/.config")));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("started here"))));
        if (documentsExist)
            QVERIFY(QDir().mkpath(home + QStringLiteral("/Papers")));
        QFile userDirs(home + QStringLiteral("/.config/user-dirs.dirs"));
        QVERIFY(userDirs.open(QIODevice::WriteOnly));
        userDirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
        userDirs.close();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.filePath(QStringLiteral("started here")));
        // A device that cannot be a port: the program's own start-up message about it does not
        // matter here, the folder is chosen before any window.
        QStringList arguments{"--com1", dir.filePath(QStringLiteral("no port"))};
        if (inDocuments)
            arguments << QStringLiteral("--in-documents");
        program.start(QStringLiteral(ZW_APP_PATH), arguments);
        QVERIFY(program.waitForStarted(10000));
        const QString cwd = QStringLiteral("/proc/%1/cwd").arg(program.processId());
        const QString want = QFileInfo(dir.filePath(expected)).canonicalFilePath();
        // The folder changes once the command line is read: wait for that, not for a window.
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(cwd).symLinkTarget(), want, 15000);
        if (!inDocuments)
            QTest::qWait(1000); // it would have moved by now
        QCOMPARE(QFileInfo(cwd).symLinkTarget(), want);
        program.kill();
        program.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
