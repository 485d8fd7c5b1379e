// Tavola's new exercise: the draw, its sound and picture, the number in words and the
// background gradient.
#include "app/application.h"
#include "app/backdrop_area.h"
#include "app/fitting_label.h"
#include "app/main_window.h"
#include "logic/bands.h"
#include "logic/draw.h"
#include "logic/number_words.h"
#include "media/picture.h"

#include <QLabel>
#include <QLineEdit>

void Tavola::cmdNext_Click()
{
    const Controls &c = controls();
    Command3_Click();
    c.Text2->setText(QString());
    c.lblMessage->setCaption(QString());
    rnd.reseed();
    roundCount = numbers::incremented(roundCount);
    int drawnNumber = 0;
    while (drawnNumber == 0)
        drawnNumber = scaledDraw(rnd.next());
    playWave(assets.numberSound(drawnNumber));
    setPicture(assets.countPicture(drawnNumber));
    const int colourSeed = scaledDraw(rnd.next());
    c.Text1->setText(numbers::formatNumber(drawnNumber, QStringLiteral("#0")));
    // numlett consumes its argument, so it gets a copy of the digits' value.
    std::int64_t value = parseFixedPoint(c.Text1->text()).value_or(0);
    c.Text2->setText(numlett(value));
    c.Text3->setText(QString());
    paintGradient(drawnNumber, colourSeed);
    setFocusTo(c.Text3);
}

void Tavola::setPicture(const QString &path)
{
    std::optional<QPixmap> picture = LoadPicture(path, controls().Picture1->devicePixelRatioF());
    if (!picture) {
        // A missing picture must not stop the game: the box stays empty.
        qCWarning(lcAssets).noquote() << "cannot read picture" << path;
        picture = QPixmap();
    }
    controls().Picture1->setPixmap(*picture);
}

QString Tavola::numlett(std::int64_t &value)
{
    if (value == 0)
        application::msgBox(form.get(), QStringLiteral("inserisci numero"));
    numberWords = numberWordTable();
    const std::optional<QString> words = italianWords(value);
    if (!words)
        return QString(); // beyond what the words can say: nothing is spelled or consumed
    value = remainderAfterWords(value);
    return *words;
}

void Tavola::paintGradient(int drawnNumber, int colourSeed)
{
    BackdropArea *client = form->client();
    client->setBackground(renderGradient(client->size(), drawnNumber, colourSeed));
}
