#include "screen_bitmap.h"

#include <QBuffer>

namespace kvt {

QColor colorFromNumber(int number)
{
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

int numberFromColor(const QColor &color)
{
    return color.red() | color.green() << 8 | color.blue() << 16;
}

QImage screenImage(const ScreenPixels &pixels, int penColor, int backgroundColor)
{
    QImage image(ScreenPixels::Width, ScreenPixels::Height, QImage::Format_RGB888);
    const QRgb ink = colorFromNumber(penColor).rgb();
    const QRgb background = colorFromNumber(backgroundColor).rgb();
    for (int y = 0; y < ScreenPixels::Height; ++y)
        for (int x = 0; x < ScreenPixels::Width; ++x)
            image.setPixel(x, y, pixels.ink(x, y) ? ink : background);
    return image;
}

QByteArray bitmapFileBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace kvt
