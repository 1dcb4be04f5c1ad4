// SPDX-License-Identifier: MIT
#include "validation/stroke_range.h"

#include <QTest>

using validation::StrokeInRange;

class TestStrokeRange : public QObject {
    Q_OBJECT

private slots:
    void judgesStrokes_data() {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("stroke");
        QTest::addColumn<bool>("admitted");

        QTest::newRow("empty range, number") << "" << "123" << true;
        QTest::newRow("empty range, any text") << "" << "abc" << true;

        QTest::newRow("lower bound inclusive") << "10-50" << "10" << true;
        QTest::newRow("upper bound inclusive") << "10-50" << "50" << true;
        QTest::newRow("inside") << "10-50" << "25.5" << true;
        QTest::newRow("just below") << "10-50" << "9.5" << false;
        QTest::newRow("just above") << "10-50" << "50.5" << false;
        QTest::newRow("range compares numbers, not text") << "10-50" << "010.0" << true;
        QTest::newRow("range with blanks around the stroke") << "10-50" << " 20 " << true;
        QTest::newRow("fractional bounds") << "0.5-1.5" << "1.5" << true;

        QTest::newRow("second line range") << "10-50\r\n60-100" << "70" << true;
        QTest::newRow("between two ranges") << "10-50\r\n60-100" << "55" << false;
        QTest::newRow("bare LF") << "10-50\n60-100" << "100" << true;
        QTest::newRow("bare CR") << "10-50\r60-100" << "60" << true;

        QTest::newRow("single value") << "150;200" << "200" << true;
        QTest::newRow("first single value") << "150;200" << "150" << true;
        QTest::newRow("single value as text, not number") << "150;200" << "200.0" << false;
        QTest::newRow("single value, leading blank") << "150;200" << " 200" << false;
        QTest::newRow("single value, trailing blank") << "150;200" << "200 " << false;
        QTest::newRow("single value not listed") << "150;200" << "175" << false;
        QTest::newRow("lone single value") << "80" << "80" << true;

        QTest::newRow("mixed, single value") << "10-50\r\n80" << "80" << true;
        QTest::newRow("mixed, range") << "10-50\r\n80" << "30" << true;
        QTest::newRow("mixed, neither") << "10-50\r\n80" << "60" << false;
        QTest::newRow("values then range") << "25;50-300" << "300" << true;
        QTest::newRow("empty pieces carry nothing") << ";;\r\n\r\n" << "" << false;
        QTest::newRow("empty stroke never equals a value") << "150;200" << "" << false;

        // Bounds that do not read as numbers admit nothing.
        QTest::newRow("null lower bound") << "-500" << "100" << false;
        QTest::newRow("negative lower bound") << "-10-50" << "0" << false;
        QTest::newRow("stroke not a number") << "10-50" << "abc" << false;
        QTest::newRow("empty stroke in a range") << "10-50" << "" << false;
        QTest::newRow("missing upper bound") << "10-" << "20" << false;
        QTest::newRow("bad piece does not stop the search") << "-500\r\n10-50" << "20" << true;
        QTest::newRow("upper bound stops at a second dash") << "10-50-90" << "70" << false;
        QTest::newRow("third part ignored") << "10-50-90" << "40" << true;
    }
    void judgesStrokes() {
        QFETCH(QString, range);
        QFETCH(QString, stroke);
        QFETCH(bool, admitted);
        QCOMPARE(StrokeInRange(range, stroke), admitted);
    }
};

QTEST_APPLESS_MAIN(TestStrokeRange)
#include "test_stroke_range.moc"
