// Test helper: opens (or creates) the channel database named on the command line and edits it
// as fast as it can (see support/storeburst.h), printing the number of each edit on a line of
// its own once the edit is committed. Runs until killed, or until the optional edit count.
// With --hold DATABASE MS it plays another program instead: it keeps the database locked
// exclusively for MS milliseconds, printing "locked" once the lock is taken.

#include "storeburst.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s DATABASE [EDITS]\n", argv[0]);
        return 2;
    }
    if (args.at(1) == QLatin1String("--hold") && args.size() == 4) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
            db.setDatabaseName(args.at(2));
            QSqlQuery query(db);
            if (!db.open() || !query.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
                std::fprintf(stderr, "cannot lock %s\n", qPrintable(args.at(2)));
                return 2;
            }
            std::printf("locked\n");
            std::fflush(stdout);
            QThread::msleep(args.at(3).toULong());
            query.exec(QStringLiteral("COMMIT"));
        }
        return 0;
    }
    const int limit = args.size() > 2 ? args.at(2).toInt() : -1;
    zw::ChannelStore store;
    const zw::Expected<zw::ChannelStore::Opened> opened = store.open(args.at(1));
    if (!opened) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(opened.error()));
        return 2;
    }
    for (int edit = 1; limit < 0 || edit <= limit; ++edit) {
        const zw::Result applied = zw::test::applyBurstEdit(store, edit);
        if (!applied) {
            std::fprintf(stderr, "edit %d failed: %s\n", edit, qPrintable(applied.error()));
            return 3;
        }
        std::printf("%d\n", edit);
        std::fflush(stdout);
    }
    return 0;
}
