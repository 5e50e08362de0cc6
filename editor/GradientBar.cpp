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
