#pragma once

#include <QTest>

// HOPSALA_TRY_VERIFY and HOPSALA_TRY_COMPARE as these tests use them: the event loop turns
// until the condition holds, for at most the timeout in milliseconds (five
// seconds unless given), and then the condition is checked as QVERIFY or
// QCOMPARE checks it. Qt's own macros narrow their chrono timeout to int in
// the caller's code since Qt 6.7, which -Wconversion reports at every use.
#define HOPSALA_TRY_VERIFY_WITH_TIMEOUT(condition, timeout) \
    do { \
        static_cast<void>(QTest::qWaitFor([&] { return bool(condition); }, timeout)); \
        QVERIFY(condition); \
    } while (false)
#define HOPSALA_TRY_VERIFY(condition) HOPSALA_TRY_VERIFY_WITH_TIMEOUT(condition, 5000)

#define HOPSALA_TRY_COMPARE_WITH_TIMEOUT(actual, expected, timeout) \
    do { \
        static_cast<void>(QTest::qWaitFor([&] { return (actual) == (expected); }, timeout)); \
        QCOMPARE(actual, expected); \
    } while (false)
#define HOPSALA_TRY_COMPARE(actual, expected) HOPSALA_TRY_COMPARE_WITH_TIMEOUT(actual, expected, 5000)
