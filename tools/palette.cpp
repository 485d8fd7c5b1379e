#include "palette.h"

#include <algorithm>
#include <limits>
#include <map>

namespace
{

struct Weighted {
    QRgb colour;
    qint64 count;
};

using Box = std::vector<Weighted>;

int channel(QRgb colour, int which)
{
    switch (which) {
    case 0:
        return qRed(colour);
    case 1:
        return qGreen(colour);
    default:
        return qBlue(colour);
    }
}

// The channel with the widest spread and that spread.
std::pair<int, int> widestChannel(const Box &box)
{
    int best = 0;
    int bestRange = -1;
    for (int which = 0; which < 3; ++which) {
        int low = 255;
        int high = 0;
        for (const Weighted &w : box) {
            low = std::min(low, channel(w.colour, which));
            high = std::max(high, channel(w.colour, which));
        }
        if (high - low > bestRange) {
            bestRange = high - low;
            best = which;
        }
    }
    return {best, bestRange};
}

QRgb meanColour(const Box &box)
{
    qint64 sums[3] = {0, 0, 0};
    qint64 total = 0;
    for (const Weighted &w : box) {
        for (int which = 0; which < 3; ++which)
            sums[which] += channel(w.colour, which) * w.count;
        total += w.count;
    }
    auto mean = [&](int which) { return static_cast<int>((sums[which] + total / 2) / total); };
    return qRgb(mean(0), mean(1), mean(2));
}

} // namespace

bool isOpaque(QRgb pixel)
{
    return qAlpha(pixel) >= 128;
}

const QList<QRgb> &vgaPalette()
{
    static const QList<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return palette;
}

QList<QRgb> medianCutPalette(const std::vector<QImage> &images, int maxColours)
{
    std::map<QRgb, qint64> counts;
    for (const QImage &source : images) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (isOpaque(pixel))
                    ++counts[qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel))];
            }
        }
    }

    QList<QRgb> palette;
    if (counts.empty() || maxColours <= 0)
        return palette;
    if (static_cast<int>(counts.size()) <= maxColours) {
        for (const auto &entry : counts)
            palette.append(entry.first);
        return palette;
    }

    std::vector<Box> boxes(1);
    for (const auto &entry : counts)
        boxes.front().push_back({entry.first, entry.second});

    while (static_cast<int>(boxes.size()) < maxColours) {
        // Split the box whose widest channel spans most, weighted by its pixels, so that
        // large areas of near colours keep their shades.
        int chosen = -1;
        qint64 chosenScore = 0;
        for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
            if (boxes[i].size() < 2)
                continue;
            qint64 pixels = 0;
            for (const Weighted &w : boxes[i])
                pixels += w.count;
            const qint64 score = widestChannel(boxes[i]).second * (pixels + 1);
            if (score > chosenScore) {
                chosenScore = score;
                chosen = i;
            }
        }
        if (chosen < 0)
            break;

        Box box = std::move(boxes[chosen]);
        const int which = widestChannel(box).first;
        std::sort(box.begin(), box.end(), [which](const Weighted &a, const Weighted &b) {
            const int ca = channel(a.colour, which);
            const int cb = channel(b.colour, which);
            return ca != cb ? ca < cb : a.colour < b.colour;
        });
        qint64 total = 0;
        for (const Weighted &w : box)
            total += w.count;
        qint64 running = 0;
        std::size_t cut = 1;
        for (std::size_t i = 0; i + 1 < box.size(); ++i) {
            running += box[i].count;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        boxes[chosen] = Box(box.begin(), box.begin() + static_cast<std::ptrdiff_t>(cut));
        boxes.push_back(Box(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end()));
    }

    for (const Box &box : boxes)
        palette.append(meanColour(box));
    std::sort(palette.begin(), palette.end());
    return palette;
}

int nearestIndex(const QList<QRgb> &palette, QRgb colour, int firstIndex)
{
    int best = firstIndex;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = firstIndex; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour);
        const int dg = qGreen(palette[i]) - qGreen(colour);
        const int db = qBlue(palette[i]) - qBlue(colour);
        // Green counts most to the eye, blue least.
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}
