#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/*  The vertical gradient bar that the peak and loudness meters share. Each meter
    keeps its own reading and range; these draw and repaint the bar for the fill
    fraction (0 .. 1) it gives, sized from the meter's width and height.
*/

/** Draws the background, the lit part for the fill fraction, then the two outlines. */
void paintGradientBar (juce::Graphics&, const juce::Component& meter, float fillFraction, int cornerSize);

/** Asks the meter to repaint the part of its bar that looks different at the two
    fill fractions: what a new reading changes. Nothing when the bar looks the same. */
void repaintGradientBar (juce::Component& meter, float fillFractionBefore, float fillFractionNow, int cornerSize);
