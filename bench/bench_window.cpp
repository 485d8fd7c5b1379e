// Prints how long the window's everyday work takes and how much memory the game holds.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_window
#include "app/application.h"
#include "app/main_window.h"
#include "media/sound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace
{

class SilentSound : public SoundOutput
{
public:
    void play(const QString &) override {}
};

// Mean microseconds of one run of work, over count runs.
double microseconds(int count, const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        work();
    return static_cast<double>(clock.nsecsElapsed()) / 1000.0 / count;
}

} // namespace

int main(int argc, char *argv[])
{
    SilentSound sound;
    QElapsedTimer clock;
    clock.start();
    return application::runGame(
        argc, argv,
        [&](Tavola &tavola) {
            const double firstShow = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            const double newGame = microseconds(20, [&] {
                tavola.Unload();
                tavola.Show();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            });
            const double exercise = microseconds(2000, [&] { tavola.cmdNext_Click(); });
            const double answer = microseconds(2000, [&] {
                int enter = 13;
                tavola.Text3_KeyPress(enter);
                tavola.controls().Text3->setFocus();
            });
            const double tick = microseconds(20000, [&] { tavola.Timer2_Timer(); });

            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("start-up to the first exercise shown:        %8.2f ms\n", firstShow);
            std::printf("new game (unload and show again):            %8.2f ms\n", newGame / 1000);
            std::printf("new exercise (cmdNext_Click):                %8.1f us\n", exercise);
            std::printf("answer check (Enter in the answer box):      %8.1f us\n", answer);
            std::printf("clock tick (Timer2_Timer):                   %8.1f us\n", tick);
            std::printf("peak resident memory:                        %8.1f MiB\n",
                        static_cast<double>(usage.ru_maxrss) / 1024);
            return 0;
        },
        {&sound, {}});
}
