#include "logic/number_words.h"

#include <QRegularExpression>
#include <QTest>
#include <limits>

constexpr qint64 scale = 10'000;
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();

class TestNumberWords : public QObject
{
    Q_OBJECT

private slots:
    void spelled_data();
    void spelled();
    void formsHoldUpToAMillion();
    void parse_data();
    void parse();
};

void TestNumberWords::spelled_data()
{
    QTest::addColumn<qint64>("fixedPoint");
    QTest::addColumn<std::optional<QString>>("words");
    QTest::addColumn<qint64>("remainder");
    const auto row = [](const QString &name, qint64 fixedPoint, std::optional<QString> words,
                        qint64 rest) {
        QTest::newRow(qPrintable(name)) << fixedPoint << words << rest;
    };
    // The game's thirty numbers and a few beyond, as value and words; rows are named for the words.
    const char *pairs =
        "1 uno 2 due 3 tre 4 quattro 5 cinque 6 sei 7 sette 8 otto 9 nove 10 dieci 11 undici "
        "12 dodici 13 tredici 14 quattordici 15 quindici 16 sedici 17 diciassette 18 diciotto "
        "19 diciannove 20 venti 21 ventuno 22 ventidue 23 ventitre 24 ventiquattro "
        "25 venticinque 26 ventisei 27 ventisette 28 ventotto 29 ventinove 30 trenta "
        "51 cinquantuno 98 novantotto 101 centouno 121 centoventuno 200 duecento 1000 mille "
        "1001 milleuno 2000 duemila 21000 ventunomila 1000000 unmilione 1001000 unmilionemille "
        "1000005 unmilionecinque 2000000 duemilioni 1000000000 unmiliardo "
        "1001000000 unmiliardounmilione 3000000000 tremiliardi";
    const QStringList wholes = QString::fromLatin1(pairs).split(u' ');
    for (qsizetype i = 0; i + 1 < wholes.size(); i += 2)
        row(wholes[i + 1], wholes[i].toLongLong() * scale, wholes[i + 1], 0);
    row("largest, with a fraction", 999'999'999'999 * scale + 9'999,
        "novecentonovantanovemiliardinovecentonovantanovemilioni"
        "novecentonovantanovemilanovecentonovantanove",
        9'999);
    row("fraction dropped not rounded", 19'999, "uno", 9'999);
    row("below one", 5'000, "", 5'000);
    row("negative fraction", -25'000, "", -25'000);
    row("most negative", int64Min, "", int64Min);
    // Refused values are not consumed either.
    row("refused from 10^12", 1'000'000'000'000 * scale, std::nullopt, 1'000'000'000'000 * scale);
    row("refused largest", int64Max, std::nullopt, int64Max);
}

void TestNumberWords::spelled()
{
    QFETCH(qint64, fixedPoint);
    QFETCH(std::optional<QString>, words);
    QFETCH(qint64, remainder);
    QCOMPARE(italianWords(fixedPoint).value_or("(refused)"), words.value_or("(refused)"));
    QCOMPARE(remainderAfterWords(fixedPoint), remainder);
}

void TestNumberWords::formsHoldUpToAMillion()
{
    static const QRegularExpression letters(QStringLiteral("^[a-z]+$"));
    QString unitWords[1000];
    for (qint64 n = 1; n < 1'000'000; ++n) {
        const QString words = italianWords(n * scale).value_or(QString());
        if (n < 1000)
            unitWords[n] = words;
        // Plain letters, "cento" whole, "mille" alone, and the units' words untouched by thousands.
        if (!letters.match(words).hasMatch() || words.contains(u"centuno") ||
            words.contains(u"centott") || words.contains(u"mille") != (n / 1000 == 1) ||
            (n % 1000 != 0 && !words.endsWith(unitWords[n % 1000])))
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(n).arg(words)));
    }
}

void TestNumberWords::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint64>>("fixedPoint");
    const std::pair<const char *, qint64> good[] = {
        {"007", 7 * scale}, {"-3", -3 * scale},    {"+4", 4 * scale},   {".5", 5'000},
        {"5.", 5 * scale},  {" 12\t", 12 * scale}, {"1.23455", 12'346}, {"1.234549", 12'345},
        {"-0.00005", -1},   {"0.99995", scale}};
    for (const auto &[text, fixedPoint] : good)
        QTest::addRow("\"%s\"", text) << QString::fromLatin1(text) << std::optional(fixedPoint);
    QTest::newRow("largest") << "922337203685477.5807" << std::optional(int64Max);
    QTest::newRow("smallest") << "-922337203685477.5808" << std::optional(int64Min);
    const QStringList bad = QStringLiteral("|-|.|--3|5.5.5|12a|1,5|1e3|1 000|\u0663|"
                                           "922337203685477.5808|922337203685477.58075|"
                                           "-922337203685477.5809|123456789012345678901234567890")
                                .split(u'|');
    for (const QString &text : bad)
        QTest::addRow("\"%s\"", qPrintable(text)) << text << std::optional<qint64>();
}

void TestNumberWords::parse()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint64>, fixedPoint);
    const auto shown = [](std::optional<qint64> v) { return v ? QString::number(*v) : "none"; };
    QCOMPARE(shown(parseFixedPoint(text)), shown(fixedPoint));
}

QTEST_APPLESS_MAIN(TestNumberWords)
#include "tst_number_words.moc"
