#include "modelinfo.h"

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
namespace
{

// A source file as its reader sees it: a manual page's "\-" as "-" and without font changes,
// line breaks and indentation as single blanks.
QString readerText(const QString &file)
{
    QFile source(QStringLiteral(ZW_SOURCE_DIR "/") + file);
    if (!source.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(source.fileName()));
    return QString::fromUtf8(source.readAll())
        .replace(QRegularExpression(QStringLiteral("\\\\f[BIRP]")), QString())
        .replace(QStringLiteral("\\-"), QStringLiteral("-"))
        .simplified();
}

// zw4630-cli --help: the commands of its table, then its table of exit statuses.
QString toolHelp()
{
    QProcess tool;
    tool.start(QStringLiteral(ZW_CLI_PATH), {QStringLiteral("--help")});
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList toolCommands()
{
    const QString list =
        toolHelp().section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList commands;
    static const QRegularExpression line(QStringLiteral("^  (\\S+)  "),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(list); it.hasNext();)
        commands << it.next().captured(1);
    return commands;
}

} // namespace

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
        for (const QString &command : toolCommands())
            QTest::newRow(qPrintable(command)) << cli << QStringList{command, "--help"} << cliFiles;
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

    // What the tables hold, each list outside the code holds too, in the form it uses: every
    // command of the tool (a paragraph of the manual page, a first word and a case of the
    // completion, a row of the README), every exit status of its table (an entry of the manual
    // page's EXIT STATUS, naming the command whose own status it is), and every model of the
    // model table. A model added to the table fails here, named, until each list has it.
    void listsHoldWhatTheTablesHold_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern"); // a regular expression, on the reader's text
        const QString manual = QStringLiteral("packaging/zw4630-cli.1");
        const QString completion = QStringLiteral("packaging/zw4630-cli.bash-completion");
        const auto row = [](const QString &file, const QString &what, const QString &pattern) {
            QTest::addRow("%s: %s", qPrintable(file), qPrintable(what)) << file << pattern;
        };
        for (const QString &command : toolCommands()) {
            const QString word = QRegularExpression::escape(command) + QStringLiteral("(?![\\w-])");
            row(manual, command, QStringLiteral("\\.TP ") + word);
            row(completion, command, QStringLiteral("cword == 1.*?compgen -W '[^']*\\b") + word);
            row(completion, command + QStringLiteral(" options"),
                QStringLiteral(" ") + word + QStringLiteral("\\) options="));
            row(QStringLiteral("README.md"), command, QStringLiteral("\\| `") + word);
        }
        static const QRegularExpression heading(QStringLiteral("^Exit status(?: of (\\S+))?:$"));
        static const QRegularExpression entry(QStringLiteral("^  (\\d+)  \\S"));
        QString command;
        for (const QString &line : toolHelp().split(u'\n')) {
            if (const QRegularExpressionMatch m = heading.match(line); m.hasMatch())
                command = m.captured(1);
            else if (const QRegularExpressionMatch m = entry.match(line); m.hasMatch())
                row(manual, QStringLiteral("exit status %1 %2").arg(m.captured(1), command),
                    QStringLiteral("EXIT STATUS.*\\.TP \\.B %1 (?:(?!\\.TP|\\.PP).)*%2")
                        .arg(m.captured(1), command));
        }
        const QString names =
            zw::spokenList(zw::modelTexts(&zw::ModelInfo::name), QStringLiteral("and"));
        const QString shortNames =
            zw::spokenList(zw::modelTexts(&zw::ModelInfo::shortName), QStringLiteral("or"));
        const auto literal = [](const QString &text) { return QRegularExpression::escape(text); };
        // The lists that name every model in one sentence.
        for (const QString &file :
             {QStringLiteral("packaging/zw4630.1"), QStringLiteral("packaging/zw4630.metainfo.xml"),
              QStringLiteral("CMakeLists.txt")})
            row(file, QStringLiteral("every model"), literal(names));
        row(QStringLiteral("packaging/zw4630.1"), QStringLiteral("every short name"),
            literal(QStringLiteral("(%1)").arg(shortNames)));
        row(manual, QStringLiteral("every short name"),
            literal(QStringLiteral("The radio's model: %1.").arg(shortNames)));
        for (zw::Model model : zw::allModels) {
            const zw::ModelInfo &info = zw::modelInfo(model);
            const QString band =
                QStringLiteral("%1 to %2 MHz").arg(info.band.bandLow).arg(info.band.bandHigh);
            row(manual, info.name,
                literal(QStringLiteral(".B %1 (%2, %3)").arg(info.shortName, info.name, band)));
            row(completion, info.shortName,
                QStringLiteral("--model\\) COMPREPLY=\\(\\$\\(compgen -W '[^']*\\b%1\\b")
                    .arg(info.shortName));
            row(QStringLiteral("README.md"), info.name,
                literal(QStringLiteral("| `%1` | `%2` | %3 | %4 | `%5` | %6 W / %7 W |")
                            .arg(info.name, info.shortName, band, info.code, info.databaseFile)
                            .arg(info.highPowerWatts, 0, 'f', 1)
                            .arg(info.lowPowerWatts, 0, 'f', 1)));
        }
    }

    void listsHoldWhatTheTablesHold()
    {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        QVERIFY2(readerText(file).contains(QRegularExpression(pattern)),
                 qPrintable(file + QStringLiteral(" lacks ") + pattern));
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
