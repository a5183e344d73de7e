#pragma once

#include <QMetaObject>

namespace zw::test
{

// Every test program is linked with a guard against modal dialogs nobody answers: a modal
// dialog that opens while no answerer of its kind waits for it fails the running test at once,
// with the dialog's title and text, and is closed (rejected), so the test goes on to its end
// instead of hanging until ctest's time-out.
//
// An answerer holds an ExpectedDialog for as long as it will answer dialogs of its kind (the
// class of the dialog, or one it derives from).
class ExpectedDialog final
{
public:
    explicit ExpectedDialog(const QMetaObject &kind);
    ~ExpectedDialog();
    ExpectedDialog(const ExpectedDialog &) = delete;
    ExpectedDialog &operator=(const ExpectedDialog &) = delete;

private:
    const QMetaObject *m_kind;
};

} // namespace zw::test
