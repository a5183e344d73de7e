// Test helper: opens (or creates) the channel database named on the command line and edits it
// as fast as it can (see support/storeburst.h), printing the number of each edit on a line of
// its own once the edit is committed. Runs until killed, or until the optional edit count.

#include "storeburst.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s DATABASE [EDITS]\n", argv[0]);
        return 2;
    }
    const int limit = args.size() > 2 ? args.at(2).toInt() : -1;
    zw::ChannelStore store;
    const zw::Expected<zw::ChannelStore::Opened> opened = store.open(args.at(1));
    if (!opened) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(opened.error()));
        return 2;
    }
    for (int edit = 1; limit < 0 || edit <= limit; ++edit) {
        if (!zw::test::applyBurstEdit(store, edit)) {
            std::fprintf(stderr, "edit %d failed: %s\n", edit, qPrintable(store.lastError()));
            return 3;
        }
        std::printf("%d\n", edit);
        std::fflush(stdout);
    }
    return 0;
}
