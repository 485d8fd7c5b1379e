#pragma once
// The two rules that keep the form's texts readable. They measure text in a font and need no
// widget.

#include <QFont>
#include <QRect>
#include <QString>

// The largest point size, not above the font's own and not below 6, at which text fits in
// width pixels.
double fittingPointSize(const QString &text, QFont font, int width);

struct CaptionFit {
    QFont font;
    QRect rect;
};

// Where a caption goes: a box at least as big as its design rectangle and centred on it, grown
// to show the whole text (wrapped where flags say so) but kept inside the area. Only when even
// the area is too small does the font shrink, a point at a time down to 6. frame is the width
// of the border on both sides together.
CaptionFit fitCaption(const QString &text, QFont font, int flags, QRect design, QRect area,
                      int frame);
