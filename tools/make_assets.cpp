// Paints every picture, icon and cursor of the game and writes them into the asset folder and
// the resource folder given on the command line.

#include "ani_writer.h"
#include "drawings.h"
#include "gif_writer.h"
#include "ico_writer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

namespace
{

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeImage(const QString &path, const QImage &image, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_assets IMG_DIR RESOURCES_DIR\n");
        return 2;
    }
    const QDir img(QString::fromLocal8Bit(argv[1]));
    const QDir resources(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(img.path()) || !QDir().mkpath(resources.filePath("icons"))) {
        std::fprintf(stderr, "cannot create the output folders\n");
        return 1;
    }

    bool ok = true;
    for (int n = 1; n <= 10; ++n) {
        // 24 bits per pixel: the BMP writer keeps the depth of an RGB888 image. Twice the box's
        // pixels at 192 dpi, which the game draws at the box's size: sharp on a dense screen.
        ok &= writeImage(img.filePath(QStringLiteral("terra%1.bmp").arg(n)),
                         globesPicture(n, 2).convertToFormat(QImage::Format_RGB888), "bmp");
    }

    // The tail sways through its six poses in a second. Each frame holds the cat at 32, 48 and
    // 64 pixels, for screens at scales 1, 1.5 and 2.
    const std::vector<int> cursorSizes = {32, 48, 64};
    std::vector<std::vector<QImage>> cat(catCursorFrames().size());
    for (int size : cursorSizes) {
        const std::vector<QImage> frames = catCursorFrames(size);
        for (std::size_t i = 0; i < frames.size(); ++i)
            cat[i].push_back(frames[i]);
    }
    ok &= writeBytes(img.filePath(QStringLiteral("cat-d.ani")),
                     writeAniCursor(cat, catCursorHotspot(), std::vector<int>(cat.size(), 10)));

    // The icons the window description fixes at 32 (and 16) pixels, and beside each a version
    // at twice the size, which Qt picks on a dense screen.
    ok &= writeBytes(resources.filePath(QStringLiteral("vorlandi.ico")),
                     writeIco({{slateIcon(32, true), 4}, {slateIcon(32, false), 8}}));
    ok &= writeBytes(resources.filePath(QStringLiteral("vorlandi@2x.ico")),
                     writeIco({{slateIcon(64, true), 4}, {slateIcon(64, false), 8}}));
    ok &= writeBytes(resources.filePath(QStringLiteral("next.ico")),
                     writeIco({{smileIcon(32), 4}, {smileIcon(16), 4}}));
    ok &= writeBytes(resources.filePath(QStringLiteral("next@2x.ico")),
                     writeIco({{smileIcon(64), 4}, {smileIcon(32), 4}}));
    ok &= writeBytes(resources.filePath(QStringLiteral("exit.ico")),
                     writeIco({{noEntryIcon(32), 4}, {noEntryIcon(16), 4}}));
    ok &= writeBytes(resources.filePath(QStringLiteral("exit@2x.ico")),
                     writeIco({{noEntryIcon(64), 4}, {noEntryIcon(32), 4}}));
    for (int size : {48, 64, 128, 256}) {
        ok &= writeImage(resources.filePath(QStringLiteral("icons/%1.png").arg(size)),
                         slateIcon(size, false), "png");
    }

    // The photograph and the cartoon at their fixed sizes, and at twice them beside.
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        ok &= writeImage(resources.filePath(QStringLiteral("puppy%1.jpg").arg(suffix)),
                         puppyPicture(scale).convertToFormat(QImage::Format_RGB888), "jpeg", 90);
        const std::optional<QByteArray> bird = writeAnimatedGif(birdFrames(scale), 8, 1000);
        if (!bird)
            std::fprintf(stderr, "cannot encode the bird animation\n");
        ok &=
            bird && writeBytes(resources.filePath(QStringLiteral("bird%1.gif").arg(suffix)), *bird);
    }

    return ok ? 0 : 1;
}
