#pragma once

#include <QString>

namespace zw::cli
{

// Exit statuses of the commands (what each means to each command: the tool's exit table).
enum ExitStatus : int {
    Success = 0,
    Failed = 1,       // the operation failed: the message says what to check
    BadUsage = 2,     // the command line, or a file it names, cannot be taken
    RadioNotRead = 4, // diff: the radio could not be read
};

// Text for the user: results on standard output, messages on standard error, both UTF-8.
void printOut(const QString &text);
void printError(const QString &text);

// A message on standard error, prefixed with the tool's name, ending the line.
void report(const QString &message);

// A bar on standard error that redraws itself in place: "reading [#####-----] 9/18". When
// standard error is no terminal, only the finished bar is written.
class ProgressBar final
{
public:
    explicit ProgressBar(const QString &label) : m_label(label) {}
    void update(int done, int total);
    // Ends the bar's line, if one was drawn.
    void finish();

private:
    QString m_label;
    bool m_drawn = false;
};

} // namespace zw::cli
