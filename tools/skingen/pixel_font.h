#pragma once

#include <string_view>

// A 5 × 7 pixel font for the few labels the skin carries (button numbers, report rates, the dial).
// Drawing text from our own glyphs keeps the images identical on every machine, whatever fonts
// are installed, and keeps the strokes on whole pixels so they stay sharp when stretched.
namespace skingen {

inline constexpr int GlyphWidth = 5;
inline constexpr int GlyphHeight = 7;

// Rows of the glyph for `c`, top first, '#' for a set pixel; nullptr for a character we lack.
const char* const* Glyph(char c);

// Width in font pixels of `text` with one pixel between characters.
int TextWidth(std::string_view text);

} // namespace skingen
