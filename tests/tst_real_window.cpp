// Starts the built game on a real X server, finds its window by title and checks what the
// screen shows: the title and the background gradient's bands.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

class TestRealWindow : public QObject
{
    Q_OBJECT
private slots:
    void showsTitleAndGradient();
};

namespace
{

// The window's geometry on the root window, from xwininfo, or an empty rect.
QRect windowNamed(const QString &title)
{
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-name"), title});
    if (!info.waitForFinished(5000) || info.exitCode() != 0)
        return {};
    const QString out = QString::fromLocal8Bit(info.readAllStandardOutput());
    auto field = [&](const char *name) {
        const QRegularExpression pattern(QLatin1String(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(out).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

} // namespace

void TestRealWindow::showsTitleAndGradient()
{
    QProcess game;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    game.setProcessEnvironment(environment);
    game.start(QStringLiteral(VORLANDI_EXECUTABLE));
    QVERIFY(game.waitForStarted());
    QRect window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Quintarel"))).isEmpty(), 10000);
    QCOMPARE(window.width(), 689);
    QTest::qWait(500); // let it paint
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    game.kill();
    game.waitForFinished();

    // The client area is the bottom 557 rows; the menu bar sits above it. Along the right
    // edge no control covers the gradient down to the status bar.
    const int clientTop = window.bottom() - 557 + 1;
    const int x = window.left() + 680;
    const QColor top = screen.pixelColor(x, clientTop + 1);
    QVERIFY2(top.red() % 20 == 0 || top.red() == 255, qPrintable(top.name()));
    QVERIFY2(top.red() > 0, qPrintable(top.name()));
    QVERIFY2(top.green() % 20 == 0 || top.green() == 255, qPrintable(top.name()));
    int lastBlue = -1;
    for (int y = 1; y < 540; y += 20) {
        const QColor colour = screen.pixelColor(x, clientTop + y);
        QCOMPARE(colour.red(), top.red());
        QCOMPARE(colour.green(), top.green());
        // Band k covers rows k/256 to (k+1)/256 of the client height and has blue k.
        QVERIFY2(std::abs(colour.blue() - y * 256 / 557) <= 1,
                 qPrintable(QStringLiteral("row %1: %2").arg(y).arg(colour.name())));
        QVERIFY(colour.blue() > lastBlue);
        lastBlue = colour.blue();
    }
}

QTEST_MAIN(TestRealWindow)
#include "tst_real_window.moc"
