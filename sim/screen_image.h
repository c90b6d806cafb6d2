#pragma once

#include "device/device_protocol.h"
#include "instrument_content.h"

#include <QByteArrayView>

#include <array>

namespace kvt::sim {

constexpr int ScreenWidth = 128;
constexpr int ScreenHeight = 64;
// The block layout is the program's own (device/device_protocol.h).
static_assert(ScreenBlockSize == ScreenWidth * ScreenHeight / 8);

// The display's memory as the instrument sends it: 8 pages of 8 rows, one byte
// per column and page, bit 0 the top row of its page, a set bit ink.
class ScreenCanvas {
public:
    void setPixel(int x, int y);
    bool pixel(int x, int y) const;
    void drawFrame(int left, int top, int right, int bottom);
    void fillBox(int left, int top, int right, int bottom);
    // 5 × 7 capitals, digits and a little punctuation, 6 pixels apart;
    // characters it has no glyph for stay blank.
    void drawText(int x, int y, QByteArrayView text);

    const ScreenBlock &block() const { return m_block; }

private:
    ScreenBlock m_block{};
};

// What the instrument shows after a measurement: its name, the number of
// impacts, the last modulus, and the moduli of the last impacts as bars.
ScreenBlock drawInstrumentScreen(const InstrumentContent &content);

} // namespace kvt::sim
