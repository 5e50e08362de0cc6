#pragma once

#include <juce_graphics/juce_graphics.h>

/** Draws the vertical gradient bar that the peak and loudness meters share:
    background, the lit part for a fill fraction (0 .. 1), then the two outlines.
    Everything is sized from the component's width and height.
*/
void paintGradientBar (juce::Graphics&, float width, float height, float fillFraction, float cornerSize);
