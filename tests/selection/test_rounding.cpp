// SPDX-License-Identifier: MIT
#include "selection/rounding.h"

#include <QTest>
#include <limits>

using selection::RoundHalfEven;
using selection::ToInt16;
using selection::ToInt32;

class TestRounding : public QObject {
    Q_OBJECT

private slots:
    void roundsHalfToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("0.5 down") << 0.5 << 0.0;
        QTest::newRow("1.5 up") << 1.5 << 2.0;
        QTest::newRow("2.5 down") << 2.5 << 2.0;
        QTest::newRow("4807.5 up") << 4807.5 << 4808.0;
        QTest::newRow("4792.5 down") << 4792.5 << 4792.0;
        QTest::newRow("-0.5 to zero") << -0.5 << 0.0;
        QTest::newRow("-1.5 down") << -1.5 << -2.0;
        QTest::newRow("-2.5 up") << -2.5 << -2.0;
        QTest::newRow("just below a tie") << 2.4999999 << 2.0;
        QTest::newRow("just above a tie") << 2.5000001 << 3.0;
        QTest::newRow("negative, above a tie") << -2.5000001 << -3.0;
        QTest::newRow("whole") << 7.0 << 7.0;
        QTest::newRow("beyond fractions") << 9007199254740993.0 << 9007199254740993.0;
    }
    void roundsHalfToEven() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(RoundHalfEven(value), rounded);
    }

    void int16Range() {
        QCOMPARE(ToInt16(32767.4), std::optional<qint16>(32767));
        QCOMPARE(ToInt16(32766.5), std::optional<qint16>(32766));
        QCOMPARE(ToInt16(32767.5), std::nullopt);  // goes to the even 32768
        QCOMPARE(ToInt16(-32768.5), std::optional<qint16>(-32768));
        QCOMPARE(ToInt16(-32768.6), std::nullopt);
        QCOMPARE(ToInt16(1e300), std::nullopt);
        QCOMPARE(ToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
        QCOMPARE(ToInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    }

    void int32Range() {
        QCOMPARE(ToInt32(2147483646.5), std::optional<qint32>(2147483646));
        QCOMPARE(ToInt32(2147483647.5), std::nullopt);
        QCOMPARE(ToInt32(-2147483648.5), std::optional<qint32>(-2147483647 - 1));
        QCOMPARE(ToInt32(9615.5), std::optional<qint32>(9616));
        QCOMPARE(ToInt32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestRounding)
#include "test_rounding.moc"
