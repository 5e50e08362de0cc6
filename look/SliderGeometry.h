#pragma once

#include <juce_graphics/juce_graphics.h>

/*  Where the look-and-feel draws the parts of the framework's sliders. The
    linear slider is a rounded track with a value fill, a bitmap thumb and, while
    hovered, a ring around the thumb; the rotary slider a bitmap knob with a
    rotating pointer and a framed box under it for the value text.
*/

//==============================================================================
struct LinearSliderGeometry
{
    juce::Rectangle<float> track; // outlined, then filled grey
    float cornerSize = 0.0f;      // of the track and of the value fill
    float thumbPosition = 0.0f;   // p: where the value fill starts, less 4
    juce::Rectangle<float> valueFill;
    juce::Rectangle<int> thumb;       // the thumb image, stretched; its left edge is 0, not x
    juce::Rectangle<float> hoverRing; // half the thumb's size, about its centre

    juce::Line<float> trackGradient; // start and end points of the grey gradient
    juce::Line<float> valueGradient; // start and end points of the value fill's gradient
};

/** For a slider area at x with the given width and height, the slider position
    and its minimum and maximum positions, in pixels. */
LinearSliderGeometry linearSliderGeometry (int x, int width, int height,
                                           float sliderPos, float minSliderPos, float maxSliderPos);

//==============================================================================
struct RotarySliderGeometry
{
    juce::Rectangle<int> knob;              // the knob image, stretched; at (0, -0.1 w)
    float pointerRadius = 0.0f;             // r: the pointer runs from r + 1 to 0.45 r from the pivot
    juce::Rectangle<float> pointer;         // pointing up from the origin, before the transform
    juce::AffineTransform pointerTransform; // rotation about the origin, then onto the pivot
    juce::Rectangle<float> textBoxFrame;
    juce::Rectangle<float> textBoxFill;
    float textBoxCornerSize = 0.0f;
};

/** For a slider area (x, y, width, height), the position 0..1 between the start
    and end angles (radians, clockwise from straight up) and the slider's text
    box size. The text box frame and fill lie below the area's height, whatever y. */
RotarySliderGeometry rotarySliderGeometry (int x, int y, int width, int height,
                                           float proportion, float startAngle, float endAngle,
                                           int textBoxWidth, int textBoxHeight);
