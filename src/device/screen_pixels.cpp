#include "screen_pixels.h"

namespace kvt {
namespace {

constexpr int DisplayWidth = 128;
constexpr int Margin = 2; // the border and the background ring

} // namespace

static_assert(ScreenBlockSize * 8 == DisplayWidth * (ScreenPixels::Height - 2 * Margin));

void ScreenPixels::drawScreenFrame()
{
    for (int x = 0; x < Width; ++x)
        for (int y = 0; y < Height; ++y)
            set(x, y, x == 0 || y == 0 || x == Width - 1 || y == Height - 1);
}

void ScreenPixels::decode(ScreenBlock &block)
{
    for (int k = 0; k < ScreenBlockSize; ++k) {
        const int x = Margin + k % DisplayWidth;
        const int y0 = Margin + 8 * (k / DisplayWidth);
        for (int bit = 0; bit < 8; ++bit)
            set(x, y0 + bit, (block[size_t(k)] >> bit) & 1);
    }
    block.fill(0);
}

} // namespace kvt
