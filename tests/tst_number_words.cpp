#include "words/number_words.h"

#include <QTest>
#include <limits>

namespace
{
constexpr qint64 scale = 10'000;
}

class TestNumberWords : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumbers_data();
    void wholeNumbers();
    void belowOneAndFractions_data();
    void belowOneAndFractions();
    void beyondBillions_data();
    void beyondBillions();
    void wordTableShape();
    void formsHoldUpToAMillion();
    void parseGoodText_data();
    void parseGoodText();
    void parseBadText_data();
    void parseBadText();
};

void TestNumberWords::wholeNumbers_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("words");
    const auto row = [](const char *name, qint64 value, const char *words) {
        QTest::newRow(name) << value << QString::fromLatin1(words);
    };

    const QStringList oneToThirty = {
        "uno",         "due",         "tre",        "quattro",  "cinque",      "sei",
        "sette",       "otto",        "nove",       "dieci",    "undici",      "dodici",
        "tredici",     "quattordici", "quindici",   "sedici",   "diciassette", "diciotto",
        "diciannove",  "venti",       "ventuno",    "ventidue", "ventitre",    "ventiquattro",
        "venticinque", "ventisei",    "ventisette", "ventotto", "ventinove",   "trenta"};
    for (qint64 n = 1; n <= 30; ++n) {
        const QByteArray name = "game " + QByteArray::number(n);
        QTest::newRow(name.constData()) << n << oneToThirty.at(n - 1);
    }

    row("tens quarantadue", 42, "quarantadue");
    row("tens cinquantacinque", 55, "cinquantacinque");
    row("tens sessanta", 60, "sessanta");
    row("tens settantasette", 77, "settantasette");
    row("tens elided before uno", 51, "cinquantuno");
    row("tens elided before otto", 98, "novantotto");

    row("hundreds cento", 100, "cento");
    row("hundreds cento keeps vowel before uno", 101, "centouno");
    row("hundreds cento keeps vowel before otto", 108, "centootto");
    row("hundreds teen", 118, "centodiciotto");
    row("hundreds elided tens", 121, "centoventuno");
    row("hundreds cento keeps vowel before ottanta", 180, "centoottanta");
    row("hundreds duecento", 200, "duecento");
    row("hundreds largest", 999, "novecentonovantanove");

    row("thousands mille", 1000, "mille");
    row("thousands milleuno", 1001, "milleuno");
    row("thousands milleventuno", 1021, "milleventuno");
    row("thousands duemila", 2000, "duemila");
    row("thousands group ending in one", 21000, "ventunomila");
    row("thousands centomila", 100000, "centomila");

    row("millions unmilione", 1000000, "unmilione");
    row("millions with mille", 1001000, "unmilionemille");
    row("millions inner zeros", 1000005, "unmilionecinque");
    row("millions duemilioni", 2000000, "duemilioni");

    row("billions unmiliardo", 1000000000, "unmiliardo");
    row("billions with unmilione", 1001000000, "unmiliardounmilione");
    row("billions tremiliardi", 3000000000, "tremiliardi");
    row("billions largest", 999999999999,
        "novecentonovantanovemiliardinovecentonovantanovemilioni"
        "novecentonovantanovemilanovecentonovantanove");
}

void TestNumberWords::wholeNumbers()
{
    QFETCH(qint64, value);
    QFETCH(QString, words);
    const std::optional<QString> result = italianWords(value * scale);
    QVERIFY(result.has_value());
    QCOMPARE(*result, words);
    QCOMPARE(remainderAfterWords(value * scale), 0);
}

void TestNumberWords::belowOneAndFractions_data()
{
    QTest::addColumn<qint64>("fixedPoint");
    QTest::addColumn<QString>("words");
    QTest::addColumn<qint64>("remainder");

    QTest::newRow("zero") << qint64(0) << QString() << qint64(0);
    QTest::newRow("negative whole") << -3 * scale << QString() << -3 * scale;
    QTest::newRow("negative fraction") << qint64(-25'000) << QString() << qint64(-25'000);
    QTest::newRow("most negative")
        << std::numeric_limits<qint64>::min() << QString() << std::numeric_limits<qint64>::min();
    QTest::newRow("half") << qint64(5'000) << QString() << qint64(5'000);
    QTest::newRow("smallest positive") << qint64(1) << QString() << qint64(1);
    QTest::newRow("five and a half") << qint64(55'000) << "cinque" << qint64(5'000);
    QTest::newRow("dropped not rounded") << qint64(19'999) << "uno" << qint64(9'999);
    QTest::newRow("just below a thousand")
        << qint64(9'999'999) << "novecentonovantanove" << qint64(9'999);
    QTest::newRow("just below the limit")
        << qint64(9'999'999'999'999'999)
        << "novecentonovantanovemiliardinovecentonovantanovemilioni"
           "novecentonovantanovemilanovecentonovantanove"
        << qint64(9'999);
}

void TestNumberWords::belowOneAndFractions()
{
    QFETCH(qint64, fixedPoint);
    QFETCH(QString, words);
    QFETCH(qint64, remainder);
    const std::optional<QString> result = italianWords(fixedPoint);
    QVERIFY(result.has_value());
    QCOMPARE(*result, words);
    QCOMPARE(remainderAfterWords(fixedPoint), remainder);
}

void TestNumberWords::beyondBillions_data()
{
    QTest::addColumn<qint64>("fixedPoint");
    QTest::newRow("10^12") << qint64(1'000'000'000'000) * scale;
    QTest::newRow("2.8 x 10^12") << qint64(2'800'000'000'000) * scale;
    QTest::newRow("largest value") << std::numeric_limits<qint64>::max();
}

void TestNumberWords::beyondBillions()
{
    QFETCH(qint64, fixedPoint);
    QVERIFY(!italianWords(fixedPoint).has_value());
    // A refused value is not consumed.
    QCOMPARE(remainderAfterWords(fixedPoint), fixedPoint);
}

void TestNumberWords::wordTableShape()
{
    const QStringList table = numberWordTable();
    QCOMPARE(table.size(), 29);
    QVERIFY(table.at(0).isEmpty());
    QVERIFY(table.at(1).isEmpty());
    QCOMPARE(table.at(21), QStringLiteral("venti"));
    QCOMPARE(table.at(28), QStringLiteral("novanta"));
}

void TestNumberWords::formsHoldUpToAMillion()
{
    QString previousUnits[1000];
    for (qint64 n = 1; n < 1'000'000; ++n) {
        const std::optional<QString> words = italianWords(n * scale);
        QVERIFY2(words && !words->isEmpty(), qPrintable(QString::number(n)));
        for (const QChar c : *words) {
            if (c < u'a' || c > u'z')
                QFAIL(qPrintable(QStringLiteral("%1: %2").arg(n).arg(*words)));
        }
        if (words->contains(u"centuno") || words->contains(u"centott"))
            QFAIL(qPrintable(QStringLiteral("%1 elides cento: %2").arg(n).arg(*words)));
        if (words->contains(u"mille") != (n / 1000 == 1))
            QFAIL(qPrintable(QStringLiteral("%1 misuses mille: %2").arg(n).arg(*words)));
        // The thousands group never touches the words of the units group.
        const qint64 units = n % 1000;
        if (n < 1000)
            previousUnits[units] = *words;
        else if (units != 0 && !words->endsWith(previousUnits[units]))
            QFAIL(qPrintable(QStringLiteral("%1 changes its units: %2").arg(n).arg(*words)));
    }
}

void TestNumberWords::parseGoodText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("fixedPoint");

    QTest::newRow("single digit") << "7" << 7 * scale;
    QTest::newRow("two digits") << "25" << 25 * scale;
    QTest::newRow("leading zeros") << "007" << 7 * scale;
    QTest::newRow("fraction") << "5.5" << qint64(55'000);
    QTest::newRow("negative") << "-3" << -3 * scale;
    QTest::newRow("plus sign") << "+4" << 4 * scale;
    QTest::newRow("negative zero") << "-0" << qint64(0);
    QTest::newRow("no whole part") << ".5" << qint64(5'000);
    QTest::newRow("no fraction digits") << "5." << 5 * scale;
    QTest::newRow("surrounding blanks") << " 12\t" << 12 * scale;
    QTest::newRow("four decimals") << "1.2345" << qint64(12'345);
    QTest::newRow("fifth decimal rounds up") << "1.23455" << qint64(12'346);
    QTest::newRow("fifth decimal rounds down") << "1.234549" << qint64(12'345);
    QTest::newRow("half away from zero") << "0.00005" << qint64(1);
    QTest::newRow("negative half away from zero") << "-0.00005" << qint64(-1);
    QTest::newRow("rounding carries") << "0.99995" << scale;
    QTest::newRow("largest") << "922337203685477.5807" << std::numeric_limits<qint64>::max();
    QTest::newRow("smallest") << "-922337203685477.5808" << std::numeric_limits<qint64>::min();
}

void TestNumberWords::parseGoodText()
{
    QFETCH(QString, text);
    QFETCH(qint64, fixedPoint);
    const std::optional<std::int64_t> result = parseFixedPoint(text);
    QVERIFY(result.has_value());
    QCOMPARE(*result, fixedPoint);
}

void TestNumberWords::parseBadText_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << "  ";
    QTest::newRow("letters") << "sette";
    QTest::newRow("trailing letter") << "12a";
    QTest::newRow("sign only") << "-";
    QTest::newRow("point only") << ".";
    QTest::newRow("two signs") << "--3";
    QTest::newRow("two points") << "5.5.5";
    QTest::newRow("comma") << "1,5";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("inner blank") << "1 000";
    QTest::newRow("other script digits") << QStringLiteral("\u0663");
    QTest::newRow("past largest") << "922337203685477.5808";
    QTest::newRow("rounds past largest") << "922337203685477.58075";
    QTest::newRow("past smallest") << "-922337203685477.5809";
    QTest::newRow("far too many digits") << "123456789012345678901234567890";
}

void TestNumberWords::parseBadText()
{
    QFETCH(QString, text);
    const std::optional<std::int64_t> result = parseFixedPoint(text);
    QVERIFY2(!result.has_value(), qPrintable(QString::number(result.value_or(0))));
}

QTEST_APPLESS_MAIN(TestNumberWords)
#include "tst_number_words.moc"
