#pragma once

#include <QString>
#include <QtTest>

// Verifies that a Result or an Expected holds a success; otherwise the test fails with the
// expression and the reason the failure carries (QVERIFY alone would say only "false").
#define ZW_VERIFY_OK(expression)                                                                   \
    do {                                                                                           \
        const auto &zwOutcome_ = (expression);                                                     \
        QVERIFY2(zwOutcome_.ok(),                                                                  \
                 qPrintable(QStringLiteral(#expression " failed: ") + zwOutcome_.error()));        \
    } while (false)
