// SPDX-License-Identifier: MIT
#include "validation/check_input.h"

#include <QTest>

using validation::CheckResult;
using validation::CheckStrokeInputs;
using validation::StrokeCheck;
using validation::StrokeInputs;

namespace {

// A complete selection whose single stroke 100 lies in its range.
StrokeInputs Complete() {
    StrokeInputs in;
    in.series = "HQA";
    in.type = "AXN";
    in.bore = "32";
    in.stroke1 = "100";
    in.stroke2 = "0";
    in.stroke2Visible = false;
    in.range1 = "10-500";
    in.range2 = "";
    return in;
}

struct FakeQuery {
    base::Result<bool> answer = false;
    int calls = 0;
    validation::StrokeEntryQuery function() {
        return [this] {
            ++calls;
            return answer;
        };
    }
};

FakeQuery Allowing(bool allowed) {
    FakeQuery query;
    query.answer = allowed;
    return query;
}

std::optional<StrokeCheck> FailedCheck(const CheckResult& result) {
    return result ? std::nullopt : result.failure().check;
}

} // namespace

Q_DECLARE_METATYPE(StrokeInputs)
Q_DECLARE_METATYPE(std::optional<StrokeCheck>)

class TestCheckInput : public QObject {
    Q_OBJECT

private slots:
    void messagesAreExact_data() {
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("text");
        QTest::newRow("A") << int(StrokeCheck::NoSeries) << QStringLiteral("請選擇機種。\r\nPlease select Series");
        QTest::newRow("B") << int(StrokeCheck::NoType) << QStringLiteral("請選擇型式。\r\nPlease select Type");
        QTest::newRow("C") << int(StrokeCheck::NoBore) << QStringLiteral("請選擇內徑。\r\nPlease select Bore");
        QTest::newRow("D") << int(StrokeCheck::NotNonzeroNumber)
                           << QStringLiteral("請輸入非零之數值型態。\r\nPlease Input Nonzero Number");
        QTest::newRow("E") << int(StrokeCheck::FirstStrokeOutOfRange)
                           << QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error");
        QTest::newRow("F") << int(StrokeCheck::SecondStrokeOutOfRange)
                           << QStringLiteral("您所輸入的行程2不符合範圍條件值\r\nInput Error");
    }
    void messagesAreExact() {
        QFETCH(int, check);
        QFETCH(QString, text);
        const messages::MessageBoxRequest box = validation::CheckMessage(StrokeCheck(check));
        QCOMPARE(box.text.toUtf8(), text.toUtf8());
        QCOMPARE(box.title, QStringLiteral("錯誤"));
        QCOMPARE(box.icon, messages::MessageBoxRequest::Icon::Critical);
    }

    void selectionsComeFirst_data() {
        QTest::addColumn<StrokeInputs>("inputs");
        QTest::addColumn<std::optional<StrokeCheck>>("check");

        StrokeInputs nothing;  // also the strokes and ranges are bad
        nothing.stroke1 = "abc";
        QTest::newRow("nothing chosen: only the Series") << nothing << std::optional(StrokeCheck::NoSeries);

        StrokeInputs noType = Complete();
        noType.type.clear();
        noType.bore.clear();
        QTest::newRow("no Type") << noType << std::optional(StrokeCheck::NoType);

        StrokeInputs noBore = Complete();
        noBore.bore.clear();
        noBore.stroke1 = "0";
        QTest::newRow("no Bore") << noBore << std::optional(StrokeCheck::NoBore);
    }
    void selectionsComeFirst() {
        QFETCH(StrokeInputs, inputs);
        QFETCH(std::optional<StrokeCheck>, check);
        FakeQuery query = Allowing(true);
        const CheckResult result = CheckStrokeInputs(inputs, query.function());
        QVERIFY(!result.ok());
        QCOMPARE(FailedCheck(result), check);
        QCOMPARE(result.failure().message.text, validation::CheckMessage(*check).text);
        QCOMPARE(query.calls, 0);  // its query needs all three selections
    }

    void typedStrokes_data() {
        QTest::addColumn<StrokeInputs>("inputs");
        QTest::addColumn<std::optional<StrokeCheck>>("check");
        const std::optional<StrokeCheck> pass;
        const auto D = std::optional(StrokeCheck::NotNonzeroNumber);
        const auto E = std::optional(StrokeCheck::FirstStrokeOutOfRange);
        const auto F = std::optional(StrokeCheck::SecondStrokeOutOfRange);

        auto withStroke = [](const QString& stroke, const QString& range = "10-500") {
            StrokeInputs in = Complete();
            in.stroke1 = stroke;
            in.range1 = range;
            return in;
        };
        auto withSecond = [](const QString& stroke2, const QString& range2, bool visible) {
            StrokeInputs in = Complete();
            in.stroke2 = stroke2;
            in.range2 = range2;
            in.stroke2Visible = visible;
            return in;
        };

        QTest::newRow("in range") << Complete() << pass;
        QTest::newRow("letters") << withStroke("abc") << D;
        QTest::newRow("empty") << withStroke("") << D;
        QTest::newRow("blank") << withStroke("   ") << D;
        QTest::newRow("zero") << withStroke("0") << D;
        QTest::newRow("zero with fraction") << withStroke("0.0") << D;
        QTest::newRow("negative zero") << withStroke("-0") << D;
        QTest::newRow("comma decimal") << withStroke("1,5") << D;
        QTest::newRow("exponent") << withStroke("1e3") << D;
        QTest::newRow("hex") << withStroke("0x10") << D;
        QTest::newRow("currency") << withStroke("$5") << D;
        QTest::newRow("grouped by a blank") << withStroke("1 000") << D;
        // D comes before E even when the range would not admit the stroke.
        QTest::newRow("zero outside range") << withStroke("0", "10-50") << D;

        QTest::newRow("range lower bound") << withStroke("10", "10-50") << pass;
        QTest::newRow("range upper bound") << withStroke("50", "10-50") << pass;
        QTest::newRow("below range") << withStroke("9.5", "10-50") << E;
        QTest::newRow("above range") << withStroke("50.5", "10-50") << E;
        QTest::newRow("second of two ranges") << withStroke("70", "10-50\r\n60-100") << pass;
        QTest::newRow("between two ranges") << withStroke("55", "10-50\r\n60-100") << E;
        QTest::newRow("single value") << withStroke("200", "150;200") << pass;
        QTest::newRow("single value as number") << withStroke("200.0", "150;200") << E;
        QTest::newRow("single value with blank") << withStroke(" 200", "150;200") << E;
        QTest::newRow("mixed, value") << withStroke("80", "10-50\r\n80") << pass;
        QTest::newRow("mixed, neither") << withStroke("60", "10-50\r\n80") << E;
        QTest::newRow("no range rows") << withStroke("12345", "") << pass;

        // Hidden second box: neither its number nor its range is looked at.
        QTest::newRow("hidden second, not a number") << withSecond("abc", "10-50", false) << pass;
        QTest::newRow("hidden second, out of range") << withSecond("5", "10-50", false) << pass;
        // Shown second box.
        QTest::newRow("second in range") << withSecond("20", "10-50", true) << pass;
        QTest::newRow("second not a number") << withSecond("x", "10-50", true) << D;
        QTest::newRow("second zero") << withSecond("0", "10-50", true) << D;
        QTest::newRow("second out of range") << withSecond("60", "10-50", true) << F;
        QTest::newRow("second without range rows") << withSecond("60", "", true) << pass;

        StrokeInputs bothOut = withSecond("60", "10-50", true);
        bothOut.stroke1 = "600";
        QTest::newRow("both out of range: only E") << bothOut << E;

        StrokeInputs secondBadFirstOut = withSecond("x", "10-50", true);
        secondBadFirstOut.stroke1 = "600";
        QTest::newRow("all numbers before any range") << secondBadFirstOut << D;
    }
    void typedStrokes() {
        QFETCH(StrokeInputs, inputs);
        QFETCH(std::optional<StrokeCheck>, check);
        FakeQuery query = Allowing(true);
        const CheckResult result = CheckStrokeInputs(inputs, query.function());
        QCOMPARE(query.calls, 1);
        QCOMPARE(FailedCheck(result), check);
        QCOMPARE(result.ok(), !check.has_value());
        if (result.ok()) {
            QVERIFY(result->strokeEntryAllowed);
        } else {
            QCOMPARE(result.failure().message.text, validation::CheckMessage(*check).text);
        }
    }

    // The locked boxes hold "0" that the user cannot change: nothing about
    // the strokes can be the user's error.
    void fixedStrokesSkipNumbersAndRanges() {
        StrokeInputs in = Complete();
        in.stroke1 = "0";
        in.stroke2 = "0";
        in.stroke2Visible = true;
        in.range1 = "10-50";
        in.range2 = "150;200";
        FakeQuery query = Allowing(false);
        const CheckResult result = CheckStrokeInputs(in, query.function());
        QCOMPARE(query.calls, 1);
        QVERIFY(result.ok());
        QVERIFY(!result->strokeEntryAllowed);
    }

    void unreadableCatalogueDecidesNothing() {
        StrokeInputs in = Complete();
        in.stroke1 = "abc";  // would fail D if the query had answered
        FakeQuery query = Allowing(true);
        query.answer = base::Fail("Table 'Fluid_Main' not found");
        const CheckResult result = CheckStrokeInputs(in, query.function());
        QVERIFY(!result.ok());
        QVERIFY(!result.failure().check);
        const messages::MessageBoxRequest box = result.failure().message;
        QCOMPARE(box.text, QStringLiteral("讀取型錄資料失敗\r\nCannot read the catalogue: Table 'Fluid_Main' not found"));
        QCOMPARE(box.title, QStringLiteral("錯誤"));
        QCOMPARE(box.icon, messages::MessageBoxRequest::Icon::Critical);
    }
};

QTEST_APPLESS_MAIN(TestCheckInput)
#include "test_check_input.moc"
