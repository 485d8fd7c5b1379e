#include "exercise/answer_check.h"

#include "app/main_window.h"

#include <QLineEdit>
#include <QPushButton>

Verdict judge(const QString &answer, const QString &expected)
{
    return answer == expected ? Verdict::Right : Verdict::Wrong;
}

QString verdictText(Verdict verdict, const QString &expected)
{
    return verdict == Verdict::Right ? QStringLiteral("Esatto, è incredibile!!!")
                                     : QStringLiteral("Sbagliato!! ") + expected;
}

std::uint32_t verdictColour(Verdict verdict)
{
    return verdict == Verdict::Right ? rightColour : wrongColour;
}

QString verdictSound(Verdict verdict, double expectedValue)
{
    if (verdict == Verdict::Wrong)
        return QStringLiteral("\\img\\no.wav");
    // 24 cheers like the numbers below it rather than going silent.
    return expectedValue > 24 ? QStringLiteral("\\img\\brava.wav")
                              : QStringLiteral("\\img\\brava1.wav");
}

std::int64_t totalAnswers(std::int32_t correct, std::int32_t wrong)
{
    return std::int64_t{correct} + wrong;
}

void Tavola::Text3_KeyPress(int &keyAscii)
{
    if (keyAscii != 13)
        return;
    const Controls &c = controls();
    setFocusTo(c.cmdNext);
    expectedText = c.Text1->text();
    const Verdict verdict = judge(c.Text3->text(), c.Text1->text());
    Label *message = c.lblMessage;
    QPalette palette = message->palette();
    palette.setColor(QPalette::WindowText, colourFromValue(verdictColour(verdict)));
    if (verdict == Verdict::Right) {
        correctCount = runtime::incremented(correctCount);
        message->setPalette(palette);
        message->setCaption(verdictText(verdict, expectedText));
        playWave(asset(verdictSound(verdict, expectedText.toDouble())));
        // The score catches up when the next exercise starts.
        return;
    }
    wrongCount = runtime::incremented(wrongCount);
    message->setPalette(palette);
    playWave(asset(verdictSound(verdict, expectedText.toDouble())));
    message->setCaption(verdictText(verdict, c.Text1->text()));
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
        c.lblScore1->setCaption(runtime::formatNumber(wrongCount, QStringLiteral("###0")));
    c.lblScore->setCaption(runtime::formatNumber(correctCount, QStringLiteral("####0")));
    c.lblScore2->setCaption(
        runtime::formatNumber(totalAnswers(correctCount, wrongCount), QStringLiteral("####0")));
}
