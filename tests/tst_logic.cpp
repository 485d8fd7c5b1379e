// The pure rules behind the window that the window tests cannot pin down: the draws, the
// background bands at every height, and the clock texts in several locales.
#include "logic/bands.h"
#include "logic/clock_text.h"
#include "logic/draw.h"
#include "logic/numbers.h"

#include <QSet>
#include <QTest>

class TestLogic : public QObject
{
    Q_OBJECT
private slots:
    void draws();
    void reseedsWithinOneTickDiffer();
    void bandsCoverTheAreaExactly();
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
    numbers::Random random;
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
    numbers::Random random;
    for (int i = 0; i < 200; ++i) {
        random.reseed();
        firsts.insert(random.next());
    }
    QCOMPARE(firsts.size(), 200);
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

void TestLogic::clock_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mediumTime"); // without the AM/PM designator
    const QDate march(2027, 3, 1);
    const auto row = [](const char *name, QLocale::Language language, QLocale::Territory where,
                        QDateTime moment, const char *text, const char *mediumTime) {
        QTest::newRow(name) << QLocale(language, where) << moment << text << mediumTime;
    };
    row("italian morning", QLocale::Italian, QLocale::Italy, QDateTime(march, QTime(9, 5, 3)),
        "lunedì 01 marzo 2027  09:05:03", "09:05");
    row("evening stays on 24 hours", QLocale::Italian, QLocale::Italy,
        QDateTime(march, QTime(21, 7)), "lunedì 01 marzo 2027  21:07:00", "09:07");
    row("sunday in december", QLocale::English, QLocale::UnitedStates,
        QDateTime(QDate(2026, 12, 6), QTime(16, 5, 9)), "Sunday 06 December 2026  16:05:09",
        "04:05");
    row("half past midnight", QLocale::English, QLocale::UnitedStates,
        QDateTime(march, QTime(0, 30)), "Monday 01 March 2027  00:30:00", "12:30");
    row("noon", QLocale::English, QLocale::UnitedStates, QDateTime(march, QTime(12, 0)),
        "Monday 01 March 2027  12:00:00", "12:00");
    row("the locale's separator", QLocale::Finnish, QLocale::Finland, QDateTime(march, QTime(9, 5)),
        "maanantaina 01 maaliskuuta 2027  09.05.00", "09.05");
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
