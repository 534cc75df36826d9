#include "app/core/language_texts.h"

namespace vexmo {

LanguageTable LanguageTexts;

const std::u16string& LanguageTable::operator[](int index) const
{
    static const std::u16string empty;
    return index >= 0 && index < kSize ? texts_[index] : empty;
}

void LanguageTable::Set(int index, std::u16string text)
{
    if (index >= 0 && index < kSize)
        texts_[index] = std::move(text);
}

} // namespace vexmo
