#include "app/main_window.h"
#include "app/runtime.h"
#include "logic/assets.h"
#include "logic/draw.h"
#include "logic/number_words.h"
#include "media/picture.h"

#include <QLineEdit>

void Tavola::cmdNext_Click()
{
    const Controls &c = controls();
    Command3_Click();
    c.Text2->setText(QString());
    c.lblMessage->setCaption(QString());
    rnd.reseed();
    roundCount = runtime::incremented(roundCount);
    int drawnNumber = 0;
    while (drawnNumber == 0)
        drawnNumber = scaledDraw(rnd.next());
    playWave(asset(numberSound(drawnNumber)));
    setPicture(drawnNumber <= 10 ? numberPicture(drawnNumber) : QString());
    const int colourSeed = scaledDraw(rnd.next());
    c.Text1->setText(runtime::formatNumber(drawnNumber, QStringLiteral("#0")));
    // numlett consumes its argument, so it gets a copy of the digits' value.
    std::int64_t value = parseFixedPoint(c.Text1->text()).value_or(0);
    c.Text2->setText(numlett(value));
    c.Text3->setText(QString());
    paintGradient(drawnNumber, colourSeed);
    setFocusTo(c.Text3);
}

void Tavola::setPicture(const QString &relativePath)
{
    const QString path = relativePath.isEmpty() ? QString() : asset(relativePath);
    std::optional<QPixmap> picture = LoadPicture(path, controls().Picture1->devicePixelRatioF());
    if (!picture) {
        // A missing picture must not stop the game: the box stays empty.
        runtime::warn(QStringLiteral("cannot read picture ") + path);
        picture = QPixmap();
    }
    controls().Picture1->setPixmap(*picture);
}
