// Drives the real window: its description, the answer check, the exercise cycle, the
// lifecycle, the clock and title, with keys, the menu and message boxes as a child uses them.
#include "app/clock.h"
#include "app/main_window.h"
#include "recording_sound.h"
#include "tools/ani_writer.h"
#include "words/number_words.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace
{

// Answers the next message box with the button of the given name, after noting its texts.
struct MessageBoxAnswer {
    QString title, text, defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool seen = false;

    void answerWith(const QString &buttonName)
    {
        QTimer::singleShot(0, qApp, [this, buttonName] { poll(buttonName, 200); });
    }

private:
    void poll(const QString &buttonName, int triesLeft)
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft > 0)
                QTimer::singleShot(10, qApp, [=, this] { poll(buttonName, triesLeft - 1); });
            return;
        }
        seen = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->findChild<QPushButton *>(buttonName)->click();
    }
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void description();
    void menusAndPointers();
    void startsWithTheFirstExercise();
    void answers_data();
    void answers();
    void enterTwiceJudgesOnceThenMovesOn();
    void otherKeysOnlyType();
    void tabFollowsTheTabIndex();
    void holdingEnterDoesNotOverflow();
    void fullGame();
    void missingPictureKeepsPlaying();
    void newGameAnsweredNo();
    void newGameAnsweredYes();
    void exitButtonEndsWithoutUnload();
    void closeBoxUnloadsAndEnds();
    void activationDoesNotRepeat();
    void clockAndStatusBar();
    void minimisingShowsTheTime();
    void verdictsAndWordsReadable();
    void numlettAsksForANumberAtZero();
    void unexpectedErrorIsReported();

private:
    void start(bool withPictures = true);
    void type(const QString &text);
    void press(Qt::Key key);
    void setExpected(const QString &digits);
    const Controls &c() const { return tavola->controls(); }

    QTemporaryDir folder;
    RecordingSound sound;
    std::unique_ptr<Tavola> tavola;
    int ends = 0;
    QStringList reported;
};

void TestWindow::initTestCase()
{
    runtime::setUpApplication();
    runtime::setErrorReporter([this](const QString &message) { reported << message; });
    QVERIFY(folder.isValid());
    QDir(folder.path()).mkpath(QStringLiteral("img"));
    // Each picture has its own width, so the test can tell which one the box shows.
    for (int n = 1; n <= 10; ++n) {
        QImage picture(20 + n, 30, QImage::Format_RGB888);
        picture.fill(QColor(0, 20 * n, 200));
        QVERIFY(picture.save(folder.filePath(QStringLiteral("img/terra%1.bmp").arg(n)), "BMP"));
    }
    std::vector<QImage> frames;
    for (const QColor colour : {Qt::red, Qt::green, Qt::blue, Qt::yellow}) {
        QImage frame(32, 32, QImage::Format_ARGB32);
        frame.fill(colour);
        frames.push_back(frame);
    }
    QFile cursor(folder.filePath(QStringLiteral("img/cat-d.ani")));
    QVERIFY(cursor.open(QIODevice::WriteOnly));
    cursor.write(writeAniCursor(frames, QPoint(3, 4), {6, 6, 6, 6}));
}

void TestWindow::init()
{
    sound.played.clear();
    sound.paths.clear();
    reported.clear();
    ends = 0;
}

void TestWindow::cleanup()
{
    tavola.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(reported.isEmpty(), qPrintable(reported.join('\n')));
}

void TestWindow::start(bool withPictures)
{
    const QString path = withPictures ? folder.path() : folder.path() + QStringLiteral("/none");
    tavola = std::make_unique<Tavola>(&sound, path);
    tavola->setEndProgram([this] { ++ends; });
    tavola->Show();
    QVERIFY(QTest::qWaitForWindowExposed(tavola->window()));
}

void TestWindow::type(const QString &text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
}

void TestWindow::press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

// The digits box is the exercise's state holder: setting it chooses the expected answer.
void TestWindow::setExpected(const QString &digits)
{
    c().Text1->setText(digits);
}

void TestWindow::description()
{
    Controls controls;
    const auto form = buildForm(controls);
    QCOMPARE(form->objectName(), QStringLiteral("Tavola"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Brimaseo"));
    QCOMPARE(form->client()->size(), QSize(689, 557));
    // Every control exists by its name, where the description puts it, shown or hidden.
    for (const ControlSpec &entry : controlDescription()) {
        const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        auto *object = form->findChild<QObject *>(name);
        QVERIFY2(object, qPrintable(name));
        auto *widget = qobject_cast<QWidget *>(object);
        if (entry.kind == ControlKind::Timer) {
            QCOMPARE(qobject_cast<QTimer *>(object)->interval(), entry.interval);
            QVERIFY(qobject_cast<QTimer *>(object)->isActive());
            continue;
        }
        const QRect rect(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15);
        QVERIFY2(widget->geometry() == rect, qPrintable(name));
        QVERIFY2(widget->parentWidget() == form->client(), qPrintable(name));
        QVERIFY2(widget->isVisibleTo(form.get()) == entry.visible, qPrintable(name));
        QVERIFY2(widget->isEnabled() == entry.enabled, qPrintable(name));
        if (entry.backColour && entry.kind == ControlKind::Label)
            QCOMPARE(widget->palette().color(QPalette::Window), colourFromValue(*entry.backColour));
    }
    QCOMPARE(controls.Text1->text(), QStringLiteral("0"));
    QCOMPARE(controls.Text3->palette().color(QPalette::Base), QColor(192, 255, 192));
    QCOMPARE(controls.cmdNext->palette().color(QPalette::Button), QColor(0, 255, 255));
    QCOMPARE(controls.lblScore1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(controls.Text3->font().pointSize(), 48);
    QVERIFY(controls.lblMessage->font().italic());
    QCOMPARE(controls.cmdExit->toolTip(),
             QStringLiteral("Ti prego resta ancora, forse riuscirai a farmi uscire "));
    QCOMPARE(controls.StatusBar1->panelCount(), 5);
    QCOMPARE(controls.StatusBar1->panel(2)->text(), QStringLiteral("PUNTEGGIO"));
    QVERIFY(controls.StatusBar1->panel(5)->text().isEmpty());
    // The built-in pictures: the photograph, the cartoon's first frame, the icons.
    QCOMPARE(controls.Picture2->pixmap().size(), QSize(80, 53));
    QCOMPARE(controls.Image1->pixmap().size(), QSize(98, 83));
    QVERIFY(!controls.cmdNext->icon().isNull() && !controls.cmdExit->icon().isNull());
    QVERIFY(!form->windowIcon().isNull());
    // The picture box lies inside its frame and in front of it.
    QVERIFY(controls.Conta->geometry().contains(controls.Picture1->geometry()));
    const auto order = form->client()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QVERIFY(order.indexOf(controls.Picture1) > order.indexOf(controls.Conta));
}

void TestWindow::menusAndPointers()
{
    Controls controls;
    const auto form = buildForm(controls);
    for (const MenuSpec &entry : menuDescription()) {
        const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        QObject *item = form->findChild<QObject *>(name);
        QVERIFY2(item, qPrintable(name));
        const QString text = entry.isMenu ? qobject_cast<QMenu *>(item)->title()
                                          : qobject_cast<QAction *>(item)->text();
        QCOMPARE(text.toUtf8(), QByteArray(entry.caption.data(), qsizetype(entry.caption.size())));
        // A string_view of a literal is null-terminated, so data() is a C string here.
        QObject *parent = entry.parent.empty()
                              ? static_cast<QObject *>(form->menuBar())
                              : form->findChild<QObject *>(QLatin1String(entry.parent.data()));
        QCOMPARE(item->parent(), parent);
    }
    QCOMPARE(controls.Next->text(), QStringLiteral("NUOVO GIOCO"));

    // Labels and the picture show the window's cursor; the icon shape on two controls.
    for (QWidget *inherits :
         std::initializer_list<QWidget *>{controls.Label6, controls.lblScore, controls.Image1})
        QVERIFY(!inherits->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(controls.cmdNext->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(controls.lblMessage->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(controls.cmdExit->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(controls.Text3->cursor().shape(), Qt::IBeamCursor);
}

void TestWindow::startsWithTheFirstExercise()
{
    start();
    const int number = c().Text1->text().toInt();
    QVERIFY(number >= 1 && number <= 30);
    QCOMPARE(c().Text1->text(), QString::number(number));
    QCOMPARE(c().Text2->text(), italianWords(number * 10000).value());
    QVERIFY(c().Text3->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), c().Text3);
    QVERIFY(c().lblMessage->text().isEmpty());
    QVERIFY(c().cmdNext->isEnabled());
    QCOMPARE(sound.played, QStringList{QStringLiteral("%1.wav").arg(number)});
    QCOMPARE(sound.paths.first(), folder.path() + QStringLiteral("/img/%1.wav").arg(number));
    for (FittingLabel *score : {c().lblScore, c().lblScore1, c().lblScore2})
        QCOMPARE(score->text(), QStringLiteral("0"));
    QCOMPARE(tavola->correctCount, 0);
    QCOMPARE(tavola->wrongCount, 0);
    QCOMPARE(tavola->roundCount, 0);
    QCOMPARE(tavola->window()->windowTitle(), QStringLiteral("Quintarel"));
    // The animated cursor is on the window.
    QCOMPARE(tavola->window()->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(tavola->window()->cursor().hotSpot(), QPoint(3, 4));
    // The background is painted: its top band is blue 0, its bottom band blue 255.
    const QImage background = tavola->window()->client()->background();
    QCOMPARE(background.size(), QSize(689, 557));
    QCOMPARE(background.pixelColor(5, 0).blue(), 0);
    QCOMPARE(background.pixelColor(5, 556).blue(), 255);
    QCOMPARE(background.pixelColor(5, 0).red(), std::min(20 * number, 255));
}

void TestWindow::answers_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("sound");
    QTest::newRow("right 7") << "7"
                             << "7" << true << "brava1.wav";
    QTest::newRow("right 24") << "24"
                              << "24" << true << "brava1.wav";
    QTest::newRow("right 25") << "25"
                              << "25" << true << "brava.wav";
    QTest::newRow("wrong digits") << "17"
                                  << "71" << false << "no.wav";
    QTest::newRow("empty") << "30"
                           << "" << false << "no.wav";
    QTest::newRow("leading zero") << "7"
                                  << "07" << false << "no.wav";
    QTest::newRow("spaces") << "12"
                            << " 12 " << false << "no.wav";
}

void TestWindow::answers()
{
    QFETCH(QString, expected);
    QFETCH(QString, typed);
    QFETCH(bool, right);
    QFETCH(QString, sound);
    start();
    setExpected(expected);
    type(typed);
    QCOMPARE(c().Text3->text(), typed);
    press(Qt::Key_Return);

    QCOMPARE(tavola->expectedText, expected);
    QCOMPARE(tavola->correctCount, right ? 1 : 0);
    QCOMPARE(tavola->wrongCount, right ? 0 : 1);
    QCOMPARE(c().lblMessage->text(),
             right ? QStringLiteral("Esatto, è incredibile!!!") : "Sbagliato!! " + expected);
    QCOMPARE(c().lblMessage->palette().color(QPalette::WindowText),
             right ? QColor(255, 255, 0) : QColor(255, 0, 0));
    QCOMPARE(this->sound.played.last(), sound);
    QCOMPARE(this->sound.played.size(), 2);
    QCOMPARE(QApplication::focusWidget(), c().cmdNext);
    // After a wrong answer every score is current at once; after a right one they wait.
    QCOMPARE(c().lblScore1->text(), right ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(c().lblScore2->text(), right ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(c().lblScore->text(), QStringLiteral("0"));
}

void TestWindow::enterTwiceJudgesOnceThenMovesOn()
{
    start();
    setExpected(QStringLiteral("5"));
    type(QStringLiteral("4"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    QCOMPARE(tavola->wrongCount, 1);
    QCOMPARE(tavola->correctCount, 0);
    QCOMPARE(sound.played.size(), 3);
    QCOMPARE(sound.played[1], QStringLiteral("no.wav"));
    QCOMPARE(sound.played[2], c().Text1->text() + QStringLiteral(".wav"));
    QCOMPARE(QApplication::focusWidget(), c().Text3);
    QVERIFY(c().Text3->text().isEmpty());
    QVERIFY(c().lblMessage->text().isEmpty());
    // Clicking back into the box and pressing Enter judges the same answer again.
    c().Text3->setFocus();
    press(Qt::Key_Return);
    QCOMPARE(tavola->wrongCount, 2);
}

void TestWindow::otherKeysOnlyType()
{
    start();
    type(QStringLiteral("a1"));
    press(Qt::Key_Backspace);
    type(QStringLiteral("2"));
    QCOMPARE(c().Text3->text(), QStringLiteral("a2"));
    QCOMPARE(tavola->wrongCount + tavola->correctCount, 0);
    QCOMPARE(sound.played.size(), 1);
    QCOMPARE(QApplication::focusWidget(), c().Text3);
}

void TestWindow::tabFollowsTheTabIndex()
{
    start();
    c().cmdExit->setFocus();
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        press(Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"Text2", "Text3", "cmdNext", "cmdExit", "Text2"}));
}

void TestWindow::holdingEnterDoesNotOverflow()
{
    start();
    tavola->correctCount = 32767;
    tavola->wrongCount = 32767;
    press(Qt::Key_Return); // empty answer: wrong
    QCOMPARE(tavola->wrongCount, 32768);
    QCOMPARE(c().lblScore1->text(), QStringLiteral("32768"));
    QCOMPARE(c().lblScore2->text(), QStringLiteral("65535"));
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    QCOMPARE(tavola->wrongCount, 32769);
    QCOMPARE(ends, 0);
}

void TestWindow::fullGame()
{
    start();
    int correct = 0, wrong = 0;
    QSet<int> numbers;
    for (int round = 0; round < 120; ++round) {
        const int number = c().Text1->text().toInt();
        numbers.insert(number);
        QVERIFY(number >= 1 && number <= 30);
        QCOMPARE(c().Text2->text(), italianWords(number * 10000).value());
        QCOMPARE(sound.played.last(), QStringLiteral("%1.wav").arg(number));
        // A picture for 1 to 10 (each test picture is 20 + n wide), none above.
        const QPixmap picture = c().Picture1->pixmap();
        if (number <= 10)
            QCOMPARE(picture.width(), 20 + number);
        else
            QVERIFY(picture.isNull());
        QCOMPARE(c().lblScore->text(), QString::number(correct));
        QCOMPARE(c().lblScore1->text(), QString::number(wrong));
        QCOMPARE(c().lblScore2->text(), QString::number(correct + wrong));

        const bool answerRight = round % 3 != 0;
        type(answerRight ? c().Text1->text() : QStringLiteral("99"));
        press(Qt::Key_Return);
        (answerRight ? correct : wrong) += 1;
        QCOMPARE(tavola->correctCount, correct);
        QCOMPARE(tavola->wrongCount, wrong);
        press(Qt::Key_Return);
    }
    // The draws spread over the whole range.
    QVERIFY(numbers.size() > 20);
    QVERIFY(*std::max_element(numbers.begin(), numbers.end()) <= 30);
}

void TestWindow::missingPictureKeepsPlaying()
{
    start(false);
    for (int round = 0; round < 60; ++round) {
        QVERIFY(c().Picture1->pixmap().isNull());
        QVERIFY(c().Text2->text().size() > 0);
        press(Qt::Key_Return);
        press(Qt::Key_Return);
    }
    QCOMPARE(tavola->wrongCount, 60);
    // Without a cursor file the usual pointer stays.
    QVERIFY(tavola->window()->cursor().shape() != Qt::BitmapCursor);
}

void TestWindow::newGameAnsweredNo()
{
    start();
    setExpected(QStringLiteral("3"));
    press(Qt::Key_Return);
    const QString digits = c().Text1->text();
    const QStringList before = sound.played;
    GameWindow *window = tavola->window();
    MessageBoxAnswer box;
    box.answerWith(QStringLiteral("noButton"));
    c().Next->trigger();
    QVERIFY(box.seen);
    QCOMPARE(box.title, QStringLiteral("INIZIARE NUOVA GARA"));
    QCOMPARE(box.text, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.defaultButton, QStringLiteral("No"));
    QCOMPARE(tavola->window(), window);
    QCOMPARE(c().Text1->text(), digits);
    QCOMPARE(tavola->wrongCount, 1);
    QCOMPARE(c().lblScore1->text(), QStringLiteral("1"));
    QCOMPARE(sound.played, before);
}

void TestWindow::newGameAnsweredYes()
{
    start();
    setExpected(QStringLiteral("3"));
    press(Qt::Key_Return);
    QCOMPARE(c().lblScore1->text(), QStringLiteral("1"));
    QPointer<GameWindow> old = tavola->window();
    MessageBoxAnswer box;
    box.answerWith(QStringLiteral("yesButton"));
    c().Next->trigger();
    QVERIFY(box.seen);
    QCOMPARE(old->cursor().shape(), Qt::ArrowCursor); // the unload put the old cursor back
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
    QVERIFY(tavola->isLoaded());
    QVERIFY(tavola->window()->isVisible());
    QCOMPARE(ends, 0);
    // A fresh window with a fresh exercise and a zero score.
    for (FittingLabel *score : {c().lblScore, c().lblScore1, c().lblScore2})
        QCOMPARE(score->text(), QStringLiteral("0"));
    QCOMPARE(tavola->correctCount + tavola->wrongCount + tavola->roundCount, 0);
    QVERIFY(c().lblMessage->text().isEmpty());
    QCOMPARE(c().StatusBar1->panel(2)->text(), QStringLiteral("PUNTEGGIO"));
    QCOMPARE(sound.played.size(), 3);
    QCOMPARE(sound.played.last(), c().Text1->text() + QStringLiteral(".wav"));
    QTRY_COMPARE(QApplication::focusWidget(), c().Text3);
    QCOMPARE(tavola->window()->cursor().shape(), Qt::BitmapCursor);
}

void TestWindow::exitButtonEndsWithoutUnload()
{
    start();
    QTest::keyClick(tavola->window()->windowHandle(), Qt::Key_X, Qt::AltModifier); // "E&xit"
    QTRY_COMPARE(ends, 1); // an access key presses the button visibly, then clicks
    QVERIFY(tavola->isLoaded());
    QCOMPARE(tavola->window()->cursor().shape(), Qt::BitmapCursor);
}

void TestWindow::closeBoxUnloadsAndEnds()
{
    start();
    QPointer<GameWindow> window = tavola->window();
    window->close();
    QCOMPARE(ends, 1);
    QVERIFY(!tavola->isLoaded());
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
}

void TestWindow::activationDoesNotRepeat()
{
    start();
    const QStringList before = sound.played;
    const QString digits = c().Text1->text();
    tavola->correctCount = 4;
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QApplication::sendEvent(tavola->window(), &deactivate);
    QApplication::sendEvent(tavola->window(), &activate);
    tavola->Show(); // showing a shown window is not a new load either
    QCOMPARE(sound.played, before);
    QCOMPARE(c().Text1->text(), digits);
    QCOMPARE(tavola->correctCount, 4);
}

void TestWindow::clockAndStatusBar()
{
    start();
    QTRY_COMPARE(c().StatusBar1->panel(1)->text(), QStringLiteral("Lumetrava"));
    tavola->Timer2_Timer();
    QCOMPARE(c().StatusBar1->panel(2)->text(), QStringLiteral("Risposte esatte"));
    QCOMPARE(c().StatusBar1->panel(3)->text(), QStringLiteral("0"));
    QCOMPARE(c().StatusBar1->panel(4)->text(), c().Label2->text());
    QVERIFY(c().StatusBar1->panel(5)->text().isEmpty());
    const QRegularExpression pattern(
        QStringLiteral("^\\S+ \\d\\d \\S+ \\d{4}  \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY2(pattern.match(c().Label2->text()).hasMatch(), qPrintable(c().Label2->text()));
    // The whole clock text shows in its panel.
    QLabel *panel = c().StatusBar1->panel(4);
    QTRY_VERIFY(panel->contentsRect().width() >=
                panel->fontMetrics().horizontalAdvance(panel->text()));
    // Panel 3 follows the correct-answer label at the next tick.
    c().lblScore->setCaption(QStringLiteral("12"));
    QTRY_COMPARE(c().StatusBar1->panel(3)->text(), QStringLiteral("12"));
}

void TestWindow::minimisingShowsTheTime()
{
    start();
    GameWindow *window = tavola->window();
    const QList<QRect> before = {c().Text3->geometry(), c().lblScore->geometry()};
    window->showMinimized();
    QTRY_VERIFY(window->windowState() & Qt::WindowMinimized);
    const QString title = window->windowTitle();
    QVERIFY2(QRegularExpression(QStringLiteral("^(0[1-9]|1[0-2])\\D\\d\\d \\S+$"))
                 .match(title)
                 .hasMatch(),
             qPrintable(title));
    tavola->Timer2_Timer();
    QCOMPARE(window->windowTitle(), title); // the title keeps the moment of minimising
    window->showNormal();
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("Quintarel"));
    QCOMPARE((QList<QRect>{c().Text3->geometry(), c().lblScore->geometry()}), before);
}

void TestWindow::verdictsAndWordsReadable()
{
    start();
    QStringList verdicts{QStringLiteral("Esatto, è incredibile!!!")};
    for (int n = 1; n <= 30; ++n)
        verdicts << QStringLiteral("Sbagliato!! %1").arg(n);
    const QRect client = tavola->window()->client()->rect();
    const QList<QWidget *> keepClear = {c().Text3,     c().Text2,  c().lblScore, c().lblScore1,
                                        c().lblScore2, c().Image1, c().Conta};
    for (const QString &verdict : verdicts) {
        c().lblMessage->setCaption(verdict);
        const QRect rect = c().lblMessage->geometry();
        QVERIFY2(client.contains(rect), qPrintable(verdict));
        for (QWidget *other : keepClear)
            QVERIFY2(!rect.intersects(other->geometry()),
                     qPrintable(verdict + " over " + other->objectName()));
        const QRect needed = c().lblMessage->fontMetrics().boundingRect(
            c().lblMessage->contentsRect(), Qt::TextWordWrap | Qt::AlignHCenter, verdict);
        QVERIFY2(c().lblMessage->contentsRect().contains(needed), qPrintable(verdict));
        QVERIFY(c().lblMessage->font().pointSize() >= 20);
    }
    for (int n = 1; n <= 30; ++n) {
        const QString words = italianWords(n * 10000).value();
        c().Text2->setText(words);
        QVERIFY2(c().Text2->fontMetrics().horizontalAdvance(words) <= c().Text2->width() - 12,
                 qPrintable(words));
        QVERIFY(c().Text2->font().pointSize() >= 30);
    }
}

void TestWindow::numlettAsksForANumberAtZero()
{
    start();
    std::int64_t value = 0;
    MessageBoxAnswer box;
    box.answerWith(QStringLiteral("okButton"));
    QCOMPARE(tavola->numlett(value), QString());
    QVERIFY(box.seen);
    QCOMPARE(box.text, QStringLiteral("inserisci numero"));
    QCOMPARE(box.title, QStringLiteral("Vorlandi"));
    QCOMPARE(tavola->numberWords.at(21), QStringLiteral("venti"));
    QCOMPARE(tavola->numberWords.size(), 29);
    // Fractions are dropped and left in the argument; beyond the words' range nothing is said.
    value = 55000;
    QCOMPARE(tavola->numlett(value), QStringLiteral("cinque"));
    QCOMPARE(value, std::int64_t{5000});
    value = std::int64_t{1'000'000'000'000} * 10000;
    QCOMPARE(tavola->numlett(value), QString());
    QVERIFY(tavola->isLoaded());
}

void TestWindow::unexpectedErrorIsReported()
{
    runtime::guarded([] { throw runtime::RuntimeError(6, QStringLiteral("Overflow")); });
    QCOMPARE(reported.size(), 1);
    QVERIFY(reported.first().contains(QStringLiteral("6")));
    QVERIFY(reported.first().contains(QStringLiteral("Overflow")));
    reported.clear();
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
