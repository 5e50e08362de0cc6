#include "editor/AddressScrambling.h"

#include <cstring>
#include <string>

namespace
{
    constexpr int firstShiftedCharacter = 47; // '/'
    constexpr int lastShiftedCharacter = 122; // 'z'
    constexpr int alphabetSize = lastShiftedCharacter - firstShiftedCharacter + 1;

    int shiftAt (int index, unsigned char keyCharacter)
    {
        static constexpr int indexShifts[] = { 7, 13, 19, 23 };

        const auto keyPart = ((keyCharacter + index) * 17 + 17) % alphabetSize;
        return (keyPart + indexShifts[index % 4]) % alphabetSize;
    }

    // Kept apart from each other and from the code that joins them, so that the
    // address never appears whole in the binary.
    constexpr const char* storedAddress = "F1Aj2fvCkp3.Xjd0=.r_YyNN3FQ37uBb";
    constexpr const char* storedKey = "Vr3sk-Qu0rv@ne!";
} // namespace

juce::String unscrambleAddress (const char* scrambled, const char* key)
{
    std::string result (scrambled);
    const auto keyLength = (int) std::strlen (key);

    // An empty key leaves every character where it stands.
    for (int i = 0; keyLength > 0 && i < (int) result.size(); ++i)
    {
        const auto c = (int) (unsigned char) result[(size_t) i];

        if (c < firstShiftedCharacter || c > lastShiftedCharacter)
            continue;

        const auto shift = shiftAt (i, (unsigned char) key[i % keyLength]);
        const auto position = ((c - firstShiftedCharacter - shift) % alphabetSize + alphabetSize) % alphabetSize;
        result[(size_t) i] = (char) (firstShiftedCharacter + position);
    }

    return juce::String::fromUTF8 (result.data(), (int) result.size());
}

juce::String getProductWebAddress()
{
    return unscrambleAddress (storedAddress, storedKey);
}
