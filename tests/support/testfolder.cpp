#include "testfolder.h"

#include <QDir>
#include <QFile>

namespace zw::test
{

std::unique_ptr<QTemporaryDir> enterFreshFolder()
{
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid() || !QDir::setCurrent(dir->path()))
        return nullptr;
    return dir;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace zw::test
