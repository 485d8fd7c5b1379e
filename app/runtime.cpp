#include "app/runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

namespace runtime
{

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("vorlandi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vorlandi"));
    QApplication::setOrganizationDomain(QStringLiteral("vorlandi.example"));
    QApplication::setDesktopFileName(QStringLiteral("org.vorlandi.Vorlandi"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The description names Windows faces; these are their metric-compatible counterparts.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
}

int msgBox(QWidget *parent, const QString &prompt, int style, const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
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
        box.exec();
        return box.clickedButton() == yes ? AnswerYes : AnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
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
    warn(message);
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message);
    box.exec();
    // Straight out: the handler that failed is still on the stack, so nothing may unwind it.
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

ErrorReporter &currentReporter()
{
    static ErrorReporter reporter = reportAndQuit;
    return reporter;
}

} // namespace

void warn(const QString &message)
{
    std::fprintf(stderr, "vorlandi: %s\n", qPrintable(message));
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

} // namespace runtime
