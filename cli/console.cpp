#include "console.h"

#include "filenames.h"

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zw::cli
{

namespace
{

void print(std::FILE *stream, const QString &text)
{
    // A file name in a message is written as the bytes it has, UTF-8 or not.
    const QByteArray bytes = fileNameBytes(text);
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void printOut(const QString &text)
{
    print(stdout, text);
}

void printError(const QString &text)
{
    print(stderr, text);
}

void report(const QString &message)
{
    printError(QStringLiteral("zw4630-cli: ") + message + QLatin1Char('\n'));
}

void ProgressBar::update(int done, int total)
{
    // Into a log or a pipe only the finished bar goes: redrawing there leaves a long line.
#ifdef Q_OS_UNIX
    static const bool terminal = ::isatty(fileno(stderr)) != 0;
#else
    static const bool terminal = true;
#endif
    if (!terminal && done < total)
        return;
    constexpr int width = 30;
    const int filled = total > 0 ? width * done / total : 0;
    printError(QStringLiteral("\r%1 [%2%3] %4/%5")
                   .arg(m_label)
                   .arg(QString(filled, u'#'), QString(width - filled, u'-'))
                   .arg(done)
                   .arg(total));
    m_drawn = true;
}

void ProgressBar::finish()
{
    if (m_drawn)
        printError(QStringLiteral("\n"));
    m_drawn = false;
}

} // namespace zw::cli
