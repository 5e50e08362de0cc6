#include "editor/GradientBar.h"

#include "editor/MeterGeometry.h"
#include "look/ColourPalette.h"

void paintGradientBar (juce::Graphics& g, const juce::Component& meter, float fillFraction, int cornerSize)
{
    const auto width = (float) meter.getWidth();
    const auto height = (float) meter.getHeight();
    const auto corner = (float) cornerSize;

    g.setColour (greyOpacityVresk);
    g.fillRoundedRectangle (MeterGeometry::frameBounds (width, height), corner);

    g.setGradientFill (MeterGeometry::barGradient (height));
    g.fillRoundedRectangle (MeterGeometry::barFillBounds (fillFraction, width, height), corner);

    g.setColour (greyLightVresk);
    g.drawRoundedRectangle (MeterGeometry::innerOutlineBounds (width, height), corner,
                            MeterGeometry::innerOutlineThickness);

    g.setColour (blackUltraVresk);
    g.drawRoundedRectangle (MeterGeometry::frameBounds (width, height), corner,
                            MeterGeometry::outerOutlineThickness);
}

void repaintGradientBar (juce::Component& meter, float fillFractionBefore, float fillFractionNow, int cornerSize)
{
    const auto width = (float) meter.getWidth();
    const auto height = (float) meter.getHeight();
    const auto corner = (float) cornerSize;

    const auto barBefore = MeterGeometry::barFillBounds (fillFractionBefore, width, height);
    const auto barNow = MeterGeometry::barFillBounds (fillFractionNow, width, height);

    if (barBefore == barNow)
        return;

    // Both bars stand on the same lower edge and differ from the lower top down
    // to where the rounded corners of the higher top end. A bar too short for
    // two whole corners rounds its lower corners less, so from there on down.
    const auto top = juce::jmin (barBefore.getY(), barNow.getY());
    auto bottom = juce::jmax (barBefore.getY(), barNow.getY()) + corner;

    if (juce::jmin (barBefore.getHeight(), barNow.getHeight()) < 2.0f * corner)
        bottom = barBefore.getBottom();

    // One pixel more on every side for the anti-aliased edges.
    meter.repaint (juce::Rectangle<float> (0.0f, top, width, bottom - top).getSmallestIntegerContainer().expanded (1));
}
