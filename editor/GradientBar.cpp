#include "editor/GradientBar.h"

#include "editor/MeterGeometry.h"
#include "look/ColourPalette.h"

void paintGradientBar (juce::Graphics& g, float width, float height, float fillFraction, float cornerSize)
{
    g.setColour (greyOpacityVresk);
    g.fillRoundedRectangle (MeterGeometry::frameBounds (width, height), cornerSize);

    g.setGradientFill (MeterGeometry::barGradient (height));
    g.fillRoundedRectangle (MeterGeometry::barFillBounds (fillFraction, width, height), cornerSize);

    g.setColour (greyLightVresk);
    g.drawRoundedRectangle (MeterGeometry::innerOutlineBounds (width, height), cornerSize,
                            MeterGeometry::innerOutlineThickness);

    g.setColour (blackUltraVresk);
    g.drawRoundedRectangle (MeterGeometry::frameBounds (width, height), cornerSize,
                            MeterGeometry::outerOutlineThickness);
}

juce::Rectangle<int> changedGradientBarArea (float fillFractionA, float fillFractionB,
                                             float width, float height, float cornerSize) noexcept
{
    const auto barA = MeterGeometry::barFillBounds (fillFractionA, width, height);
    const auto barB = MeterGeometry::barFillBounds (fillFractionB, width, height);

    if (barA == barB)
        return {};

    // Both bars stand on the same lower edge and differ from the lower top down
    // to where the rounded corners of the higher top end. A bar too short for
    // two whole corners rounds its lower corners less, so from there on down.
    const auto top = juce::jmin (barA.getY(), barB.getY());
    auto bottom = juce::jmax (barA.getY(), barB.getY()) + cornerSize;

    if (juce::jmin (barA.getHeight(), barB.getHeight()) < 2.0f * cornerSize)
        bottom = barA.getBottom();

    // One pixel more on every side for the anti-aliased edges.
    return juce::Rectangle<float> (0.0f, top, width, bottom - top).getSmallestIntegerContainer().expanded (1);
}
