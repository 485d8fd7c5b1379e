#pragma once
// The small layer between the game's handlers and Qt's widgets: the start-up, application
// settings, message boxes, the run-time error report and the game's logging categories.

#include <QLoggingCategory>
#include <QString>
#include <functional>
#include <stdexcept>

class QMessageBox;
class QWidget;
class SoundOutput;
class Tavola;

// The game's own lines, "vorlandi: ...": the run-time error that ends the program, and what the
// game got past without a category of its own.
Q_DECLARE_LOGGING_CATEGORY(lcGame)
// "vorlandi.assets: ...": an asset file the game could not use and played on without.
Q_DECLARE_LOGGING_CATEGORY(lcAssets)

namespace application
{

// Where the game's window plays its sounds (nullptr: the system's own output) and finds the img
// folder (empty: beside the executable).
struct GameSetting {
    SoundOutput *sound = nullptr;
    QString applicationFolder;
};

// The game's start-up: the application object with its settings, then Tavola, shown, with its
// first exercise. play then runs with the window up (by default Qt's event loop) and its status
// is returned once Tavola and, after it, the application object are gone.
int runGame(int &argc, char **argv, const std::function<int(Tavola &)> &play = {},
            const GameSetting &setting = {});

// Application-wide settings shared by the game and its tests: names and title, the widget
// style, the font faces the window description names, and no quitting when the window goes
// away for a new game.
void setUpApplication();

// The application title, which a message box given no title of its own shows.
QString applicationTitle();

// Widens a message box to show its whole title in the window manager's title bar.
void fitTitle(QMessageBox &box);

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

// Ends the process at once with this status, from the middle of a handler after a run-time
// error: the standard streams are flushed, and nothing of the half-run handler unwinds.
[[noreturn]] void endProcess(int status);

void reportError(const QString &message);

} // namespace application
