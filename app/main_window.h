#pragma once
// The game's one window. Tavola owns the exercise state and the event handlers; the form (the
// widgets built from the window description) is made at every load and destroyed at every
// unload, while Tavola and its variables live on. Its member functions are all in app/, in the
// file each group below names.

#include "app/game_window.h"
#include "app/window_description.h"
#include "logic/assets.h"
#include "logic/numbers.h"

#include <QCursor>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class AnimatedCursor;
class SoundOutput;

class Tavola : public QObject
{
    Q_OBJECT
public:
    // sound: where playWave sends its files (not owned; nullptr: the system's own output).
    // applicationFolder: where the img folder lies (empty: beside the executable).
    explicit Tavola(SoundOutput *sound = nullptr, QString applicationFolder = {},
                    QObject *parent = nullptr);
    ~Tavola() override;

    // Loads the window if it is not loaded, shows it and, once per load, activates it.
    void Show();
    // Unloads the window: Form_Unload runs and the form is destroyed.
    void Unload();

    bool isLoaded() const { return form != nullptr; }
    GameWindow *window() const { return form.get(); }
    const Controls &controls() const { return formControls; }

    // What ending the program means; the default leaves Qt's event loop.
    void setEndProgram(std::function<void()> end) { endProgram = std::move(end); }
    // Where the clock and the minimised title read the time, in milliseconds since the epoch;
    // the default is the system's clock. They show it in the local time zone.
    void setClock(std::function<qint64()> now) { clockNow = std::move(now); }

    // Exercise state.
    QString expectedText;
    std::int32_t correctCount = 0;
    std::int32_t wrongCount = 0;
    std::int32_t roundCount = 0;
    QCursor previousCursor;
    QStringList numberWords{29, QString()};

    // The window's life: load, activation, unload, new game and exit (main_window.cpp).
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void cmdExit_Click();
    void Next_Click();
    void playWave(const QString &path);

    // The clock, the title and the status bar (clock_display.cpp).
    void Timer2_Timer();
    void Form_Resize();
    void showClockCaption();

    // A new exercise: the draw, the picture, the words and the background (new_exercise.cpp).
    void cmdNext_Click();
    QString numlett(std::int64_t &value);
    void paintGradient(int drawnNumber, int colourSeed);

    // The answer check and the score (answer_check.cpp).
    void Text3_KeyPress(int &keyAscii);
    void Command3_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // main_window.cpp
    void connectHandlers();
    void swapCursorIn(const QString &path);
    static void setFocusTo(QWidget *control);
    // new_exercise.cpp
    void setPicture(const QString &path);
    // answer_check.cpp
    void showScore(bool wrongToo);

    std::unique_ptr<SoundOutput> ownSound;
    SoundOutput *sound;
    AssetCatalogue assets;
    std::unique_ptr<GameWindow> form;
    Controls formControls; // the controls of the loaded form
    std::unique_ptr<AnimatedCursor> cursorAnimation;
    bool activated = false;
    std::function<qint64()> clockNow = &QDateTime::currentMSecsSinceEpoch;
    qint64 clockSecond = -1; // the second of the clock's text, since the epoch
    QString clockCaption;
    numbers::Random rnd;
    std::function<void()> endProgram;
};
