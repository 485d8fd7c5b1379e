#include "app/application.h"

#include "app/game_style.h"
#include "app/main_window.h"
#include "app/platform.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcGame, "vorlandi")
Q_LOGGING_CATEGORY(lcAssets, "vorlandi.assets")

namespace application
{

// A box at least as wide as a window manager needs to show its whole title: the title in a
// bold title-bar font a size larger than the box's own, plus room for the title bar's icon
// and buttons. QMessageBox sizes itself, so the width goes in as a spacer across its grid, added
// last because setting the text or icon lays the box out anew.
void fitTitle(QMessageBox &box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 160;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

int runGame(int &argc, char **argv, const std::function<int(Tavola &)> &play,
            const GameSetting &setting)
{
    // The window's colours and faces are its own, and the controls around them keep the light
    // look they sit in: a dark desktop (a KDE desktop's colours, which Qt takes, or its dark
    // scheme, which Fusion follows from Qt 6.8) would put light text by the fixed light boxes.
    QGuiApplication::setDesktopSettingsAware(false);
    // While the child thinks the window repaints a few small areas a second (the caret, the
    // clock). On X11 their pixels then go in the request itself rather than through shared
    // memory, for which the X server answers each repaint with an event that wakes the game again.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    setUpApplication();
    // Gone before the application object: the sound output stops first.
    Tavola tavola(setting.sound, setting.applicationFolder);
    tavola.Show();
    return play ? play(tavola) : QApplication::exec();
}

void setUpApplication()
{
    // No display name: Qt would append it to every title the window manager shows.
    QApplication::setApplicationName(QStringLiteral("vorlandi"));
    QApplication::setOrganizationDomain(QStringLiteral("vorlandi.example"));
    QApplication::setDesktopFileName(QStringLiteral("org.vorlandi.Vorlandi"));
    QApplication::setStyle(gameStyle());
    QApplication::setQuitOnLastWindowClosed(false);
    platform::substituteFonts();
}

int msgBox(QWidget *parent, const QString &prompt, int style, const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setText(prompt);
    if (style & Question)
        box.setIcon(QMessageBox::Question);
    if ((style & 7) == YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        yes->setObjectName(QStringLiteral("yesButton"));
        no->setObjectName(QStringLiteral("noButton"));
        box.setDefaultButton((style & DefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        fitTitle(box);
        box.exec();
        return box.clickedButton() == yes ? AnswerYes : AnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    fitTitle(box);
    box.exec();
    return AnswerOk;
}

RuntimeError::RuntimeError(int code, const QString &description)
    : std::runtime_error(description.toStdString()), errorCode(code)
{
}

QString RuntimeError::description() const
{
    return QString::fromStdString(what());
}

namespace
{

void reportAndQuit(const QString &message)
{
    qCCritical(lcGame).noquote() << message;
    platform::showError(applicationTitle(), message);
    // Straight out: the handler that failed is still on the stack, so nothing may unwind it.
    endProcess(EXIT_FAILURE);
}

ErrorReporter &currentReporter()
{
    static ErrorReporter reporter = reportAndQuit;
    return reporter;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("Vorlandi");
}

void endProcess(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

void setErrorReporter(ErrorReporter reporter)
{
    currentReporter() = reporter ? std::move(reporter) : ErrorReporter(reportAndQuit);
}

void reportError(const QString &message)
{
    currentReporter()(message);
}

void guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        reportError(QStringLiteral("Errore di run-time '%1':\n\n%2")
                        .arg(error.code())
                        .arg(error.description()));
    } catch (const std::exception &error) {
        reportError(
            QStringLiteral("Errore di run-time:\n\n%1").arg(QString::fromUtf8(error.what())));
    }
}

} // namespace application
