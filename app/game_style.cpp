#include "app/game_style.h"

#include "app/platform.h"

#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace
{

// The question mark of a message box, drawn at whatever size it is asked for: Fusion's own
// is a 32-pixel image, which a dense screen shows enlarged and blurred.
class QuestionIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const qreal unit = rect.width() / 32.0;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QColor(0, 40, 120), 1.5 * unit));
        painter->setBrush(QColor(40, 100, 210));
        painter->drawEllipse(QRectF(rect).adjusted(unit, unit, -unit, -unit));
        QFont font(platform::sansFace());
        font.setBold(true);
        font.setPixelSize(qRound(24 * unit));
        painter->setFont(font);
        painter->setPen(Qt::white);
        painter->drawText(rect, Qt::AlignCenter, QStringLiteral("?"));
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new QuestionIconEngine; }
};

// Fusion with what the game's platform gives: the menu bar reached by keys, its chosen item
// marked, and a message box icon drawn for the screen's density.
class GameStyle : public QProxyStyle
{
public:
    GameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    // Alt alone enters the menu bar, and Enter chooses an item that opens no menu.
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
    // Fusion marks a menu bar item only while its menu is open; entered by keys, the bar marks
    // the chosen item the same way, or the child would not see where the arrows are.
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_MenuBarItem && (option->state & State_Selected) && widget &&
            widget->hasFocus()) {
            QStyleOptionMenuItem marked = *qstyleoption_cast<const QStyleOptionMenuItem *>(option);
            marked.state |= State_Sunken;
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (icon == SP_MessageBoxQuestion)
            return QIcon(new QuestionIconEngine);
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

} // namespace

QStyle *gameStyle()
{
    return new GameStyle;
}
