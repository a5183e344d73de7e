#include "savefile.h"

#include <QSaveFile>

namespace zw
{

Result saveWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    // The buffer is flushed and checked before commit(): commit() alone reports success after
    // a failed flush (a full disk), and would put a cut or empty file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Failure{why.isEmpty() ? QStringLiteral("the file could not be written whole") : why};
    }
    return {};
}

} // namespace zw
