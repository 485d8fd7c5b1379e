#include "drawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace
{

// A closed curve through the points (Catmull-Rom), for organic shapes such as continents.
QPainterPath smoothClosed(const std::vector<QPointF> &points)
{
    QPainterPath path;
    const auto n = points.size();
    path.moveTo(points[0]);
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF &p0 = points[(i + n - 1) % n];
        const QPointF &p1 = points[i];
        const QPointF &p2 = points[(i + 1) % n];
        const QPointF &p3 = points[(i + 2) % n];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage finished(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    out.setDotsPerMeterX(3780); // 96 dpi
    out.setDotsPerMeterY(3780);
    return out;
}

// ------------------------------------------------------------------ globes

void paintGlobe(QPainter &p, QPointF centre, qreal radius)
{
    p.save();
    p.translate(centre);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 60, 110, 45));
    p.drawEllipse(QPointF(radius * 0.12, radius * 0.16), radius, radius);

    QRadialGradient ocean(QPointF(-0.35 * radius, -0.4 * radius), 1.5 * radius);
    ocean.setColorAt(0.0, QColor(0x9a, 0xde, 0xff));
    ocean.setColorAt(0.5, QColor(0x2e, 0x8f, 0xe6));
    ocean.setColorAt(1.0, QColor(0x10, 0x4f, 0xa8));
    p.setBrush(ocean);
    p.drawEllipse(QPointF(0, 0), radius, radius);

    QPainterPath disc;
    disc.addEllipse(QPointF(0, 0), radius, radius);
    p.setClipPath(disc);
    const std::vector<std::vector<QPointF>> lands = {
        {{-0.78, -0.58},
         {-0.38, -0.74},
         {-0.12, -0.5},
         {-0.32, -0.22},
         {-0.16, 0.12},
         {-0.06, 0.46},
         {-0.26, 0.86},
         {-0.46, 0.5},
         {-0.62, 0.12},
         {-0.88, -0.18}},
        {{0.22, -0.78},
         {0.6, -0.64},
         {0.8, -0.28},
         {0.56, 0.04},
         {0.68, 0.4},
         {0.42, 0.72},
         {0.24, 0.36},
         {0.12, 0.0},
         {0.3, -0.32}},
        {{0.52, 0.62}, {0.78, 0.52}, {0.84, 0.74}, {0.6, 0.84}},
    };
    QRadialGradient land(QPointF(-0.35 * radius, -0.4 * radius), 1.5 * radius);
    land.setColorAt(0.0, QColor(0x9b, 0xe5, 0x5a));
    land.setColorAt(1.0, QColor(0x2e, 0x8b, 0x2f));
    p.setBrush(land);
    p.setPen(QPen(QColor(0x24, 0x6b, 0x25), std::max(0.8, radius * 0.05)));
    for (const auto &shape : lands) {
        std::vector<QPointF> scaled;
        for (const QPointF &point : shape)
            scaled.push_back(point * radius);
        p.drawPath(smoothClosed(scaled));
    }
    p.setClipping(false);

    QRadialGradient shine(QPointF(-0.42 * radius, -0.48 * radius), 0.62 * radius);
    shine.setColorAt(0.0, QColor(255, 255, 255, 190));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(QPointF(0, 0), radius, radius);

    const qreal outline = std::max(1.4, radius * 0.09);
    p.setPen(QPen(QColor(0x0b, 0x2e, 0x59), outline));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), radius - outline / 2, radius - outline / 2);
    p.restore();
}

// ------------------------------------------------------------------ cat

QPainterPath triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

constexpr QPointF catEarTip(1.6, 1.6);

QImage catFrame(qreal swing, int size)
{
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    const QColor fur(0xf5, 0x9e, 0x2a);
    const QColor stripe(0xc4, 0x67, 0x12);
    const QColor line(0x24, 0x15, 0x0a);
    const QColor halo(255, 255, 255);

    QPainterPath head;
    head.addEllipse(QPointF(12, 13), 8.6, 7.6);
    const QPainterPath leftEar = triangle(catEarTip, QPointF(3.6, 10.5), QPointF(9.8, 5.6));
    const QPainterPath rightEar =
        triangle(QPointF(22.4, 1.6), QPointF(14.2, 5.6), QPointF(20.4, 10.5));
    const QPainterPath headShape = head.united(leftEar).united(rightEar).simplified();

    QPainterPath body;
    body.addEllipse(QPointF(19.5, 23), 8, 6.3);

    // The tail sways about its root; swing runs from -1 to 1.
    QPainterPath tailLine;
    tailLine.moveTo(25.0, 25.5);
    tailLine.cubicTo(QPointF(28.8, 24.5), QPointF(28.4 + 0.6 * swing, 19.5),
                     QPointF(26.4 + 2.6 * swing, 14.2 + std::abs(swing) * 1.2));
    QPainterPathStroker tailStroker;
    tailStroker.setWidth(3.2);
    tailStroker.setCapStyle(Qt::RoundCap);
    const QPainterPath tail = tailStroker.createStroke(tailLine);
    const QPainterPath bodyShape = body.united(tail).simplified();

    const QPainterPath silhouette = headShape.united(bodyShape).simplified();
    p.strokePath(silhouette, QPen(halo, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fur);
    p.drawPath(bodyShape);
    p.setPen(QPen(stripe, 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 17.8), QPointF(21.5, 20.4));
    p.drawLine(QPointF(23.8, 18.8), QPointF(24.4, 21.4));
    p.setPen(QPen(line, 0.8));
    p.setBrush(QColor(0xff, 0xf1, 0xdc));
    p.drawEllipse(QPointF(15.8, 27.4), 2.3, 1.5);
    p.drawEllipse(QPointF(20.6, 27.9), 2.3, 1.5);

    p.setPen(QPen(line, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fur);
    p.drawPath(headShape);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf7, 0xa8, 0xbd));
    p.drawPath(triangle(QPointF(3.6, 3.6), QPointF(5.0, 8.6), QPointF(8.2, 6.2)));
    p.drawPath(triangle(QPointF(20.4, 3.6), QPointF(15.8, 6.2), QPointF(19.0, 8.6)));

    p.setPen(QPen(stripe, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 6.4), QPointF(12, 8.4));
    p.drawLine(QPointF(10, 6.8), QPointF(10.4, 8.6));
    p.drawLine(QPointF(14, 6.8), QPointF(13.6, 8.6));

    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawEllipse(QPointF(8.9, 12.6), 1.35, 1.9);
    p.drawEllipse(QPointF(15.1, 12.6), 1.35, 1.9);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(9.3, 12.0), 0.55, 0.55);
    p.drawEllipse(QPointF(15.5, 12.0), 0.55, 0.55);

    p.setBrush(QColor(0xe8, 0x5d, 0x86));
    p.drawPath(triangle(QPointF(10.8, 15.2), QPointF(13.2, 15.2), QPointF(12, 16.5)));
    p.setPen(QPen(line, 0.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth;
    mouth.moveTo(10.2, 17.2);
    mouth.quadTo(11.1, 18.4, 12, 16.9);
    mouth.quadTo(12.9, 18.4, 13.8, 17.2);
    p.drawPath(mouth);
    p.end();
    return finished(image);
}

// ------------------------------------------------------------------ icons

// Picks between the colour of the 16-colour image and that of the full-colour one.
QColor tone(bool vga, QColor vgaColour, QColor fullColour)
{
    return vga ? vgaColour : fullColour;
}

void paintSlate(QPainter &p, bool vga)
{
    const QColor outline = tone(vga, Qt::black, QColor(0x4a, 0x2a, 0x10));
    const QRectF frame(0.5, 3.5, 31, 25);
    if (vga) {
        p.setBrush(QColor(128, 128, 0));
    } else {
        QLinearGradient wood(frame.topLeft(), frame.bottomLeft());
        wood.setColorAt(0, QColor(0xe8, 0xaa, 0x62));
        wood.setColorAt(1, QColor(0xb0, 0x68, 0x2a));
        p.setBrush(wood);
    }
    p.setPen(QPen(outline, 1.0));
    p.drawRoundedRect(frame, 3, 3);

    const QRectF board(3.5, 6.5, 25, 19);
    if (vga) {
        p.setBrush(QColor(0, 128, 0));
    } else {
        QLinearGradient slate(board.topLeft(), board.bottomRight());
        slate.setColorAt(0, QColor(0x2f, 0x85, 0x55));
        slate.setColorAt(1, QColor(0x17, 0x55, 0x36));
        p.setBrush(slate);
    }
    p.setPen(QPen(tone(vga, Qt::black, QColor(0x3a, 0x22, 0x0c)), 1.0));
    p.drawRect(board);

    const qreal chalk = 2.0;
    auto pen = [&](QColor colour) {
        return QPen(colour, chalk, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    };
    p.setBrush(Qt::NoBrush);

    QPainterPath one;
    one.moveTo(6.8, 11.6);
    one.lineTo(8.8, 9.8);
    one.lineTo(8.8, 22.0);
    p.setPen(pen(tone(vga, QColor(255, 255, 0), QColor(0xff, 0xe9, 0x3b))));
    p.drawPath(one);

    QPainterPath two;
    two.moveTo(11.8, 12.4);
    two.cubicTo(12.2, 9.4, 16.4, 9.3, 16.4, 12.4);
    two.cubicTo(16.4, 15.2, 12.8, 17.6, 11.7, 22.0);
    two.lineTo(16.7, 22.0);
    p.setPen(pen(Qt::white));
    p.drawPath(two);

    QPainterPath three;
    three.moveTo(19.8, 11.3);
    three.cubicTo(21.0, 9.3, 24.4, 9.5, 24.4, 12.5);
    three.cubicTo(24.4, 14.6, 22.7, 15.6, 21.4, 15.7);
    three.cubicTo(23.2, 15.7, 24.8, 16.9, 24.8, 19.0);
    three.cubicTo(24.8, 22.5, 20.9, 23.0, 19.6, 21.0);
    p.setPen(pen(tone(vga, QColor(0, 255, 255), QColor(0x80, 0xde, 0xf0))));
    p.drawPath(three);

    // A stick of chalk on the ledge.
    p.setPen(QPen(outline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(20.5, 25.8, 6, 2));
}

} // namespace

// ------------------------------------------------------------------ public

QImage globesPicture(int count, int scale)
{
    QImage image(217 * scale, 81 * scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    QLinearGradient sky(0, 0, 0, 81);
    sky.setColorAt(0, QColor(0xdd, 0xf0, 0xff));
    sky.setColorAt(1, QColor(0xff, 0xff, 0xff));
    p.fillRect(QRectF(0, 0, 217, 81), sky);

    // Rows of five, like a ten frame: up to five in one centred row, more in two rows whose
    // columns line up, so six reads as "five and one".
    const qreal radius = 17;
    const qreal pitch = 41;
    const qreal firstColumn = 217 / 2.0 - 2 * pitch;
    for (int i = 0; i < count; ++i) {
        QPointF centre;
        if (count <= 5) {
            centre = QPointF(217 / 2.0 - (count - 1) * pitch / 2 + i * pitch, 40);
        } else {
            centre = QPointF(firstColumn + (i % 5) * pitch, i < 5 ? 20.5 : 59.5);
        }
        paintGlobe(p, centre, radius);
    }
    p.end();
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    return image;
}

std::vector<QImage> catCursorFrames(int size)
{
    std::vector<QImage> frames;
    const int count = 6;
    for (int i = 0; i < count; ++i)
        frames.push_back(catFrame(std::sin(2 * std::numbers::pi * i / count), size));
    return frames;
}

QPoint catCursorHotspot()
{
    return QPoint(2, 2);
}

QImage slateIcon(int size, bool vgaColours)
{
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, !vgaColours);
    p.scale(size / 32.0, size / 32.0);
    paintSlate(p, vgaColours);
    p.end();
    return finished(image);
}

QImage smileIcon(int size)
{
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);
    const qreal line = std::max(1.0 / s, 1.5);
    p.setPen(QPen(Qt::black, line));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QPointF(16, 16), 14, 14);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(11, 12.5), 2.0, 3.0);
    p.drawEllipse(QPointF(21, 12.5), 2.0, 3.0);

    QPainterPath smile;
    smile.moveTo(8.5, 18.5);
    smile.quadTo(16, 27.5, 23.5, 18.5);
    p.setPen(QPen(Qt::black, std::max(1.0 / s, 2.0), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(smile);
    p.end();
    return finished(image);
}

QImage noEntryIcon(int size)
{
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(128, 0, 0), std::max(1.0 / s, 1.5)));
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(QPointF(16, 16), 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 13, 19, 6));
    p.end();
    return finished(image);
}

QImage puppyPicture(int scale)
{
    // Painted at four times the size and scaled down, for the soft edges of a photograph.
    const int oversample = 4;
    QImage canvas(80 * oversample, 53 * oversample, QImage::Format_RGB32);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(oversample, oversample);

    QLinearGradient wall(0, 0, 0, 53);
    wall.setColorAt(0, QColor(0xfd, 0xe9, 0xcc));
    wall.setColorAt(1, QColor(0xf3, 0xc9, 0x98));
    p.fillRect(QRectF(0, 0, 80, 53), wall);

    // The cushion.
    QRadialGradient cushion(QPointF(38, 38), 40);
    cushion.setColorAt(0, QColor(0x8e, 0xbb, 0xf0));
    cushion.setColorAt(1, QColor(0x3f, 0x72, 0xc0));
    p.setPen(QPen(QColor(0x2c, 0x50, 0x8a), 0.8));
    p.setBrush(cushion);
    p.drawEllipse(QPointF(40, 42), 38, 12);

    const QColor fur(0xe6, 0xb7, 0x7c);
    const QColor furLight(0xf6, 0xdc, 0xb4);
    const QColor furDark(0x9c, 0x62, 0x30);
    const QColor outline(0x5a, 0x36, 0x18);
    p.setPen(QPen(outline, 0.7));

    // The tail, curled round to the front.
    QPainterPath tail;
    tail.moveTo(64, 31);
    tail.cubicTo(72, 30, 71, 42, 62, 42);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tail);
    p.setPen(QPen(fur, 2.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tail);

    p.setPen(QPen(outline, 0.7));
    QRadialGradient back(QPointF(46, 26), 22);
    back.setColorAt(0, furLight);
    back.setColorAt(1, fur);
    p.setBrush(back);
    p.drawEllipse(QPointF(45, 33), 20, 10);
    p.setBrush(fur);
    p.drawEllipse(QPointF(58, 36), 7, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(furDark);
    p.drawEllipse(QPointF(44, 28), 6, 3.6);

    // Front paws, with the head resting on them.
    p.setPen(QPen(outline, 0.7));
    p.setBrush(furLight);
    p.drawEllipse(QPointF(17, 41), 5, 2.6);
    p.drawEllipse(QPointF(26, 42), 5, 2.6);

    QRadialGradient headShade(QPointF(22, 26), 14);
    headShade.setColorAt(0, furLight);
    headShade.setColorAt(1, fur);
    p.setBrush(headShade);
    p.drawEllipse(QPointF(24, 32), 11, 9);
    p.setBrush(furLight);
    p.drawEllipse(QPointF(16, 35.5), 6.5, 4.6);

    QPainterPath ear;
    ear.moveTo(25, 23.5);
    ear.cubicTo(33, 22, 36, 30, 33, 38);
    ear.cubicTo(30, 39, 27, 34, 27.5, 29);
    ear.closeSubpath();
    p.setBrush(furDark);
    p.drawPath(ear);

    p.setBrush(QColor(0x22, 0x16, 0x10));
    p.drawEllipse(QPointF(11, 33.6), 2.1, 1.6);

    // Closed eyes and a small smile.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3a, 0x22, 0x10), 0.9, Qt::SolidLine, Qt::RoundCap));
    QPainterPath eye;
    eye.moveTo(17.5, 29.5);
    eye.quadTo(19.8, 31.8, 22.2, 29.6);
    p.drawPath(eye);
    QPainterPath mouth;
    mouth.moveTo(11.5, 36.5);
    mouth.quadTo(14, 38.6, 16.5, 37.2);
    p.drawPath(mouth);

    // Z z z, drawn as strokes.
    p.setPen(QPen(QColor(0x4a, 0x5f, 0xb0), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const struct {
        QPointF at;
        qreal size;
    } zs[] = {{{33, 15}, 3.2}, {{39.5, 8.5}, 4.2}, {{47.5, 2.5}, 5.2}};
    for (const auto &z : zs) {
        QPainterPath letter;
        letter.moveTo(z.at);
        letter.lineTo(z.at + QPointF(z.size, 0));
        letter.lineTo(z.at + QPointF(0, z.size));
        letter.lineTo(z.at + QPointF(z.size, z.size));
        p.drawPath(letter);
    }
    p.end();

    QImage image =
        canvas.scaled(80 * scale, 53 * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

std::vector<QImage> birdFrames(int scale)
{
    const QColor outline(0x0d, 0x3c, 0x6e);
    // Wing angle in degrees (positive raises it) and the body's rise, for each frame.
    const struct {
        qreal wing;
        qreal lift;
    } poses[] = {{55, 1}, {12, 0}, {-32, -2}, {12, 0}};

    std::vector<QImage> frames;
    for (const auto &pose : poses) {
        QImage image = transparentImage(98 * scale, 83 * scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(0, -pose.lift);

        QPainterPath tail;
        tail.moveTo(31, 47);
        tail.lineTo(11, 37);
        tail.lineTo(15, 45);
        tail.lineTo(8, 48);
        tail.lineTo(15, 52);
        tail.lineTo(10, 59);
        tail.lineTo(31, 55);
        tail.closeSubpath();
        p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0x1e, 0x88, 0xe5));
        p.drawPath(tail);

        p.setPen(QPen(QColor(0xf5, 0x8a, 0x07), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(45, 63), QPointF(43, 70));
        p.drawLine(QPointF(54, 63), QPointF(53, 70));

        QPainterPath body;
        body.addEllipse(QPointF(50, 45), 22, 19);
        QRadialGradient blue(QPointF(44, 34), 30);
        blue.setColorAt(0, QColor(0x7f, 0xc8, 0xfa));
        blue.setColorAt(1, QColor(0x1e, 0x88, 0xe5));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPath(body);
        p.save();
        p.setClipPath(body);
        p.setBrush(QColor(0xff, 0xf3, 0x8a));
        p.drawEllipse(QPointF(56, 55), 16, 13);
        p.restore();
        p.setPen(QPen(outline, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(body);

        QPainterPath beak;
        beak.moveTo(69, 39);
        beak.lineTo(83, 43.5);
        beak.lineTo(69, 48);
        beak.closeSubpath();
        p.setPen(QPen(QColor(0x8a, 0x45, 0x00), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xff, 0x98, 0x00));
        p.drawPath(beak);

        p.setPen(QPen(outline, 1.2));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(60, 36), 5.5, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x10, 0x18));
        p.drawEllipse(QPointF(61.5, 36.5), 3, 3);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(62.6, 35.2), 1.2, 1.2);
        p.setBrush(QColor(0xff, 0x80, 0xa0, 150));
        p.drawEllipse(QPointF(64, 46), 3.6, 2.2);

        // The near wing, hinged at the shoulder and pointing back.
        QPainterPath wing;
        wing.moveTo(0, -5);
        wing.cubicTo(-10, -14, -26, -12, -31, -4);
        wing.lineTo(-25, -2);
        wing.lineTo(-29, 2);
        wing.lineTo(-22, 3);
        wing.lineTo(-25, 7);
        wing.lineTo(-16, 6);
        wing.cubicTo(-10, 8, -3, 6, 0, 5);
        wing.closeSubpath();
        p.save();
        p.translate(46, 44);
        p.rotate(pose.wing);
        QLinearGradient feathers(QPointF(0, 0), QPointF(-30, 0));
        feathers.setColorAt(0, QColor(0x19, 0x76, 0xd2));
        feathers.setColorAt(1, QColor(0x0d, 0x47, 0xa1));
        p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(feathers);
        p.drawPath(wing);
        p.setPen(QPen(QColor(0x90, 0xca, 0xf9), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-6, -2), QPointF(-19, -3));
        p.drawLine(QPointF(-6, 2), QPointF(-15, 2.5));
        p.restore();
        p.end();
        frames.push_back(finished(image));
    }
    return frames;
}
