// The pure rules behind the window: verdicts, score arithmetic, number formatting, the draws,
// the background bands, the clock texts and the asset paths.
#include "app/clock.h"
#include "app/numbers.h"
#include "exercise/draw.h"
#include "exercise/gradient.h"
#include "exercise/verdict.h"
#include "media/asset_path.h"

#include <QSet>
#include <QTest>
#include <limits>

class TestLogic : public QObject
{
    Q_OBJECT
private slots:
    void sounds_data();
    void sounds();
    void countersNeverOverflow();
    void formatting_data();
    void formatting();
    void draws();
    void reseedsWithinOneTickDiffer();
    void bandColours_data();
    void bandColours();
    void bandsCoverTheAreaExactly();
    void renderedGradient();
    void clock_data();
    void clock();
    void mediumTime();
    void assetPaths();
};

void TestLogic::sounds_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("sound");
    QTest::newRow("right 1") << true << 1.0 << "\\img\\brava1.wav";
    QTest::newRow("right 23") << true << 23.0 << "\\img\\brava1.wav";
    QTest::newRow("right 24 cheers too") << true << 24.0 << "\\img\\brava1.wav";
    QTest::newRow("right 25") << true << 25.0 << "\\img\\brava.wav";
    QTest::newRow("right 30") << true << 30.0 << "\\img\\brava.wav";
    QTest::newRow("wrong 7") << false << 7.0 << "\\img\\no.wav";
}

void TestLogic::sounds()
{
    QFETCH(bool, right);
    QFETCH(double, number);
    QFETCH(QString, sound);
    QCOMPARE(verdictSound(right ? Verdict::Right : Verdict::Wrong, number), sound);
}

void TestLogic::countersNeverOverflow()
{
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    QCOMPARE(runtime::incremented(32767), 32768);
    QCOMPARE(runtime::incremented(max), max);
    QCOMPARE(totalAnswers(32767, 32767), std::int64_t{65534});
    QCOMPARE(totalAnswers(max, max), std::int64_t{max} * 2);
}

void TestLogic::formatting_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "####0"
                          << "0";
    QTest::newRow("one digit") << qint64(7) << "#0"
                               << "7";
    QTest::newRow("no leading zeros") << qint64(30) << "###0"
                                      << "30";
    QTest::newRow("wider than the pattern") << qint64(123456) << "####0"
                                            << "123456";
    QTest::newRow("negative") << qint64(-5) << "#0"
                              << "-5";
    QTest::newRow("required zeros pad") << qint64(5) << "000"
                                        << "005";
}

void TestLogic::formatting()
{
    QFETCH(qint64, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(runtime::formatNumber(value, pattern), text);
}

void TestLogic::draws()
{
    QCOMPARE(scaledDraw(0.0), 0);
    QCOMPARE(scaledDraw(std::nextafter(1.0, 0.0)), 30);
    QCOMPARE(scaledDraw(1.0 / 31 + 1e-9), 1);
    QCOMPARE(scaledDraw(30.0 / 31 - 1e-9), 29);
    // Every value from 0 to 30 comes up, and nothing else does.
    runtime::Random random;
    random.seed(12345);
    QSet<int> seen;
    for (int i = 0; i < 5000; ++i) {
        const int value = scaledDraw(random.next());
        QVERIFY(value >= 0 && value <= 30);
        seen.insert(value);
    }
    QCOMPARE(seen.size(), 31);
}

void TestLogic::reseedsWithinOneTickDiffer()
{
    // Exercises started in quick succession must not repeat one another's draws.
    QSet<double> firsts;
    runtime::Random random;
    for (int i = 0; i < 200; ++i) {
        random.reseed();
        firsts.insert(random.next());
    }
    QCOMPARE(firsts.size(), 200);
}

void TestLogic::bandColours_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("seed");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("7 and 3, top") << 0 << 7 << 3 << QColor(140, 60, 0);
    QTest::newRow("7 and 3, bottom") << 255 << 7 << 3 << QColor(140, 60, 255);
    QTest::newRow("25 and seed 0") << 128 << 25 << 0 << QColor(255, 0, 128);
    QTest::newRow("12 gives 240") << 10 << 12 << 12 << QColor(240, 240, 10);
    QTest::newRow("13 is capped at 255") << 10 << 13 << 13 << QColor(255, 255, 10);
    QTest::newRow("20 and 20, bottom is white") << 255 << 20 << 20 << QColor(255, 255, 255);
}

void TestLogic::bandColours()
{
    QFETCH(int, band);
    QFETCH(int, number);
    QFETCH(int, seed);
    QFETCH(QColor, colour);
    QCOMPARE(bandColour(band, number, seed), colour);
}

void TestLogic::bandsCoverTheAreaExactly()
{
    for (int height : {1, 100, 256, 557, 4000}) {
        int expectedTop = 0;
        for (int band = 0; band < gradientBandCount; ++band) {
            const auto [top, bottom] = bandRows(band, height);
            QCOMPARE(top, expectedTop);
            QVERIFY(bottom >= top);
            expectedTop = bottom;
        }
        QCOMPARE(expectedTop, height);
    }
}

void TestLogic::renderedGradient()
{
    // Far wider than tall: every band still reaches the right edge.
    const QImage image = renderGradient(QSize(2000, 512), 7, 3);
    QCOMPARE(image.pixelColor(0, 0), QColor(140, 60, 0));
    QCOMPARE(image.pixelColor(1999, 0), QColor(140, 60, 0));
    QCOMPARE(image.pixelColor(1999, 511), QColor(140, 60, 255));
    QCOMPARE(image.pixelColor(1000, 257), QColor(140, 60, 128));
    // The picture depends only on its inputs.
    QCOMPARE(renderGradient(QSize(689, 557), 25, 0), renderGradient(QSize(689, 557), 25, 0));
}

void TestLogic::clock_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate march(2027, 3, 1);
    QTest::newRow("italian morning")
        << italian << QDateTime(march, QTime(9, 5, 3)) << "lunedì 01 marzo 2027  09:05:03";
    QTest::newRow("english morning")
        << english << QDateTime(march, QTime(9, 5, 3)) << "Monday 01 March 2027  09:05:03";
    QTest::newRow("evening stays on 24 hours")
        << italian << QDateTime(march, QTime(21, 7, 0)) << "lunedì 01 marzo 2027  21:07:00";
    QTest::newRow("sunday in december") << english << QDateTime(QDate(2026, 12, 6), QTime(16, 5, 9))
                                        << "Sunday 06 December 2026  16:05:09";
}

void TestLogic::clock()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QCOMPARE(clockText(moment, locale), text);
}

void TestLogic::mediumTime()
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(mediumTimeText(QTime(21, 7), english), QStringLiteral("09:07 PM"));
    QCOMPARE(mediumTimeText(QTime(16, 5), english), QStringLiteral("04:05 PM"));
    QCOMPARE(mediumTimeText(QTime(0, 30), english), QStringLiteral("12:30 AM"));
    QCOMPARE(mediumTimeText(QTime(12, 0), english), QStringLiteral("12:00 PM"));
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QCOMPARE(mediumTimeText(QTime(9, 5), italian), "09:05 " + italian.amText());
    // The separator is the locale's own.
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    QCOMPARE(mediumTimeText(QTime(9, 5), finnish), "09.05 " + finnish.amText());
}

void TestLogic::assetPaths()
{
    QCOMPARE(assetPath(QStringLiteral("/opt/vorlandi"), numberSound(30)),
             QStringLiteral("/opt/vorlandi/img/30.wav"));
    QCOMPARE(assetPath(QStringLiteral("/opt/vorlandi"), numberPicture(7)),
             QStringLiteral("/opt/vorlandi/img/terra7.bmp"));
    QCOMPARE(numberSound(7), QStringLiteral("\\img\\7.wav"));
}

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
