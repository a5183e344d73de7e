#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace zw::test
{

// What `work` returns when run by the unprivileged user "nobody": it runs in a child process
// that has given up root (the tests run as root, whom file permissions do not stop).
// "<child failed>" when the child could not become nobody or send its answer.
QString asNobody(const std::function<QByteArray()> &work);

} // namespace zw::test
