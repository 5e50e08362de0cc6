#include "editor/ClassicVUMeter.h"

#include "editor/MeterGeometry.h"
#include "look/ColourPalette.h"

#include <cmath>

namespace
{
    /** Where a needle's pixels can lie: its ends' box, widened by half its
        thickness and a pixel of anti-aliasing. */
    juce::Rectangle<int> needleArea (juce::Line<float> needle)
    {
        return juce::Rectangle<float> (needle.getStart(), needle.getEnd())
            .expanded (0.5f * MeterGeometry::needleThickness + 1.0f)
            .getSmallestIntegerContainer();
    }
} // namespace

ClassicVUMeter::ClassicVUMeter()
{
    setValue (-60.0f);
}

ClassicVUMeter::~ClassicVUMeter() = default;

void ClassicVUMeter::setValue (float newLevelDb)
{
    const auto needleBefore = needle();

    if (! std::isnan (newLevelDb))
    {
        const auto target = juce::jlimit (-60.0f, 5.0f, newLevelDb);

        if (value < target)
            value = target;
        else
            value = 0.95f * value + 0.05f * target;
    }

    // Below -20 dB the needle rests, so a falling level often moves nothing; and
    // a moving needle changes only the dial around its old and new positions.
    const auto needleNow = needle();

    if (needleNow != needleBefore)
        repaint (needleArea (needleBefore).getUnion (needleArea (needleNow)));
}

juce::Line<float> ClassicVUMeter::needle() const noexcept
{
    return MeterGeometry::needleLine (MeterGeometry::dialFor ((float) getWidth(), (float) getHeight()), value);
}

void ClassicVUMeter::paint (juce::Graphics& g)
{
    using namespace MeterGeometry;

    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    const auto dial = dialFor (width, height);

    g.setColour (greyOpacityVresk);
    g.fillRoundedRectangle ({ 0.0f, 0.0f, width, height }, dialBackgroundCornerSize);

    for (const auto& mark : dialScaleMarks())
    {
        const auto colour = mark.isOverRange ? orangeVresk : juce::Colours::white.withAlpha ((juce::uint8) 0x80);

        g.setColour (colour);
        g.drawLine (tickLine (dial, mark), tickThickness (mark));

        if (mark.hasLabel)
        {
            g.setFont (labelFontHeight);
            g.drawText (tickLabelText (mark), tickLabelBounds (dial, mark), juce::Justification::centred, true);
        }
    }

    g.setColour (whiteLightVresk);
    g.setFont (titleFontHeight);
    g.drawText ("VU", dialTitleBounds (width, height), juce::Justification::centred, true);

    g.setColour (juce::Colour (0xff8994ec));
    g.drawLine (needleLine (dial, value), needleThickness);

    g.setColour (whiteLightVresk);
    g.fillEllipse (pivotDotBounds (dial));

    g.setColour (greyLightVresk);
    g.drawRoundedRectangle (innerOutlineBounds (width, height), dialFrameCornerSize, innerOutlineThickness);
    g.setColour (blackUltraVresk);
    g.drawRoundedRectangle (frameBounds (width, height), dialFrameCornerSize, outerOutlineThickness);
}
