#include "editor/MeterGeometry.h"

#include <cmath>

namespace MeterGeometry
{
    //==============================================================================
    juce::Rectangle<float> frameBounds (float width, float height) noexcept
    {
        return { 2.0f, 2.0f, width - 4.0f, height - 4.0f };
    }

    juce::Rectangle<float> innerOutlineBounds (float width, float height) noexcept
    {
        return { 2.0f, 2.0f, width - 3.0f, height - 2.0f };
    }

    static float barFillFraction (float reading, float emptyAt, float fullAt) noexcept
    {
        const auto fraction = (reading - emptyAt) / (fullAt - emptyAt);

        if (fraction > 1.0f)
            return 1.0f;

        // Written so that NaN lands here too: a broken reading shows as no signal.
        if (! (fraction >= 0.0f))
            return 0.0f;

        return fraction;
    }

    float peakBarFillFraction (float levelDb) noexcept
    {
        return barFillFraction (levelDb, -75.0f, 5.0f);
    }

    float loudnessBarFillFraction (float loudnessLufs) noexcept
    {
        return barFillFraction (loudnessLufs, -35.0f, -5.0f);
    }

    juce::Rectangle<float> barFillBounds (float fillFraction, float width, float height) noexcept
    {
        auto fillHeight = fillFraction * height;

        if (fillHeight < 5.0f)
            fillHeight = 4.0f;

        return { 2.0f, height - fillHeight + 2.0f, width - 4.0f, fillHeight - 4.0f };
    }

    juce::ColourGradient barGradient (float height)
    {
        juce::ColourGradient gradient;
        gradient.point1 = { 0.0f, height };
        gradient.point2 = { 0.0f, 0.0f };
        gradient.isRadial = false;
        gradient.addColour (0.0, juce::Colour (0xff20254d));
        gradient.addColour (0.7, juce::Colour (0xff8994ec));
        gradient.addColour (1.0, juce::Colour (0xffbef8f8));
        return gradient;
    }

    //==============================================================================
    juce::Point<float> Dial::pointAt (float distance, float angle) const noexcept
    {
        return { pivot.x + distance * std::cos (angle),
                 pivot.y + distance * std::sin (angle) };
    }

    Dial dialFor (float width, float height) noexcept
    {
        Dial dial;
        dial.pivot = { 0.5f * width, 0.95f * height };
        dial.radius = juce::jmin (0.87f * width, 0.87f * height);
        return dial;
    }

    float dialAngle (float decibels) noexcept
    {
        constexpr auto pi = juce::MathConstants<float>::pi;
        constexpr auto restAngle = 1.15f * pi;
        constexpr auto zeroDecibelAngle = 1.65f * pi;
        constexpr auto fullScaleAngle = 1.85f * pi;

        if (! (decibels > -20.0f))
            return restAngle;

        if (decibels <= 0.0f)
        {
            const auto amplitude = std::pow (10.0f, decibels / 20.0f);
            return restAngle + (pi / 2.0f) * (amplitude - 0.1f) / 0.9f;
        }

        return zeroDecibelAngle + (fullScaleAngle - zeroDecibelAngle) * juce::jmin (decibels / 5.0f, 1.0f);
    }

    const std::array<ScaleMark, 13>& dialScaleMarks() noexcept
    {
        static const std::array<ScaleMark, 13> marks { {
            { -20.0f, true,  true,  false },
            { -15.0f, false, false, false },
            { -10.0f, true,  true,  false },
            {  -7.0f, false, false, false },
            {  -5.0f, true,  true,  false },
            {  -3.0f, false, false, false },
            {  -2.0f, true,  true,  false },
            {  -1.0f, false, false, false },
            {   0.0f, true,  true,  true  },
            {   1.0f, true,  false, true  },
            {   2.0f, false, false, true  },
            {   3.0f, true,  true,  true  },
            {   5.0f, true,  true,  true  },
        } };

        return marks;
    }

    juce::Line<float> tickLine (const Dial& dial, const ScaleMark& mark) noexcept
    {
        const auto angle = dialAngle (mark.decibels);
        const auto innerRadius = (mark.isMajor ? 0.85f : 0.92f) * dial.radius;
        return { dial.pointAt (innerRadius, angle), dial.pointAt (dial.radius, angle) };
    }

    float tickThickness (const ScaleMark& mark) noexcept
    {
        return mark.isMajor ? 1.5f : 1.0f;
    }

    juce::Rectangle<int> tickLabelBounds (const Dial& dial, const ScaleMark& mark) noexcept
    {
        const auto centre = dial.pointAt (0.75f * dial.radius, dialAngle (mark.decibels));
        return { (int) (centre.x - 15.0f), (int) (centre.y - 6.0f), 30, 12 };
    }

    juce::String tickLabelText (const ScaleMark& mark)
    {
        return juce::String ((int) mark.decibels);
    }

    juce::Rectangle<float> dialTitleBounds (float width, float height) noexcept
    {
        return { 10.0f, 0.5f * height, juce::jmax (0.0f, width - 20.0f), 30.0f };
    }

    juce::Line<float> needleLine (const Dial& dial, float decibels) noexcept
    {
        return { dial.pivot, dial.pointAt (1.08f * dial.radius, dialAngle (decibels)) };
    }

    juce::Rectangle<float> pivotDotBounds (const Dial& dial) noexcept
    {
        return { dial.pivot.x - 4.0f, dial.pivot.y - 4.0f, 8.0f, 8.0f };
    }
} // namespace MeterGeometry
