#pragma once
// Display texts by number, 0..499, filled from the language file at start.

#include <array>
#include <string>

namespace vexmo {

class LanguageTable {
public:
    static constexpr int kSize = 500;

    // Entry `index`; an empty string outside 0..499.
    const std::u16string& operator[](int index) const;
    // Ignored outside 0..499.
    void Set(int index, std::u16string text);

private:
    std::array<std::u16string, kSize> texts_;
};

extern LanguageTable LanguageTexts;

} // namespace vexmo
