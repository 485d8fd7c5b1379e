// libFuzzer target: the animated-cursor reader must keep its promises for any bytes.
#include "logic/ani_cursor.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const char *data, size_t size)
{
    const AniResult result = parseAniCursor(QByteArray(data, qsizetype(size)));
    if (!result.cursor) {
        if (result.error == AniError::None)
            std::abort();
        return 0;
    }
    const AniCursor &cursor = *result.cursor;
    if (result.error != AniError::None || cursor.frames.empty() || cursor.steps.empty())
        std::abort();
    for (const AniStep &step : cursor.steps) {
        if (step.frame < 0 || step.frame >= int(cursor.frames.size()) || step.jiffies < 1)
            std::abort();
    }
    for (const AniFrame &frame : cursor.frames) {
        const QImage &image = frame.image;
        if (image.format() != QImage::Format_ARGB32 || image.width() > 256 ||
            image.height() > 256 || !image.rect().contains(frame.hotspot))
            std::abort();
    }
    // Turning a frame into a cursor pixmap premultiplies it; do that for the first two.
    for (size_t i = 0; i < std::min<size_t>(2, cursor.frames.size()); ++i) {
        const QImage &image = cursor.frames[i].image;
        if (image.convertToFormat(QImage::Format_ARGB32_Premultiplied).size() != image.size())
            std::abort();
    }
    return 0;
}
