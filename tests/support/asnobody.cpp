#include "asnobody.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zw::test
{

QString asNobody(const std::function<QByteArray()> &work)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        int status = 1;
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) {
            const QByteArray text = work();
            status =
                ::write(pipeFds[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 1;
        }
        ::_exit(status);
    }
    ::close(pipeFds[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<child failed>");
    return QString::fromUtf8(text);
}

} // namespace zw::test
