#pragma once
// The window's client area, which holds every control and shows the background picture behind
// them.

#include <QImage>
#include <QWidget>

// Holds every control and shows the persistent background picture behind them.
class BackdropArea : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setBackground(QImage image);
    const QImage &background() const { return image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage image;
};
