#pragma once
// The small layer between the game's handlers and Qt's widgets: application settings, message
// boxes and the run-time error report.

#include <QString>
#include <functional>
#include <stdexcept>

class QWidget;

namespace runtime
{

// Application-wide settings shared by the game and its tests: names and title, the widget
// style, the font faces the window description names, and no quitting when the window goes
// away for a new game.
void setUpApplication();

// The application title, which a message box given no title of its own shows.
QString applicationTitle();

// Message box buttons-and-icon values and answers, as the handlers name them.
enum MessageBoxStyle : int {
    OkOnly = 0,
    YesNo = 4,
    Question = 32,
    DefaultButton2 = 256,
};
enum MessageBoxAnswer : int { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

// Shows a modal message box and returns the pressed button's code. An empty title shows the
// application title. The buttons read "OK", "Sì" and "No".
int msgBox(QWidget *parent, const QString &prompt, int style = OkOnly, const QString &title = {});

// An error that no handler deals with: reported to the user, then the program ends.
class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(int code, const QString &description);
    int code() const { return errorCode; }
    QString description() const;

private:
    int errorCode;
};

// Runs one event handler. An escaping error is reported through the error reporter instead
// of unwinding through Qt's event loop.
void guarded(const std::function<void()> &handler);

// The reporter receives the error text. The default shows a message box titled with the
// application title and ends the program with a non-zero status; tests install their own.
using ErrorReporter = std::function<void(const QString &message)>;
void setErrorReporter(ErrorReporter reporter);

// Ends the process at once with this status: the standard streams are flushed, and neither the
// stack nor the libraries' exit-time teardown runs. The game keeps nothing else to write, and
// after the sound server has gone and come back, Qt Multimedia's PulseAudio layer runs two event
// threads whose teardown at exit can crash in libpulse. main() ends through it once the window
// and the application object are gone.
[[noreturn]] void endProcess(int status);

// One line on the standard error stream about something the game got past.
void warn(const QString &message);
void reportError(const QString &message);

} // namespace runtime
