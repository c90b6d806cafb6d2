#include "screen_image.h"

#include <algorithm>

namespace kvt::sim {
namespace {

struct Glyph {
    char character;
    unsigned char columns[5]; // bit 0 the top row
};

// The common 5 × 7 LCD font, for the few characters the screen needs.
constexpr Glyph Font[] = {
    {'0', {0x3E, 0x51, 0x49, 0x45, 0x3E}}, {'1', {0x00, 0x42, 0x7F, 0x40, 0x00}},
    {'2', {0x42, 0x61, 0x51, 0x49, 0x46}}, {'3', {0x21, 0x41, 0x45, 0x4B, 0x31}},
    {'4', {0x18, 0x14, 0x12, 0x7F, 0x10}}, {'5', {0x27, 0x45, 0x45, 0x45, 0x39}},
    {'6', {0x3C, 0x4A, 0x49, 0x49, 0x30}}, {'7', {0x01, 0x71, 0x09, 0x05, 0x03}},
    {'8', {0x36, 0x49, 0x49, 0x49, 0x36}}, {'9', {0x06, 0x49, 0x49, 0x29, 0x1E}},
    {'A', {0x7E, 0x11, 0x11, 0x11, 0x7E}}, {'B', {0x7F, 0x49, 0x49, 0x49, 0x36}},
    {'C', {0x3E, 0x41, 0x41, 0x41, 0x22}}, {'D', {0x7F, 0x41, 0x41, 0x22, 0x1C}},
    {'E', {0x7F, 0x49, 0x49, 0x49, 0x41}}, {'F', {0x7F, 0x09, 0x09, 0x09, 0x01}},
    {'G', {0x3E, 0x41, 0x49, 0x49, 0x7A}}, {'H', {0x7F, 0x08, 0x08, 0x08, 0x7F}},
    {'I', {0x00, 0x41, 0x7F, 0x41, 0x00}}, {'K', {0x7F, 0x08, 0x14, 0x22, 0x41}},
    {'L', {0x7F, 0x40, 0x40, 0x40, 0x40}}, {'M', {0x7F, 0x02, 0x0C, 0x02, 0x7F}},
    {'N', {0x7F, 0x04, 0x08, 0x10, 0x7F}}, {'O', {0x3E, 0x41, 0x41, 0x41, 0x3E}},
    {'P', {0x7F, 0x09, 0x09, 0x09, 0x06}}, {'R', {0x7F, 0x09, 0x19, 0x29, 0x46}},
    {'S', {0x46, 0x49, 0x49, 0x49, 0x31}}, {'T', {0x01, 0x01, 0x7F, 0x01, 0x01}},
    {'U', {0x3F, 0x40, 0x40, 0x40, 0x3F}}, {'V', {0x1F, 0x20, 0x40, 0x20, 0x1F}},
    {'W', {0x3F, 0x40, 0x38, 0x40, 0x3F}}, {'-', {0x08, 0x08, 0x08, 0x08, 0x08}},
    {'.', {0x00, 0x60, 0x60, 0x00, 0x00}}, {':', {0x00, 0x36, 0x36, 0x00, 0x00}},
    {'=', {0x14, 0x14, 0x14, 0x14, 0x14}},
};

const Glyph *glyphFor(char character)
{
    for (const Glyph &glyph : Font) {
        if (glyph.character == character)
            return &glyph;
    }
    return nullptr;
}

constexpr int BarCount = 12;
constexpr double BarFullScaleMPa = 150;

} // namespace

void ScreenCanvas::setPixel(int x, int y)
{
    if (x < 0 || x >= ScreenWidth || y < 0 || y >= ScreenHeight)
        return;
    m_block[size_t(y / 8 * ScreenWidth + x)] |= static_cast<unsigned char>(1u << (y % 8));
}

bool ScreenCanvas::pixel(int x, int y) const
{
    if (x < 0 || x >= ScreenWidth || y < 0 || y >= ScreenHeight)
        return false;
    return (m_block[size_t(y / 8 * ScreenWidth + x)] >> (y % 8)) & 1u;
}

void ScreenCanvas::drawFrame(int left, int top, int right, int bottom)
{
    for (int x = left; x <= right; ++x) {
        setPixel(x, top);
        setPixel(x, bottom);
    }
    for (int y = top; y <= bottom; ++y) {
        setPixel(left, y);
        setPixel(right, y);
    }
}

void ScreenCanvas::fillBox(int left, int top, int right, int bottom)
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            setPixel(x, y);
    }
}

void ScreenCanvas::drawText(int x, int y, QByteArrayView text)
{
    for (char character : text) {
        if (const Glyph *glyph = glyphFor(character)) {
            for (int column = 0; column < 5; ++column) {
                for (int row = 0; row < 7; ++row) {
                    if ((glyph->columns[column] >> row) & 1u)
                        setPixel(x + column, y + row);
                }
            }
        }
        x += 6;
    }
}

ScreenBlock drawInstrumentScreen(const InstrumentContent &content)
{
    ScreenCanvas canvas;
    canvas.drawFrame(0, 0, ScreenWidth - 1, ScreenHeight - 1);
    canvas.drawText(4, 3, "KVT-1.0 SIM");
    canvas.drawText(4, 13, "IMPACTS " + QByteArray::number(qulonglong(content.records.size())));
    if (!content.records.empty()) {
        const float modulus = content.records.back().floatAt(ImpactRecord::DynModulus);
        canvas.drawText(4, 23, "EVD " + QByteArray::number(modulus, 'f', 1) + " MPA");
    }
    for (int x = 2; x < ScreenWidth - 2; ++x)
        canvas.setPixel(x, 33);

    const size_t shown = std::min<size_t>(BarCount, content.records.size());
    for (size_t k = 0; k < shown; ++k) {
        const ImpactRecord &record = content.records[content.records.size() - shown + k];
        const double share = std::clamp(double(record.floatAt(ImpactRecord::DynModulus)) / BarFullScaleMPa, 0.0, 1.0);
        const int height = std::max(1, int(share * 24));
        const int left = 6 + int(k) * 10;
        canvas.fillBox(left, 60 - height, left + 6, 60);
    }
    return canvas.block();
}

} // namespace kvt::sim
