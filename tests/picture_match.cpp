// Tells which of two images a screenshot shows a picture drawn from: the larger one scaled down
// to the screen's pixels, or the smaller one scaled up. Each is scaled smoothly to the picture's
// size on the screen, laid over the colour that surrounds it there, and looked for in the
// rectangle; the mean difference per colour channel at the best place is printed for both.
// Succeeds when the larger image matches closely and clearly better than the smaller one.
//
//   picture_match SHOT X Y W H WIDTH HEIGHT SCALE LARGER SMALLER
//
// SHOT is a screenshot (any format Qt reads), X Y W H the rectangle in screen pixels where the
// picture lies, WIDTH HEIGHT its size in logical pixels, SCALE the screen's scale. An image file
// holding several images (an icon) gives its largest.
#include <QColor>
#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTextStream>
#include <cstdlib>
#include <limits>

namespace
{

QImage largestImage(const QString &path)
{
    QImageReader reader(path);
    QImage best;
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        if (image.width() > best.width())
            best = image;
    } while (reader.jumpToNextImage());
    // Qt takes an "@2x" file for two pixels a point; here every pixel counts.
    best.setDevicePixelRatio(1);
    return best.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The colour most pixels of the rectangle have: the face the picture is drawn on.
QRgb surrounding(const QImage &area)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y)];
    QRgb most = 0;
    int mostCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > mostCount) {
            most = it.key();
            mostCount = it.value();
        }
    return most;
}

QImage drawnOn(const QImage &picture, QSize size, QRgb face)
{
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(face);
    QPainter painter(&canvas);
    painter.drawImage(0, 0, picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return canvas;
}

// The smallest mean difference per channel between the picture and a same-sized part of area.
double bestDifference(const QImage &area, const QImage &picture)
{
    double best = std::numeric_limits<double>::max();
    for (int top = 0; top + picture.height() <= area.height(); ++top)
        for (int left = 0; left + picture.width() <= area.width(); ++left) {
            qint64 sum = 0;
            for (int y = 0; y < picture.height(); ++y) {
                const auto *shown = reinterpret_cast<const QRgb *>(area.constScanLine(top + y));
                const auto *drawn = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb a = shown[left + x], b = drawn[x];
                    sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                           std::abs(qBlue(a) - qBlue(b));
                }
            }
            best = std::min(best, double(sum) / (3.0 * picture.width() * picture.height()));
        }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 11) {
        out << "usage: picture_match SHOT X Y W H WIDTH HEIGHT SCALE LARGER SMALLER\n";
        return 2;
    }
    const QImage shot = QImage(args[1]).convertToFormat(QImage::Format_RGB32);
    const QImage area =
        shot.copy(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
    const double scale = args[8].toDouble();
    const QSize size = (QSizeF(args[6].toInt(), args[7].toInt()) * scale).toSize();
    const QImage larger = largestImage(args[9]);
    const QImage smaller = largestImage(args[10]);
    if (area.isNull() || larger.isNull() || smaller.isNull()) {
        out << "cannot read the screenshot or the images\n";
        return 2;
    }
    const QRgb face = surrounding(area);
    const double fromLarger = bestDifference(area, drawnOn(larger, size, face));
    const double fromSmaller = bestDifference(area, drawnOn(smaller, size, face));
    out << QStringLiteral("%1 at %2 px: differs by %3 from the %4 px image scaled down, by %5 "
                          "from the %6 px image scaled up\n")
               .arg(args[9].section(u'/', -1))
               .arg(size.width())
               .arg(fromLarger, 0, 'f', 2)
               .arg(larger.width())
               .arg(fromSmaller, 0, 'f', 2)
               .arg(smaller.width());
    return fromLarger < 2 && fromLarger * 3 < fromSmaller ? EXIT_SUCCESS : EXIT_FAILURE;
}
