// The pure rules behind the window that the window tests cannot pin down: the draws, the
// background bands, and the clock texts in several locales.
#include "app/clock.h"
#include "app/numbers.h"
#include "exercise/draw.h"
#include "exercise/gradient.h"

#include <QSet>
#include <QTest>

class TestLogic : public QObject
{
    Q_OBJECT
private slots:
    void draws();
    void reseedsWithinOneTickDiffer();
    void bandColours_data();
    void bandColours();
    void bandsCoverTheAreaExactly();
    void renderedGradient();
    void clock_data();
    void clock();
};

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
}

void TestLogic::clock_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mediumTime"); // without the AM/PM designator
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate march(2027, 3, 1);
    QTest::newRow("italian morning")
        << italian << QDateTime(march, QTime(9, 5, 3)) << "lunedì 01 marzo 2027  09:05:03"
        << "09:05";

    QTest::newRow("evening stays on 24 hours")
        << italian << QDateTime(march, QTime(21, 7, 0)) << "lunedì 01 marzo 2027  21:07:00"
        << "09:07";

    QTest::newRow("sunday in december") << english << QDateTime(QDate(2026, 12, 6), QTime(16, 5, 9))
                                        << "Sunday 06 December 2026  16:05:09"
                                        << "04:05";
    QTest::newRow("half past midnight")
        << english << QDateTime(march, QTime(0, 30)) << "Monday 01 March 2027  00:30:00"
        << "12:30";
    QTest::newRow("noon") << english << QDateTime(march, QTime(12, 0))
                          << "Monday 01 March 2027  12:00:00"
                          << "12:00";
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    QTest::newRow("the locale's separator")
        << finnish << QDateTime(march, QTime(9, 5)) << "maanantaina 01 maaliskuuta 2027  09.05.00"
        << "09.05";
}

void TestLogic::clock()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QFETCH(QString, mediumTime);
    QCOMPARE(clockText(moment, locale), text);
    const QTime time = moment.time();
    QCOMPARE(mediumTimeText(time, locale),
             mediumTime + u' ' + (time.hour() < 12 ? locale.amText() : locale.pmText()));
}

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
