#pragma once

#include <juce_graphics/juce_graphics.h>

/** Draws the vertical gradient bar that the peak and loudness meters share:
    background, the lit part for a fill fraction (0 .. 1), then the two outlines.
    Everything is sized from the component's width and height.
*/
void paintGradientBar (juce::Graphics&, float width, float height, float fillFraction, float cornerSize);

/** The part of a bar of this size that looks different at two fill fractions:
    what a new reading needs repainted. Empty when the bar looks the same. */
juce::Rectangle<int> changedGradientBarArea (float fillFractionA, float fillFractionB,
                                             float width, float height, float cornerSize) noexcept;
