#pragma once

#include <juce_graphics/juce_graphics.h>

/*  juce::FontOptions describes a font to make (its height, style and typeface
    name) and juce::Font is built from it. JUCE 8 has the type; JUCE 7 builds
    fonts from a height and style flags instead. On JUCE 7 this header supplies
    a small juce::FontOptions with the same meaning for the parts the plug-in
    uses, which turns into a juce::Font where one is needed, so that
    juce::Font (juce::FontOptions (height, juce::Font::plain)) reads and works
    the same on both versions.
*/

#if JUCE_MAJOR_VERSION < 8

namespace juce
{

    class FontOptions
    {
    public:
        FontOptions() = default;

        explicit FontOptions (float fontHeight)
            : height (fontHeight)
        {
        }

        FontOptions (float fontHeight, int fontStyleFlags)
            : height (fontHeight)
            , styleFlags (fontStyleFlags)
        {
        }

        FontOptions (const String& fontTypefaceName, float fontHeight, int fontStyleFlags)
            : typefaceName (fontTypefaceName)
            , height (fontHeight)
            , styleFlags (fontStyleFlags)
        {
        }

        [[nodiscard]] FontOptions withHeight (float newHeight) const
        {
            auto copy = *this;
            copy.height = newHeight;
            return copy;
        }

        [[nodiscard]] FontOptions withName (const String& newTypefaceName) const
        {
            auto copy = *this;
            copy.typefaceName = newTypefaceName;
            return copy;
        }

        float getHeight() const noexcept { return height; }
        String getName() const { return typefaceName; }

        /** An empty name means the look-and-feel's default sans-serif typeface. */
        operator Font() const
        {
            if (typefaceName.isEmpty())
                return Font (height, styleFlags);

            return Font (typefaceName, height, styleFlags);
        }

    private:
        String typefaceName;
        float height = 14.0f;
        int styleFlags = Font::plain;
    };

} // namespace juce

#endif
