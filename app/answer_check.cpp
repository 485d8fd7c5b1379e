// Tavola's answer check: the verdict on Enter in the answer box, and the score labels.
#include "app/application.h"
#include "app/fitting_label.h"
#include "app/main_window.h"
#include "logic/verdict.h"

#include <QLineEdit>
#include <QPushButton>

void Tavola::Text3_KeyPress(int &keyAscii)
{
    if (keyAscii != 13)
        return;
    const Controls &c = controls();
    setFocusTo(c.cmdNext);
    expectedText = c.Text1->text();
    const Verdict verdict = judge(c.Text3->text(), c.Text1->text());
    if (verdict == Verdict::Right)
        correctCount = numbers::incremented(correctCount);
    else
        wrongCount = numbers::incremented(wrongCount);
    FittingLabel *message = c.lblMessage;
    QPalette palette = message->palette();
    palette.setColor(QPalette::WindowText, verdictColour(verdict));
    message->setPalette(palette);
    message->setCaption(verdictText(verdict, expectedText));
    playWave(assets.verdictSound(verdict, expectedText.toDouble()));
    // After a right answer the score catches up when the next exercise starts.
    if (verdict == Verdict::Wrong)
        showScore(true);
}

void Tavola::Command3_Click()
{
    const Controls &c = controls();
    showScore(judge(c.Text3->text(), c.Text1->text()) == Verdict::Wrong);
    c.cmdNext->setEnabled(true);
    setFocusTo(c.cmdNext);
}

// Writes the score labels from the counters; the wrong-answer label only when asked.
void Tavola::showScore(bool wrongToo)
{
    const Controls &c = controls();
    if (wrongToo)
        c.lblScore1->setCaption(numbers::formatNumber(wrongCount, QStringLiteral("###0")));
    c.lblScore->setCaption(numbers::formatNumber(correctCount, QStringLiteral("####0")));
    c.lblScore2->setCaption(
        numbers::formatNumber(totalAnswers(correctCount, wrongCount), QStringLiteral("####0")));
}
