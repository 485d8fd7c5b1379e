// The pure rules behind the window that the window tests cannot pin down: the draws and the
// background bands at every height.
#include "logic/bands.h"
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

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
