#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

namespace zw
{

// The one way the libraries report how an operation went: success (with its value, for an
// Expected), or the reason it failed. The window or the command line decides how to show it.

// What another program changed in the model database since this one last saw it, when that is
// why a change was refused: the channels (1..16) and whether the radio-wide settings.
struct ChangedElsewhere {
    QList<int> channels;
    bool settings = false;
};

// Why an operation failed; converts to a failed Result or Expected of any type.
struct Failure {
    QString why;
    std::optional<ChangedElsewhere> changedElsewhere = std::nullopt;
};

class Result
{
public:
    Result() = default; // success
    Result(Failure failure) : m_failed(true), m_failure(std::move(failure)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty on success.
    const QString &error() const { return m_failure.why; }
    const Failure &failure() const { return m_failure; }

private:
    bool m_failed = false;
    Failure m_failure;
};

template <typename T> class [[nodiscard]] Expected
{
public:
    Expected(T value) : m_value(std::move(value)) {}
    Expected(Failure failure) : m_error(std::move(failure.why)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // The value. Asked of a failure, it stops the program with the failure's reason, in every
    // build: going on without the value would only fail later, further from the cause.
    const T &value() const
    {
        if (!m_value)
            valueOfFailure();
        return *m_value;
    }
    T &value()
    {
        if (!m_value)
            valueOfFailure();
        return *m_value;
    }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    // Why it failed; empty on success.
    const QString &error() const { return m_error; }

private:
    [[noreturn]] void valueOfFailure() const
    {
        qFatal("value() of a failed operation: %s", qUtf8Printable(m_error));
    }

    std::optional<T> m_value;
    QString m_error;
};

} // namespace zw
