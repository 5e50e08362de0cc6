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
        explicit FontOptions (float fontHeight)
            : height (fontHeight)
        {
        }

        FontOptions (float fontHeight, int fontStyleFlags)
            : height (fontHeight)
            , styleFlags (fontStyleFlags)
        {
        }

        /** In the look-and-feel's default sans-serif typeface. */
        operator Font() const { return Font (height, styleFlags); }

    private:
        float height;
        int styleFlags = Font::plain;
    };

} // namespace juce

#endif
