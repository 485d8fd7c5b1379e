// Tavola's life: construction, load, activation, unload, new game and exit, the handlers' wiring
// and the animated cursor.
#include "app/main_window.h"

#include "app/application.h"
#include "app/form_builder.h"
#include "logic/ani_cursor.h"
#include "media/animated_cursor.h"
#include "media/sound.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using application::guarded;

Tavola::Tavola(SoundOutput *soundOutput, QString applicationFolder, QObject *parent)
    : QObject(parent), sound(soundOutput),
      assets(applicationFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                         : std::move(applicationFolder)),
      endProgram([] { QCoreApplication::exit(0); })
{
    if (!sound) {
        ownSound = systemSoundOutput();
        sound = ownSound.get();
    }
}

// Ending the program is not an unload: no handler runs on the way out.
Tavola::~Tavola() = default;

void Tavola::Show()
{
    if (!form) {
        form = buildForm(formControls);
        activated = false;
        connectHandlers();
        guarded([this] { Form_Load(); });
    }
    form->show();
    // A window shown again for a new game takes the keyboard, so the child can type at once.
    form->activateWindow();
    // Activation comes once per load, right after the first show. It is not left to the
    // window system: without a window manager no activation event may ever arrive.
    if (!activated) {
        activated = true;
        guarded([this] { Form_Activate(); });
    }
}

void Tavola::Unload()
{
    if (!form)
        return;
    guarded([this] { Form_Unload(); });
    // The unload may come from the form's own menu or close box, still on the call stack.
    GameWindow *old = form.release();
    old->hide();
    old->deleteLater();
}

void Tavola::connectHandlers()
{
    const Controls &c = formControls;
    auto handle = [this](void (Tavola::*handler)()) {
        return [this, handler] { guarded([this, handler] { (this->*handler)(); }); };
    };
    // Only a timer with a handler runs: the form leaves them all stopped.
    auto handleTimer = [&](QTimer *timer, void (Tavola::*handler)()) {
        connect(timer, &QTimer::timeout, this, handle(handler));
        timer->start();
    };
    handleTimer(c.Timer2, &Tavola::Timer2_Timer);
    connect(c.cmdNext, &QPushButton::clicked, this, handle(&Tavola::cmdNext_Click));
    connect(c.Command3, &QPushButton::clicked, this, handle(&Tavola::Command3_Click));
    connect(c.cmdExit, &QPushButton::clicked, this, handle(&Tavola::cmdExit_Click));
    connect(c.Next, &QAction::triggered, this, handle(&Tavola::Next_Click));
    connect(form.get(), &GameWindow::resized, this, handle(&Tavola::Form_Resize));
    connect(form.get(), &GameWindow::closeRequested, this, [this] {
        Unload();
        endProgram();
    });
    c.Text3->installEventFilter(this);
}

bool Tavola::eventFilter(QObject *watched, QEvent *event)
{
    if (form && watched == formControls.Text3 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter && key->text().isEmpty())
            return false; // not a character: no key-press event
        int keyAscii = enter ? 13 : key->text().at(0).unicode();
        guarded([&] { Text3_KeyPress(keyAscii); });
        // Enter has done its work; a cancelled key never reaches the box.
        return enter || keyAscii == 0;
    }
    return QObject::eventFilter(watched, event);
}

void Tavola::setFocusTo(QWidget *control)
{
    if (!control->isVisible() || !control->isEnabled())
        throw application::RuntimeError(
            5, QStringLiteral("Chiamata di routine o argomento non validi"));
    control->setFocus(Qt::OtherFocusReason);
}

void Tavola::Form_Load()
{
    previousCursor = form->cursor();
    swapCursorIn(assets.cursor());
    correctCount = 0;
    wrongCount = 0;
}

void Tavola::swapCursorIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return; // no cursor file: the usual pointer stays
    AniResult loaded = parseAniCursor(file.readAll(), qRound(32 * form->devicePixelRatioF()));
    if (!loaded.cursor) {
        qCWarning(lcAssets).noquote() << path + QStringLiteral(": ") + aniErrorText(loaded.error);
        return;
    }
    cursorAnimation = std::make_unique<AnimatedCursor>(std::move(*loaded.cursor), form.get());
    cursorAnimation->start();
}

void Tavola::Form_Activate()
{
    cmdNext_Click();
    roundCount = 0;
    wrongCount = 0;
    correctCount = 0;
}

void Tavola::Form_Unload()
{
    // The animated cursor is released here; the window gets back the cursor it had.
    cursorAnimation.reset();
    form->setCursor(previousCursor);
}

void Tavola::Next_Click()
{
    const int answer = application::msgBox(form.get(), QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"),
                                           application::YesNo | application::Question |
                                               application::DefaultButton2,
                                           QStringLiteral("INIZIARE NUOVA GARA"));
    if (answer == application::AnswerNo)
        return;
    Unload();
    Show();
}

void Tavola::cmdExit_Click()
{
    endProgram();
}

void Tavola::playWave(const QString &path)
{
    sound->play(path);
}
