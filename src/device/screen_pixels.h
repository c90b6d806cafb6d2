#pragma once

#include "device_protocol.h"

#include <array>

namespace kvt {

// The viewer's picture: the instrument's 128 × 64 display inside a ring of
// background and an ink border, one byte per pixel, 1 for ink.
class ScreenPixels {
public:
    static constexpr int Width = 132;
    static constexpr int Height = 68;

    bool ink(int x, int y) const { return m_pixels[size_t(x) * Height + size_t(y)] != 0; }

    // The outermost ring becomes ink, everything else background.
    void drawScreenFrame();
    // Byte k of the display gives column 2 + k mod 128 and rows from
    // 2 + 8 × (k div 128), bit 0 on top. The bytes are consumed: a later,
    // shorter reply leaves the rest as background.
    void decode(ScreenBlock &block);

private:
    void set(int x, int y, bool ink) { m_pixels[size_t(x) * Height + size_t(y)] = ink ? 1 : 0; }

    std::array<unsigned char, size_t(Width) * Height> m_pixels{};
};

} // namespace kvt
