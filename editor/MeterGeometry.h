#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/*  The numbers the three meters draw with. Each meter's paint only draws what
    these return, so the tests can check the shapes exactly without reading pixels.
    All sizes are in the component's local coordinates, y growing downward.
*/
namespace MeterGeometry
{
    //==============================================================================
    // Frame and gradient bar

    /** The filled background of a bar meter, and every meter's thick dark outer outline. */
    juce::Rectangle<float> frameBounds (float width, float height) noexcept;

    /** The thin light outline: one pixel wider and two pixels taller than the
        background, so it shows just outside the dark outline's right and bottom. */
    juce::Rectangle<float> innerOutlineBounds (float width, float height) noexcept;

    /** How much of a bar a reading fills, 0 .. 1, linear between the ends of each
        meter's range. Minus infinity and NaN give an empty bar.

        The peak meter fills from -75 dB to +5 dB, leaving room above 0 dBFS for overs. */
    float peakBarFillFraction (float levelDb) noexcept;

    /** The loudness meter fills from -35 to -5 LUFS, the range where programme material sits. */
    float loudnessBarFillFraction (float loudnessLufs) noexcept;

    /** The lit part of a bar for a fill fraction. Its lower edge always sits on the
        background's; a fill under 5 pixels collapses to zero height so that the
        first visible step is a 1-pixel bar rather than a sliver of rounded corners. */
    juce::Rectangle<float> barFillBounds (float fillFraction, float width, float height) noexcept;

    /** Dark blue at the bottom through the accent blue to pale cyan at the top. It
        spans the whole component, so a low bar shows only the dark part. */
    juce::ColourGradient barGradient (float height);

    //==============================================================================
    // Needle dial

    struct Dial
    {
        juce::Point<float> pivot;
        float radius = 0.0f;

        /** The point at a distance from the pivot along a dial angle. */
        juce::Point<float> pointAt (float distance, float angle) const noexcept;
    };

    /** Pivot near the bottom centre, radius from the smaller side. */
    Dial dialFor (float width, float height) noexcept;

    /** Angle in radians at which the dial shows a level in dB. -20 dB and below rest
        at 1.15 pi; up to 0 dB the scale is linear in amplitude (as a VU scale reads),
        reaching 1.65 pi; above 0 dB it is linear in dB up to 1.85 pi at +5 dB. */
    float dialAngle (float decibels) noexcept;

    /** One mark of the dial's scale. */
    struct ScaleMark
    {
        float decibels;
        bool isMajor; // longer and thicker
        bool hasLabel;
        bool isOverRange; // drawn in the warning colour
    };

    /** The marks in the order they are drawn: the normal range, then the over-range zone. */
    const std::array<ScaleMark, 13>& dialScaleMarks() noexcept;

    /** The tick of a mark: from inside the dial out to its radius. */
    juce::Line<float> tickLine (const Dial&, const ScaleMark&) noexcept;
    float tickThickness (const ScaleMark&) noexcept;

    /** The box a mark's label is centred in, on whole pixels. */
    juce::Rectangle<int> tickLabelBounds (const Dial&, const ScaleMark&) noexcept;

    /** The label text: the whole number of dB, without a plus sign. */
    juce::String tickLabelText (const ScaleMark&);

    /** The box the "VU" title is centred in. */
    juce::Rectangle<float> dialTitleBounds (float width, float height) noexcept;

    /** The needle runs past the ticks' ends so its tip stays visible over the labels. */
    juce::Line<float> needleLine (const Dial&, float decibels) noexcept;

    juce::Rectangle<float> pivotDotBounds (const Dial&) noexcept;

    //==============================================================================
    constexpr float dialBackgroundCornerSize = 10.0f;
    constexpr float dialFrameCornerSize = 8.0f;
    constexpr float innerOutlineThickness = 1.0f;
    constexpr float outerOutlineThickness = 2.0f;
    constexpr float labelFontHeight = 11.0f;
    constexpr float titleFontHeight = 15.0f;
    constexpr float needleThickness = 2.0f;
} // namespace MeterGeometry
