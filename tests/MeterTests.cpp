#include "EditorTestSupport.h"
#include "editor/ClassicVUMeter.h"
#include "editor/LufsVUMeter.h"
#include "editor/MeterGeometry.h"
#include "editor/ModernVUMeter.h"
#include "look/Look.h"

#include <cmath>
#include <limits>

namespace
{
    constexpr auto minusInfinity = -std::numeric_limits<float>::infinity();
    constexpr auto plusInfinity = std::numeric_limits<float>::infinity();
    const auto notANumber = std::numeric_limits<float>::quiet_NaN();
    constexpr auto pi = 3.14159265358979;

    void expectRectangle (juce::Rectangle<float> actual, float x, float y, float width, float height)
    {
        EXPECT_FLOAT_EQ (actual.getX(), x);
        EXPECT_FLOAT_EQ (actual.getY(), y);
        EXPECT_FLOAT_EQ (actual.getWidth(), width);
        EXPECT_FLOAT_EQ (actual.getHeight(), height);
    }

    void expectPointNear (juce::Point<float> actual, float x, float y, float tolerance)
    {
        EXPECT_NEAR (actual.x, x, tolerance);
        EXPECT_NEAR (actual.y, y, tolerance);
    }

    const MeterGeometry::ScaleMark& markAt (float decibels)
    {
        for (const auto& mark : MeterGeometry::dialScaleMarks())
            if (mark.decibels == decibels)
                return mark;

        throw std::runtime_error ("no scale mark at that level");
    }

    // The bar meters' fill for a reading, with each meter's own range.
    juce::Rectangle<float> peakBar (float levelDb, float width, float height)
    {
        return MeterGeometry::barFillBounds (MeterGeometry::peakBarFillFraction (levelDb), width, height);
    }

    juce::Rectangle<float> loudnessBar (float lufs, float width, float height)
    {
        return MeterGeometry::barFillBounds (MeterGeometry::loudnessBarFillFraction (lufs), width, height);
    }

    // Drives a peak meter's smoothed level to `target` by feeding it that reading
    // until the rise rule has converged.
    void settle (ModernVUMeter& meter, float target)
    {
        for (int i = 0; i < 100; ++i)
            meter.setValue (target);
    }

    //==============================================================================
    const auto panelColour = juce::Colour (0xff3a3b3c);

    /** The meter at a scale, as the window shows it over a dark panel. */
    juce::Image renderOverPanel (juce::Component& meter, float scale)
    {
        const auto snapshot = meter.createComponentSnapshot (meter.getLocalBounds(), true, scale);
        juce::Image image (juce::Image::ARGB, snapshot.getWidth(), snapshot.getHeight(), true);
        juce::Graphics g (image);
        g.fillAll (panelColour);
        g.drawImageAt (snapshot, 0, 0);
        return image;
    }

    /** Renders a meter as the window would, saves it at 4x for looking at, and
        returns the 1x image for pixel checks. */
    juce::Image renderMeter (juce::Component& meter, int width, int height, const juce::String& fileName)
    {
        // The window's look-and-feel puts the dial's text in the embedded font.
        const Look look;
        meter.setBounds (0, 0, width, height);

        TestSupport::savePng (renderOverPanel (meter, 4.0f), fileName);
        return renderOverPanel (meter, 1.0f);
    }

    /** Gives a meter readings one at a time, as the window's poll does, and checks
        after each that every pixel that changed lies in the areas the meter asked
        to have repainted. Returns how many readings asked for no repaint at all. */
    template <typename Meter>
    int readingsThatRepaintNothing (Meter& meter, int width, int height, std::initializer_list<float> readings)
    {
        const Look look;
        juce::Component window;
        auto* recorder = new EditorTestSupport::RepaintRecorder();
        window.setCachedComponentImage (recorder);
        window.setBounds (0, 0, width, height);
        window.setVisible (true);
        window.addAndMakeVisible (meter);
        meter.setBounds (0, 0, width, height);

        int readingsWithoutRepaint = 0;

        for (const auto reading : readings)
        {
            const auto before = meter.createComponentSnapshot (meter.getLocalBounds());
            recorder->areas.clear();
            meter.setValue (reading);
            const auto after = meter.createComponentSnapshot (meter.getLocalBounds());

            int changedOutside = 0;

            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (before.getPixelAt (x, y) != after.getPixelAt (x, y) && ! recorder->areas.containsPoint ({ x, y }))
                        ++changedOutside;

            EXPECT_EQ (changedOutside, 0) << "pixels changed outside the repainted areas at reading " << reading;

            if (recorder->areas.isEmpty())
                ++readingsWithoutRepaint;
        }

        window.removeChildComponent (&meter);
        window.setCachedComponentImage (nullptr);
        return readingsWithoutRepaint;
    }

    bool looksLikeNeedleBlue (juce::Colour c)
    {
        return c.getBlue() > 200 && c.getBlue() > c.getRed() + 60 && c.getBlue() > c.getGreen() + 60;
    }
} // namespace

//==============================================================================
TEST (ClassicVUMeter, StartsAtMinus60WithTheNeedleAtRest)
{
    ClassicVUMeter meter;
    EXPECT_FLOAT_EQ (meter.getValue(), -60.0f);
    EXPECT_NEAR (MeterGeometry::dialAngle (meter.getValue()), 1.15 * pi, 1.0e-5);
}

TEST (ClassicVUMeter, FallsOneStepPerCallAndReachesRestOnTheEighthCall)
{
    for (auto silence : { minusInfinity, -120.0f, -60.0f })
    {
        ClassicVUMeter meter;
        meter.setValue (0.0f);
        ASSERT_FLOAT_EQ (meter.getValue(), 0.0f);

        meter.setValue (silence);
        EXPECT_FLOAT_EQ (meter.getValue(), -3.0f) << "the first step falls 5 % of the way to -60";

        for (int call = 2; call <= 7; ++call)
            meter.setValue (silence);

        EXPECT_GT (meter.getValue(), -20.0f);

        meter.setValue (silence);
        // 60 dB below 0 closed by 5 % per step: -60 + 60 * 0.95^8
        EXPECT_NEAR (meter.getValue(), -60.0 + 60.0 * std::pow (0.95, 8.0), 1.0e-4);
        EXPECT_LT (meter.getValue(), -20.0f);
        EXPECT_NEAR (MeterGeometry::dialAngle (meter.getValue()), 1.15 * pi, 1.0e-5);
    }
}

TEST (ClassicVUMeter, RisesAtOnceAndClampsAtPlus5)
{
    ClassicVUMeter meter;
    meter.setValue (-12.0f);
    EXPECT_FLOAT_EQ (meter.getValue(), -12.0f);

    meter.setValue (12.0f);
    EXPECT_FLOAT_EQ (meter.getValue(), 5.0f);
    EXPECT_NEAR (MeterGeometry::dialAngle (meter.getValue()), 1.85 * pi, 1.0e-5);

    meter.setValue (plusInfinity);
    EXPECT_FLOAT_EQ (meter.getValue(), 5.0f);
}

TEST (ClassicVUMeter, StaysWithinItsRangeForAnyReading)
{
    ClassicVUMeter meter;
    juce::Random random (42);

    for (int i = 0; i < 5000; ++i)
    {
        const auto reading = i % 50 == 0 ? minusInfinity : random.nextFloat() * 140.0f - 125.0f;
        meter.setValue (reading);
        ASSERT_GE (meter.getValue(), -60.0f);
        ASSERT_LE (meter.getValue(), 5.0f);
    }

    for (int i = 0; i < 2000; ++i)
        meter.setValue (minusInfinity);

    EXPECT_GE (meter.getValue(), -60.0f);
    EXPECT_NEAR (meter.getValue(), -60.0f, 1.0e-3);
}

TEST (ClassicVUMeter, IgnoresNaN)
{
    ClassicVUMeter meter;
    meter.setValue (-6.0f);
    meter.setValue (notANumber);
    EXPECT_FLOAT_EQ (meter.getValue(), -6.0f);
}

//==============================================================================
TEST (ClassicVUMeter, RepaintsOnlyWhereTheNeedleMoves)
{
    ClassicVUMeter meter;

    // Below -20 dB the needle rests however the level moves.
    EXPECT_EQ (readingsThatRepaintNothing (meter, 150, 90, { -60.0f, -40.0f, -60.0f }), 3);

    // Rises, falls, a clamped reading at the top (+12 after +5 leaves +5), and
    // falls from the top again; only the clamped one leaves the needle still.
    EXPECT_EQ (readingsThatRepaintNothing (meter, 150, 90, { -3.0f, -6.0f, -12.0f, 5.0f, 12.0f, -60.0f, -60.0f }), 1);
}

TEST (ModernVUMeter, SmoothsRisesFastAndFallsSlowly)
{
    ModernVUMeter meter;
    EXPECT_FLOAT_EQ (meter.getLevel(), -400.0f);

    meter.setValue (-120.0f);
    EXPECT_FLOAT_EQ (meter.getLevel(), -134.0f) << "0.95 * -120 + 0.05 * -400";

    const auto before = meter.getLevel();
    meter.setValue (before);
    EXPECT_FLOAT_EQ (meter.getLevel(), before) << "an equal reading takes the fall rule and stays";
}

TEST (ModernVUMeter, FallsFromZeroToAnEmptyBarOnTheThirdCall)
{
    ModernVUMeter meter;
    settle (meter, 0.0f);
    ASSERT_NEAR (meter.getLevel(), 0.0f, 1.0e-6f);

    const float expected[] = { -36.0f, -61.2f, -78.84f };

    for (auto level : expected)
    {
        meter.setValue (-120.0f);
        EXPECT_NEAR (meter.getLevel(), level, 1.0e-4f);
    }

    EXPECT_NEAR (MeterGeometry::peakBarFillFraction (-61.2f), 13.8f / 80.0f, 1.0e-6f);
    EXPECT_FLOAT_EQ (MeterGeometry::peakBarFillFraction (meter.getLevel()), 0.0f);
}

TEST (ModernVUMeter, RisesFromMinus120ToMinus6AtOnce)
{
    ModernVUMeter meter;
    settle (meter, -120.0f);
    ASSERT_NEAR (meter.getLevel(), -120.0f, 1.0e-3f);

    meter.setValue (0.0f);
    EXPECT_NEAR (meter.getLevel(), -6.0f, 1.0e-3f);
}

TEST (ModernVUMeter, TakesInfinitiesAsItsEndsAndRecovers)
{
    ModernVUMeter meter;
    meter.setValue (plusInfinity);
    EXPECT_FLOAT_EQ (meter.getLevel(), 0.95f * 5.0f + 0.05f * -400.0f);

    settle (meter, plusInfinity);
    EXPECT_NEAR (meter.getLevel(), 5.0f, 1.0e-4f);

    const auto before = meter.getLevel();
    meter.setValue (minusInfinity);
    EXPECT_FLOAT_EQ (meter.getLevel(), 0.3f * -400.0f + 0.7f * before);

    settle (meter, -20.0f);
    EXPECT_NEAR (meter.getLevel(), -20.0f, 1.0e-3f) << "finite readings bring it back";
}

TEST (ModernVUMeter, IgnoresNaN)
{
    ModernVUMeter meter;
    meter.setValue (-20.0f);
    const auto before = meter.getLevel();
    meter.setValue (notANumber);
    EXPECT_FLOAT_EQ (meter.getLevel(), before);
}

TEST (ModernVUMeter, BarAt24By102FillsFromMinus75ToPlus5)
{
    expectRectangle (peakBar (-35.0f, 24.0f, 102.0f), 2.0f, 53.0f, 20.0f, 47.0f);

    for (auto quiet : { -75.0f, -90.0f, -400.0f, minusInfinity })
        expectRectangle (peakBar (quiet, 24.0f, 102.0f), 2.0f, 100.0f, 20.0f, 0.0f);

    for (auto loud : { 5.0f, 10.0f, plusInfinity })
    {
        expectRectangle (peakBar (loud, 24.0f, 102.0f), 2.0f, 2.0f, 20.0f, 98.0f);
        EXPECT_EQ (peakBar (loud, 24.0f, 102.0f), MeterGeometry::frameBounds (24.0f, 102.0f));
    }
}

//==============================================================================
TEST (ModernVUMeter, RepaintsOnlyTheBandOfTheBarThatChanges)
{
    ModernVUMeter meter;

    // -120 after the start value -400 gives -134: empty before and after. Two
    // rises, then falls of 30 % towards -120: -36.2, -61.4, -79.0 (the bar
    // empties) and from there on an empty bar that needs nothing.
    EXPECT_EQ (readingsThatRepaintNothing (meter, 24, 102, { -120.0f, 0.0f, 0.0f, -120.0f, -120.0f, -120.0f, -120.0f, -120.0f, -120.0f }), 4);
}

TEST (LufsVUMeter, KeepsEachReadingUnsmoothed)
{
    LufsVUMeter meter;
    EXPECT_FLOAT_EQ (meter.getValue(), -80.0f);

    meter.setValue (-14.0f);
    EXPECT_FLOAT_EQ (meter.getValue(), -14.0f);

    meter.setValue (-60.0f);
    EXPECT_FLOAT_EQ (meter.getValue(), -60.0f);

    meter.setValue (minusInfinity);
    EXPECT_EQ (meter.getValue(), minusInfinity);

    meter.setValue (-23.0f);
    meter.setValue (notANumber);
    EXPECT_FLOAT_EQ (meter.getValue(), -23.0f);
}

TEST (LufsVUMeter, BarAt24By78FillsFromMinus35ToMinus5)
{
    expectRectangle (loudnessBar (-20.0f, 24.0f, 78.0f), 2.0f, 41.0f, 20.0f, 35.0f);

    for (auto quiet : { -35.0f, -70.0f, minusInfinity, notANumber })
        expectRectangle (loudnessBar (quiet, 24.0f, 78.0f), 2.0f, 76.0f, 20.0f, 0.0f);

    for (auto loud : { -5.0f, 0.0f, plusInfinity })
        expectRectangle (loudnessBar (loud, 24.0f, 78.0f), 2.0f, 2.0f, 20.0f, 74.0f);
}

//==============================================================================
TEST (LufsVUMeter, RepaintsOnlyTheBandOfTheBarThatChanges)
{
    LufsVUMeter meter;

    // The same reading again, readings below the bar's range after an empty bar,
    // and a reading above it after a full one change nothing. A bar shorter than
    // its two corners (-34 LUFS) and a full one (-5) change all of it.
    EXPECT_EQ (readingsThatRepaintNothing (meter, 24, 78, { -20.0f, -20.0f, -19.5f, -35.0f, -70.0f, minusInfinity, -5.0f, 0.0f, -31.0f, -34.0f }), 4);
}

TEST (GradientBar, ShowsNothingUnderFivePixelsAndOnePixelAtFive)
{
    // 80 pixels high: 5 / 80 and 4.96 / 80 are the fractions either side of the threshold.
    expectRectangle (MeterGeometry::barFillBounds (5.0f / 80.0f, 30.0f, 80.0f), 2.0f, 77.0f, 26.0f, 1.0f);
    expectRectangle (MeterGeometry::barFillBounds (4.96f / 80.0f, 30.0f, 80.0f), 2.0f, 78.0f, 26.0f, 0.0f);
    expectRectangle (MeterGeometry::barFillBounds (0.0f, 30.0f, 80.0f), 2.0f, 78.0f, 26.0f, 0.0f);
}

TEST (GradientBar, RunsFromDarkBlueAtTheBottomToPaleCyanAtTheTop)
{
    const auto gradient = MeterGeometry::barGradient (102.0f);

    EXPECT_FALSE (gradient.isRadial);
    EXPECT_EQ (gradient.point1, juce::Point<float> (0.0f, 102.0f));
    EXPECT_EQ (gradient.point2, juce::Point<float> (0.0f, 0.0f));

    ASSERT_EQ (gradient.getNumColours(), 3);
    EXPECT_EQ (gradient.getColour (0).getARGB(), 0xff20254du);
    EXPECT_EQ (gradient.getColour (1).getARGB(), 0xff8994ecu);
    EXPECT_EQ (gradient.getColour (2).getARGB(), 0xffbef8f8u);
    EXPECT_DOUBLE_EQ (gradient.getColourPosition (1), 0.7);
}

//==============================================================================
TEST (NeedleDial, AnglesMeetAtTheirJoinsAndAreLinearInAmplitudeBelowZero)
{
    EXPECT_NEAR (MeterGeometry::dialAngle (-20.0f), 1.15 * pi, 1.0e-5);
    EXPECT_NEAR (MeterGeometry::dialAngle (-19.999f), 1.15 * pi, 1.0e-4);
    EXPECT_NEAR (MeterGeometry::dialAngle (0.0f), 1.65 * pi, 1.0e-5);
    EXPECT_NEAR (MeterGeometry::dialAngle (0.0001f), 1.65 * pi, 1.0e-4);
    EXPECT_NEAR (MeterGeometry::dialAngle (2.5f), 1.75 * pi, 1.0e-5);
    EXPECT_NEAR (MeterGeometry::dialAngle (9.0f), 1.85 * pi, 1.0e-5);

    // -10 dB is 0.316 in amplitude: (0.316 - 0.1) / 0.9 of the quarter turn above rest.
    EXPECT_NEAR (MeterGeometry::dialAngle (-10.0f) / pi, 1.270, 5.0e-4);
    // -6 dB is half amplitude.
    EXPECT_NEAR (MeterGeometry::dialAngle (-6.0206f), 1.15 * pi + (pi / 2.0) * (0.5 - 0.1) / 0.9, 1.0e-4);

    EXPECT_NEAR (MeterGeometry::dialAngle (minusInfinity), 1.15 * pi, 1.0e-5);
}

TEST (NeedleDial, GeometryAt150By90)
{
    using namespace MeterGeometry;
    const auto dial = dialFor (150.0f, 90.0f);

    EXPECT_FLOAT_EQ (dial.pivot.x, 75.0f);
    EXPECT_FLOAT_EQ (dial.pivot.y, 85.5f);
    EXPECT_FLOAT_EQ (dial.radius, 78.3f);

    const auto lowestTick = tickLine (dial, markAt (-20.0f));
    expectPointNear (lowestTick.getStart(), 15.7f, 55.3f, 0.05f);
    expectPointNear (lowestTick.getEnd(), 5.2f, 50.0f, 0.05f);

    EXPECT_EQ (tickLabelBounds (dial, markAt (-20.0f)), juce::Rectangle<int> (7, 52, 30, 12));
    EXPECT_EQ (tickLabelBounds (dial, markAt (0.0f)), juce::Rectangle<int> (86, 27, 30, 12));

    expectRectangle (dialTitleBounds (150.0f, 90.0f), 10.0f, 45.0f, 130.0f, 30.0f);
    EXPECT_FLOAT_EQ (dialTitleBounds (12.0f, 40.0f).getWidth(), 0.0f) << "a narrow dial gets no negative title box";
    expectRectangle (pivotDotBounds (dial), 71.0f, 81.5f, 8.0f, 8.0f);

    const auto needle = needleLine (dial, 5.0f);
    EXPECT_EQ (needle.getStart(), dial.pivot);
    expectPointNear (needle.getEnd(), 150.35f, 47.1f, 0.05f);
    EXPECT_GT (needle.getLength(), dial.radius) << "the needle reaches past the ticks";
}

TEST (NeedleDial, ScaleHasMajorTicksLabelledAndOverRangeFromZero)
{
    using namespace MeterGeometry;
    const auto dial = dialFor (150.0f, 90.0f);

    juce::StringArray labels;
    float previousAngle = 0.0f;

    for (const auto& mark : dialScaleMarks())
    {
        if (mark.hasLabel)
            labels.add (tickLabelText (mark));

        EXPECT_EQ (mark.isOverRange, mark.decibels >= 0.0f);

        const auto tick = tickLine (dial, mark);
        EXPECT_NEAR (tick.getEnd().getDistanceFrom (dial.pivot), dial.radius, 1.0e-3f);
        EXPECT_NEAR (tick.getLength(), (mark.isMajor ? 0.15f : 0.08f) * dial.radius, 1.0e-3f);

        const auto angle = dialAngle (mark.decibels);
        EXPECT_GT (angle, previousAngle) << "marks are drawn from left to right";
        previousAngle = angle;
    }

    EXPECT_EQ (labels.joinIntoString (" "), "-20 -10 -5 -2 0 3 5");
    EXPECT_FALSE (markAt (1.0f).hasLabel);
    EXPECT_TRUE (markAt (1.0f).isMajor);
    EXPECT_FALSE (markAt (2.0f).isMajor);
}

//==============================================================================
TEST (MeterImages, NeedleIsDrawnAtTheStoredLevel)
{
    ClassicVUMeter meter;
    const auto dial = MeterGeometry::dialFor (150.0f, 90.0f);
    const auto alongNeedle = [&dial] (float level)
    {
        return MeterGeometry::needleLine (dial, level).getPointAlongLineProportionally (0.6f).roundToInt();
    };

    const auto atRest = renderMeter (meter, 150, 90, "ClassicVUMeter-rest.png");
    EXPECT_TRUE (looksLikeNeedleBlue (atRest.getPixelAt (alongNeedle (-60.0f).x, alongNeedle (-60.0f).y)));
    EXPECT_FALSE (looksLikeNeedleBlue (atRest.getPixelAt (alongNeedle (5.0f).x, alongNeedle (5.0f).y)));

    meter.setValue (12.0f);
    const auto pinned = renderMeter (meter, 150, 90, "ClassicVUMeter-plus5.png");
    EXPECT_TRUE (looksLikeNeedleBlue (pinned.getPixelAt (alongNeedle (5.0f).x, alongNeedle (5.0f).y)));
    EXPECT_FALSE (looksLikeNeedleBlue (pinned.getPixelAt (alongNeedle (-60.0f).x, alongNeedle (-60.0f).y)));

    meter.setValue (-6.0f);
    renderMeter (meter, 150, 90, "ClassicVUMeter-first-fall-from-plus5.png");

    ClassicVUMeter halfAmplitude;
    halfAmplitude.setValue (-6.0f);
    renderMeter (halfAmplitude, 150, 90, "ClassicVUMeter-minus6.png");

    ClassicVUMeter larger;
    larger.setValue (0.0f);
    renderMeter (larger, 300, 180, "ClassicVUMeter-0dB-300x180.png");
}

TEST (MeterImages, DialColoursItsScaleNeedlePivotAndFrame)
{
    // Four times larger, so the thin lines cover whole pixels where they are sampled.
    constexpr auto scale = 4.0f;

    ClassicVUMeter meter;
    meter.setValue (-6.0f);
    meter.setBounds (0, 0, 150, 90);
    const auto image = renderOverPanel (meter, scale);

    const auto pixelAt = [&image, scale] (juce::Point<float> p)
    {
        return image.getPixelAt (juce::roundToInt (p.x * scale - 0.5f), juce::roundToInt (p.y * scale - 0.5f));
    };

    const auto expectNear = [] (juce::Colour actual, juce::Colour expected, const char* what)
    {
        EXPECT_NEAR (actual.getRed(), expected.getRed(), 4) << what;
        EXPECT_NEAR (actual.getGreen(), expected.getGreen(), 4) << what;
        EXPECT_NEAR (actual.getBlue(), expected.getBlue(), 4) << what;
    };

    const auto dial = MeterGeometry::dialFor (150.0f, 90.0f);
    const auto background = panelColour.overlaidWith (juce::Colour (0xa61a1a1a));
    const auto halfWhite = background.overlaidWith (juce::Colour (0x80ffffff));
    const auto orange = juce::Colour (0xffeca019);

    // The middle of each tick: half-transparent white below 0 dB, orange from 0 dB up.
    for (auto decibels : { -15.0f, -10.0f, -3.0f, -1.0f })
        expectNear (pixelAt (dial.pointAt (0.96f * dial.radius, MeterGeometry::dialAngle (decibels))), halfWhite, "scale tick");

    for (auto decibels : { 0.0f, 1.0f, 2.0f, 3.0f, 5.0f })
        expectNear (pixelAt (dial.pointAt (0.96f * dial.radius, MeterGeometry::dialAngle (decibels))), orange, "over-range tick");

    expectNear (pixelAt (dial.pointAt (0.5f * dial.radius, MeterGeometry::dialAngle (-6.0f))),
                juce::Colour (0xff8994ec), "needle");
    expectNear (pixelAt (dial.pivot), juce::Colour (0xffe6e7e7), "pivot over the needle");
    expectNear (pixelAt ({ 100.0f, 60.0f }), background, "dial face");

    // The dark outline's left edge runs along x = 2; the light one shows only
    // past the dark one's right edge, between x = 149 and 149.5.
    expectNear (pixelAt ({ 2.1f, 45.0f }), juce::Colour (0xff191a1a), "dark outline");
    expectNear (pixelAt ({ 149.3f, 45.0f }), juce::Colour (0xff6e6f6f), "light outline");
}

TEST (MeterImages, BarsLightUpToTheirReading)
{
    ModernVUMeter peak;
    settle (peak, -35.0f);
    const auto halfPeak = renderMeter (peak, 24, 102, "ModernVUMeter-minus35.png");

    // The bar's top is at y = 53: the gradient shows just below it, only the background above.
    EXPECT_GT (halfPeak.getPixelAt (12, 90).getBlue(), 70);
    EXPECT_GT (halfPeak.getPixelAt (12, 56).getBlue(), halfPeak.getPixelAt (12, 90).getBlue())
        << "the gradient brightens upward";
    EXPECT_LT (halfPeak.getPixelAt (12, 50).getBlue(), 50);

    settle (peak, 5.0f);
    const auto fullPeak = renderMeter (peak, 24, 102, "ModernVUMeter-full.png");
    EXPECT_GT (fullPeak.getPixelAt (12, 8).getGreen(), 200) << "the top of a full bar is pale cyan";

    LufsVUMeter loudness;
    const auto empty = renderMeter (loudness, 24, 78, "LufsVUMeter-empty.png");
    EXPECT_LT (empty.getPixelAt (12, 70).getBlue(), 50);

    loudness.setValue (-20.0f);
    const auto half = renderMeter (loudness, 24, 78, "LufsVUMeter-minus20.png");
    // Top at y = 41.
    EXPECT_GT (half.getPixelAt (12, 44).getBlue(), 100);
    EXPECT_LT (half.getPixelAt (12, 38).getBlue(), 50);
}
