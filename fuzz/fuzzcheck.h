#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// An invariant of a fuzz target: when it does not hold, say which one and abort, so that
// libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
