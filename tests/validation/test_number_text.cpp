// SPDX-License-Identifier: MIT
#include "validation/number_text.h"

#include <QLocale>
#include <QTest>

using validation::IsNumeric;
using validation::ToNumber;

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void acceptsPlainDecimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "50" << 50.0;
        QTest::newRow("fraction") << "12.75" << 12.75;
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("plus sign") << "+5" << 5.0;
        QTest::newRow("minus sign") << "-2.5" << -2.5;
        QTest::newRow("blanks around") << "  200  " << 200.0;
        QTest::newRow("blanks before sign") << " -3" << -3.0;
        QTest::newRow("tiny reads as zero") << "0." + QString(400, u'0') + "1" << 0.0;
    }
    void acceptsPlainDecimals() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QVERIFY(IsNumeric(text));
        QCOMPARE(ToNumber(text).value(), value);
    }

    void rejectsEverythingElse_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("letters") << "abc";
        QTest::newRow("trailing letter") << "50mm";
        QTest::newRow("comma decimal") << "1,5";
        QTest::newRow("grouping") << "1,000";
        QTest::newRow("exponent") << "1e3";
        QTest::newRow("hex") << "0x10";
        QTest::newRow("currency") << "$5";
        QTest::newRow("inner blank") << "1 000";
        QTest::newRow("blank after sign") << "- 5";
        QTest::newRow("sign only") << "-";
        QTest::newRow("two signs") << "+-5";
        QTest::newRow("no digit before point") << ".5";
        QTest::newRow("no digit after point") << "5.";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("tab") << "\t5";
        QTest::newRow("line break") << "5\r\n";
        QTest::newRow("full-width digits") << QStringLiteral("５０");
        QTest::newRow("arabic-indic digits") << QStringLiteral("٥٠");
        QTest::newRow("infinity") << "inf";
        QTest::newRow("not a number") << "nan";
        QTest::newRow("too large for a double") << "1" + QString(400, u'0');
    }
    void rejectsEverythingElse() {
        QFETCH(QString, text);
        QVERIFY(!IsNumeric(text));
        QVERIFY(!ToNumber(text).has_value());
    }

    // The stroke goes into SQL and a command line as typed, so the reading
    // must not follow the user's locale.
    void ignoresTheLocale() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const bool commaAccepted = IsNumeric("1,5");
        const std::optional<double> pointValue = ToNumber("1.5");
        QLocale::setDefault(saved);
        QVERIFY(!commaAccepted);
        QCOMPARE(pointValue.value(), 1.5);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
