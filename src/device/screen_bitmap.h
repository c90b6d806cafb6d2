#pragma once

#include "screen_pixels.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace kvt {

// A system colour number (red in the low byte) as a colour, and back.
QColor colorFromNumber(int number);
int numberFromColor(const QColor &color);

// The picture in the two colours, one image pixel per screen pixel.
QImage screenImage(const ScreenPixels &pixels, int penColor, int backgroundColor);

// The picture as a Windows bitmap file's bytes, 132 × 68, 24 bits per pixel.
QByteArray bitmapFileBytes(const QImage &image);

} // namespace kvt
