// Plays the real game window, offscreen, as a child would: types into the answer box and presses
// Enter, then Enter again on the new-exercise button. Prints what it saw; a wrong score or
// verdict, a runtime error, a new open descriptor or a growing heap fails it with status 1.
//   vorlandi_drive FOLDER until N  plays until N has come up and been answered right
//   vorlandi_drive FOLDER soak N   N exercises, right and wrong answers, memory every 1,000
//   vorlandi_drive FOLDER hostile  pastes odd and huge answers
#include "app/application.h"
#include "app/fitting_label.h"
#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <malloc.h>

// The figures printed so far go out first: _Exit drops what stdio still holds.
#define FAIL(...)                                                                                  \
    (std::fflush(stdout), std::fprintf(stderr, "vorlandi_drive: " __VA_ARGS__), std::_Exit(1))

// Enter on whatever has the focus, then the event loop's turn; returns the Enter's milliseconds.
static double enter()
{
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

// What the program holds allocated, in every arena: what a leak grows. The resident size (which
// the benchmark prints) also moves with library and font pages touched for the first time and
// with freed memory the allocator keeps.
static long heapKiB()
{
    const struct mallinfo2 heap = mallinfo2();
    return long((heap.uordblks + heap.hblkhd) / 1024);
}

// Plays the shown window in the given mode; returns 0 or fails.
static int drive(Tavola &tavola, const QByteArray &mode, long count)
{
    if (!QTest::qWaitForWindowExposed(tavola.window()))
        FAIL("the window did not come up\n");
    const Controls &c = tavola.controls();
    long right = 0, wrong = 0, cameUp = 0, emptyTarget = 0, emptyOthers = 0;

    if (mode == "hostile") {
        double worst = 0;
        for (const QString &paste :
             {QString(100000, u'7'), QString(1000000, u'8'), QString(QChar(0xd800)),
              QChar(0xdc00) + QStringLiteral("1"), QChar(0) + QStringLiteral("2"),
              QChar(7) + QStringLiteral("3"), QStringLiteral("\u202e12"),
              QStringLiteral("\U0001F600"), QStringLiteral("\uff11\uff12"),
              QStringLiteral("\u0661\u0662")}) {
            QApplication::clipboard()->setText(paste);
            QTest::keyClick(c.Text3, Qt::Key_V, Qt::ControlModifier);
            const QString verdict = QStringLiteral("Sbagliato!! ") + c.Text1->text();
            const double ms = enter();
            worst = std::max(worst, ms);
            ++wrong;
            if (c.lblMessage->text() != verdict)
                FAIL("verdict %s\n", qPrintable(c.lblMessage->text().left(50)));
            std::printf("%7lld characters pasted: Enter took %.2f ms\n", qint64(paste.size()), ms);
            enter();
        }
        std::printf("worst Enter on a hostile answer: %.2f ms\n", worst);
    }
    // Even exercises and numbers from 25 up are answered right, so every verdict sound plays; every
    // other wrong answer is an Enter with nothing typed, as from a child holding Enter down.
    const long target = mode == "until" ? count : -1;
    const long exercises = mode == "until" ? 5000 : count;
    const long fds = QDir(QStringLiteral("/proc/self/fd")).count();
    long warmKiB = 0;
    for (long i = 1; mode != "hostile" && i <= exercises; ++i) {
        const int number = c.Text1->text().toInt();
        const bool isRight = i % 2 == 0 || number >= 25;
        if (isRight || i % 4 == 1)
            QTest::keyClicks(c.Text3, isRight ? c.Text1->text() : QStringLiteral("0"));
        (isRight ? right : wrong)++;
        const bool empty = number <= 10 && c.Picture1->pixmap().isNull();
        cameUp += number == target;
        (number == target ? emptyTarget : emptyOthers) += empty;
        enter();
        enter();
        if (number == target && isRight)
            break;
        if (i == exercises && target >= 0)
            FAIL("%ld never came up\n", target);
        if (target < 0 && i % 1000 == 0) {
            const long nowFds = QDir(QStringLiteral("/proc/self/fd")).count();
            std::printf("%6ld exercises: heap %ld KiB, %ld descriptors\n", i, heapKiB(), nowFds);
            warmKiB = i == std::min(30000L, exercises / 2) ? heapKiB() : warmKiB;
            if (nowFds != fds)
                FAIL("%ld open descriptors, %ld at the start\n", nowFds, fds);
        }
    }
    if (warmKiB && heapKiB() - warmKiB >= 1024)
        FAIL("the heap grew by %ld KiB after the warm-up\n", heapKiB() - warmKiB);
    if (target >= 0)
        std::printf(
            "%ld exercises, %ld came up %ld times, picture empty %ld, others %ld, cursor %s\n",
            right + wrong, target, cameUp, emptyTarget, emptyOthers,
            tavola.window()->cursor().shape() == Qt::BitmapCursor ? "animated" : "usual");
    // The last Enter started a new exercise, which brings every score label up to date.
    const QString scores =
        c.lblScore->text() + u' ' + c.lblScore1->text() + u' ' + c.lblScore2->text();
    std::printf("scores: %s\n", qPrintable(scores));
    if (scores != QStringLiteral("%1 %2 %3").arg(right).arg(wrong).arg(right + wrong))
        FAIL("%ld right and %ld wrong answers\n", right, wrong);
    return 0;
}

int main(int argc, char *argv[])
{
    application::setErrorReporter(
        [](const QString &message) { FAIL("%s\n", qPrintable(message)); });
    const QByteArray mode = argv[2];
    const long count = argc > 3 ? std::atol(argv[3]) : 0;
    return application::runGame(argc, argv,
                                [&](Tavola &tavola) { return drive(tavola, mode, count); },
                                {nullptr, QString::fromLocal8Bit(argv[1])});
}
