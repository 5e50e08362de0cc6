#include "EditorTestSupport.h"

#include "editor/CachedBackground.h"
#include "editor/EditorLayout.h"
#include "editor/Readouts.h"

using namespace EditorTestSupport;

namespace
{
    using Rect = juce::Rectangle<int>;

    /** A child in the order the layout places them, with its bounds in the
        smallest, the initial and the largest window. */
    struct ExpectedBounds
    {
        const char* name;
        Rect EditorLayout::*member;
        Rect at480, at600, at1200;
    };

    // At 1200 wide, worked out by hand from the units s = 120, m = 12, q = 60;
    // the power button's y (0.8 m = 9.6) and the DIFF row (9.8 m = 117.6) are
    // where truncation keeps this from being the 600 x 475 layout doubled.
    // clang-format off
    const ExpectedBounds expectedBounds[] = {
        // child                                               480 x 380              600 x 475              1200 x 950
        { "power", &EditorLayout::powerButton,                 { 424, 3, 28, 28 },    { 531, 4, 36, 36 },    { 1062, 9, 72, 72 } },
        { "logo", &EditorLayout::logoButton,                   { 24, 3, 112, 28 },    { 30, 4, 144, 36 },    { 60, 9, 288, 72 } },
        { "A", &EditorLayout::aButton,                         { 72, 46, 48, 48 },    { 90, 62, 60, 60 },    { 180, 126, 120, 120 } },
        { "LUFS A", &EditorLayout::lufsLabelA,                 { 72, 106, 48, 24 },   { 90, 140, 60, 30 },   { 180, 282, 120, 60 } },
        { "peak A", &EditorLayout::peakMeterA,                 { 139, 50, 19, 79 },   { 174, 68, 24, 102 },  { 348, 138, 48, 204 } },
        { "loudness A", &EditorLayout::loudnessMeterA,         { 175, 60, 19, 60 },   { 219, 80, 24, 78 },   { 438, 162, 48, 156 } },
        { "B", &EditorLayout::bButton,                         { 360, 46, 48, 48 },   { 450, 62, 60, 60 },   { 900, 126, 120, 120 } },
        { "LUFS B", &EditorLayout::lufsLabelB,                 { 360, 106, 48, 24 },  { 450, 140, 60, 30 },  { 900, 282, 120, 60 } },
        { "peak B", &EditorLayout::peakMeterB,                 { 321, 50, 19, 79 },   { 402, 68, 24, 102 },  { 804, 138, 48, 204 } },
        { "loudness B", &EditorLayout::loudnessMeterB,         { 285, 60, 19, 60 },   { 357, 80, 24, 78 },   { 714, 162, 48, 156 } },
        { "blind test", &EditorLayout::blindTestButton,        { 206, 149, 67, 67 },  { 258, 200, 84, 84 },  { 516, 402, 168, 168 } },
        { "DIFF", &EditorLayout::diffButton,                   { 206, 255, 67, 33 },  { 258, 342, 84, 42 },  { 516, 687, 168, 84 } },
        { "MATCH B", &EditorLayout::matchBButton,              { 206, 72, 67, 33 },   { 258, 98, 84, 42 },   { 516, 198, 168, 84 } },
        { "THIS IS A", &EditorLayout::answerAButton,           { 72, 255, 67, 33 },   { 90, 342, 84, 42 },   { 180, 687, 168, 84 } },
        { "THIS IS B", &EditorLayout::answerBButton,           { 340, 255, 67, 33 },  { 426, 342, 84, 42 },  { 852, 687, 168, 84 } },
        { "VU left", &EditorLayout::vuMeterLeft,               { 60, 237, 120, 72 },  { 75, 320, 150, 90 },  { 150, 643, 300, 180 } },
        { "VU right", &EditorLayout::vuMeterRight,             { 300, 237, 120, 72 }, { 375, 320, 150, 90 }, { 750, 643, 300, 180 } },
        { "blind test label", &EditorLayout::blindTestLabel,   { 180, 237, 120, 72 }, { 225, 320, 150, 90 }, { 450, 643, 300, 180 } },
    };
    // clang-format on

    void expectChildBounds (QuorvaneAudioProcessorEditor& editor, const EditorLayout& layout)
    {
        EXPECT_EQ (editor.powerButton.getBounds(), layout.powerButton);
        EXPECT_EQ (editor.logoButton.getBounds(), layout.logoButton);
        EXPECT_EQ (editor.aButton.getBounds(), layout.aButton);
        EXPECT_EQ (editor.lufsLabelA.getBounds(), layout.lufsLabelA);
        EXPECT_EQ (editor.peakMeterA.getBounds(), layout.peakMeterA);
        EXPECT_EQ (editor.loudnessMeterA.getBounds(), layout.loudnessMeterA);
        EXPECT_EQ (editor.bButton.getBounds(), layout.bButton);
        EXPECT_EQ (editor.lufsLabelB.getBounds(), layout.lufsLabelB);
        EXPECT_EQ (editor.peakMeterB.getBounds(), layout.peakMeterB);
        EXPECT_EQ (editor.loudnessMeterB.getBounds(), layout.loudnessMeterB);
        EXPECT_EQ (editor.blindTestButton.getBounds(), layout.blindTestButton);
        EXPECT_EQ (editor.diffButton.getBounds(), layout.diffButton);
        EXPECT_EQ (editor.matchBButton.getBounds(), layout.matchBButton);
        EXPECT_EQ (editor.answerAButton.getBounds(), layout.answerAButton);
        EXPECT_EQ (editor.answerBButton.getBounds(), layout.answerBButton);
        EXPECT_EQ (editor.vuMeterLeft.getBounds(), layout.vuMeterLeft);
        EXPECT_EQ (editor.vuMeterRight.getBounds(), layout.vuMeterRight);
        EXPECT_EQ (editor.blindTestLabel.getBounds(), layout.blindTestLabel);
    }

    juce::Image renderWindow (QuorvaneAudioProcessorEditor& editor)
    {
        return editor.createComponentSnapshot (editor.getLocalBounds(), true, 1.0f);
    }

    juce::Colour pixel (const juce::Image& image, juce::Point<int> point)
    {
        return image.getPixelAt (point.x, point.y);
    }

    int countDifferingPixels (const juce::Image& a, const juce::Image& b)
    {
        if (a.getBounds() != b.getBounds())
            return -1;

        int differing = 0;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    ++differing;

        return differing;
    }
} // namespace

//==============================================================================
TEST (EditorLayout, PlacesEveryChildAtTheSmallestInitialAndLargestSize)
{
    const auto at480 = computeEditorLayout (480);
    const auto at600 = computeEditorLayout (600);
    const auto at1200 = computeEditorLayout (1200);

    for (const auto& row : expectedBounds)
    {
        EXPECT_EQ (at480.*(row.member), row.at480) << row.name << " at 480";
        EXPECT_EQ (at600.*(row.member), row.at600) << row.name << " at 600";
        EXPECT_EQ (at1200.*(row.member), row.at1200) << row.name << " at 1200";
    }

    // The single-precision product of 480 and 0.02.
    EXPECT_EQ (at480.fontSize, 9.5999994f);
    EXPECT_EQ (at600.fontSize, 12.0f);
    EXPECT_EQ (at1200.fontSize, 24.0f);
}

TEST (EditorLayout, EveryChildStaysInsideTheWindowAtEveryAllowedSize)
{
    for (int width = 480; width <= 1200; ++width)
    {
        const auto layout = computeEditorLayout (width);
        const auto window = Rect (0, 0, width, (int) std::ceil (width * 475.0 / 600.0));

        for (const auto& row : expectedBounds)
            EXPECT_TRUE (window.contains (layout.*(row.member))) << "width " << width << ": " << row.name;
    }
}

TEST (EditorLayout, ResizingPlacesTheChildrenAndSetsTheLabelFont)
{
    OpenWindow window;
    auto& editor = *window.editor;

    expectChildBounds (editor, computeEditorLayout (600));
    EXPECT_EQ (editor.look.fontSize, 12.0f);

    editor.setSize (480, 380);
    expectChildBounds (editor, computeEditorLayout (480));
    EXPECT_EQ (editor.look.fontSize, 9.5999994f);
}

TEST (EditorLayout, GradientsFollowTheWindowSize)
{
    const auto background = makeBackgroundGradient (600, 475);
    EXPECT_TRUE (background.isRadial);
    EXPECT_EQ (background.point1, juce::Point<float> (150.0f, 28.5f));
    EXPECT_EQ (background.point2, juce::Point<float> (510.0f, (float) (0.99 * 475)));
    EXPECT_EQ (background.getColourAtPosition (0.0), juce::Colour (0xFFB4BEF4));
    EXPECT_EQ (background.getColourAtPosition (1.0), juce::Colour (0xFF1C244E));

    const auto panel = makePanelGradient (600, 475);
    EXPECT_TRUE (panel.isRadial);
    EXPECT_EQ (panel.point1, juce::Point<float> (180.0f, (float) (0.15 * 475)));
    EXPECT_EQ (panel.point2, juce::Point<float> (450.0f, (float) (1.1 * 475)));
    EXPECT_EQ (panel.getColourAtPosition (0.0), juce::Colour (0xFFAAABAC));
    EXPECT_EQ (panel.getColourAtPosition (1.0), blackUltraVresk);
}

//==============================================================================
TEST (EditorPainting, PanelsTheirTextureAndOutlinesAt600x475)
{
    const auto geometry = computePaintGeometry (computeEditorLayout (600), 600);

    EXPECT_EQ (geometry.upperPanel.body, juce::Rectangle<float> (36, 44, 528, 150));
    EXPECT_EQ (geometry.lowerPanel.body, juce::Rectangle<float> (36, 288, 528, 150));
    EXPECT_EQ (geometry.upperPanel.texture, juce::Rectangle<float> (39, 47, 525, 147));
    EXPECT_EQ (geometry.lowerPanel.texture, juce::Rectangle<float> (39, 291, 525, 147));
    EXPECT_EQ (geometry.upperPanel.outerOutline, juce::Rectangle<float> (37, 45, 528, 150));
    EXPECT_EQ (geometry.lowerPanel.outerOutline, juce::Rectangle<float> (37, 289, 528, 150));
}

TEST (EditorPainting, PanelsStartHalfAPixelInWhenTheUnitIsOdd)
{
    // At 620 wide q = 31 and r = 3: x = 46.5 - 9.
    const auto geometry = computePaintGeometry (computeEditorLayout (620), 620);
    EXPECT_EQ (geometry.upperPanel.body.getX(), 37.5f);
    EXPECT_EQ (geometry.upperPanel.body.getWidth(), 620.0f - 93.0f + 18.0f);
}

TEST (EditorPainting, ConnectorLinesAt600x475OfWhichTwoOnlyWhileMatching)
{
    const auto geometry = computePaintGeometry (computeEditorLayout (600), 600);

    const juce::Line<float> expected[] = {
        { 300, 68, 300, 98 },
        { 300, 140, 300, 170 },
        { 120, 200, 120, 242 },
        { 120, 122, 120, 134 },
        { 120, 242, 258, 242 },
        { 480, 200, 480, 242 },
        { 480, 122, 480, 134 },
        { 480, 242, 342, 242 },
    };

    for (size_t i = 0; i < geometry.connectorLines.size(); ++i)
    {
        EXPECT_EQ (geometry.connectorLines[i].line, expected[i]) << "line " << i + 1;
        EXPECT_EQ (geometry.connectorLines[i].onlyWhileMatching, i == 3 || i == 6) << "line " << i + 1;
    }
}

TEST (EditorPainting, TheVersionTextBoxBeginsLeftOfTheWindow)
{
    const auto geometry = computePaintGeometry (computeEditorLayout (600), 600);
    EXPECT_EQ (geometry.versionTextBox, Rect (-18, 34, 144, 10));
    EXPECT_EQ (geometry.versionTextBox.getCentreX(), 54);
}

TEST (EditorPainting, LabelFramesAreTheLabelAndOnePixelWiderTwoTaller)
{
    const auto frame = computeLabelFrame ({ 90, 140, 60, 30 }, 10.0f);
    EXPECT_EQ (frame.background, juce::Rectangle<float> (90, 140, 60, 30));
    EXPECT_EQ (frame.innerOutline, juce::Rectangle<float> (90, 140, 61, 32));
    EXPECT_EQ (frame.cornerSize, 10.0f);
}

TEST (EditorPainting, WithoutMatchingTheReadoutsTheirFramesAndTheirLinesGo)
{
    OpenWindow window;
    auto& editor = *window.editor;
    const auto layout = computeEditorLayout (600);

    const auto matching = renderWindow (editor);
    EXPECT_TRUE (editor.lufsLabelA.isVisible());
    EXPECT_TRUE (editor.lufsLabelB.isVisible());

    click (editor.matchBButton);
    const auto notMatching = renderWindow (editor);
    EXPECT_FALSE (editor.lufsLabelA.isVisible());
    EXPECT_FALSE (editor.lufsLabelB.isVisible());

    // Lines 4 and 7, between each source button and its readout.
    EXPECT_NE (pixel (matching, { 120, 128 }), pixel (notMatching, { 120, 128 }));
    EXPECT_NE (pixel (matching, { 480, 128 }), pixel (notMatching, { 480, 128 }));

    // The readouts' framed backgrounds, left of their centred text.
    const auto insideLabelA = layout.lufsLabelA.getCentre().withX (layout.lufsLabelA.getX() + 5);
    const auto insideLabelB = layout.lufsLabelB.getCentre().withX (layout.lufsLabelB.getX() + 5);
    EXPECT_NE (pixel (matching, insideLabelA), pixel (notMatching, insideLabelA));
    EXPECT_NE (pixel (matching, insideLabelB), pixel (notMatching, insideLabelB));

    // Line 1 stays.
    EXPECT_EQ (pixel (matching, { 300, 80 }), pixel (notMatching, { 300, 80 }));

    click (editor.matchBButton);
    renderWindow (editor);
    EXPECT_TRUE (editor.lufsLabelA.isVisible());
}

TEST (EditorPainting, TheBlindTestLabelIsFramedWhileTheTestRuns)
{
    OpenWindow window;
    auto& editor = *window.editor;
    const auto label = computeEditorLayout (600).blindTestLabel;

    // Inside the label's frame near its lower-left corner: left of DIFF and
    // right of the left needle meter, and away from the centred text.
    const juce::Point<int> insideFrame (label.getX() + 7, label.getBottom() - 10);

    const auto testOff = renderWindow (editor);
    click (editor.blindTestButton);
    ASSERT_TRUE (editor.blindTestLabel.isVisible());
    const auto testOn = renderWindow (editor);

    EXPECT_NE (pixel (testOff, insideFrame), pixel (testOn, insideFrame));

    // The frame's dark outer outline runs along the label's top edge.
    const auto topEdge = juce::Point<int> (label.getCentreX(), label.getY());
    EXPECT_LT (pixel (testOn, topEdge).getBrightness(), pixel (testOff, topEdge).getBrightness());
}

TEST (EditorPainting, AWindowThatPaintedOtherSizesAndStatesShowsWhatANewOneShows)
{
    struct Step
    {
        int width;
        bool matching;
    };

    OpenWindow used;

    for (const auto step : { Step { 600, true }, Step { 1200, true }, Step { 1200, false },
                             Step { 480, false }, Step { 480, true }, Step { 600, true } })
    {
        if (used.processor.matchB.load() != step.matching)
            click (used.editor->matchBButton);

        used.editor->setSize (step.width, step.width * 475 / 600);

        OpenWindow fresh;
        if (! step.matching)
            click (fresh.editor->matchBButton);

        fresh.editor->setSize (step.width, step.width * 475 / 600);

        EXPECT_EQ (countDifferingPixels (renderWindow (*used.editor), renderWindow (*fresh.editor)), 0)
            << step.width << (step.matching ? ", matching" : ", not matching");
    }
}

TEST (EditorPainting, TheCachedBackgroundCopiesExactlyWhatPaintingDirectlyDrawsAtWholeScales)
{
    // A child, so that the copy goes area by area as beneath the window's meters.
    juce::Component window, child;
    window.setBounds (0, 0, 120, 80);
    window.addAndMakeVisible (child);
    child.setBounds (30, 20, 40, 30);

    // Sloping, anti-aliased edges across the child's border show a copy that is
    // off by a pixel or drawn at another scale.
    const auto paintBackground = [] (juce::Graphics& g)
    {
        g.setGradientFill ({ juce::Colours::navy, 0.0f, 0.0f, juce::Colours::orange, 120.0f, 80.0f, false });
        g.fillAll();
        g.setColour (juce::Colours::white);
        g.drawLine (5.0f, 75.0f, 115.0f, 5.0f, 1.5f);
        g.fillEllipse (40.5f, 25.25f, 21.0f, 13.0f);
    };

    for (const auto scale : { 1, 2, 3 })
    {
        const auto render = [&] (const std::function<void (juce::Graphics&)>& paint)
        {
            juce::Image image (juce::Image::ARGB, 120 * scale, 80 * scale, true);
            juce::Graphics g (image);
            g.addTransform (juce::AffineTransform::scale ((float) scale));
            paint (g);
            return image;
        };

        CachedBackground background;
        const auto copy = [&] (juce::Graphics& g)
        { background.draw (g, window, 0, paintBackground); };

        const auto direct = render (paintBackground);
        EXPECT_EQ (countDifferingPixels (render (copy), direct), 0) << "scale " << scale << ", painted";
        EXPECT_EQ (countDifferingPixels (render (copy), direct), 0) << "scale " << scale << ", copied again";
    }
}

//==============================================================================
TEST (EditorPolling, ReadoutsShowTwoDecimalsOrDashesWithoutAudio)
{
    EXPECT_EQ (formatLoudnessReadout (true, -14.256f), "LUFS\n-14.26");
    EXPECT_EQ (formatLoudnessReadout (true, -9.0f), "LUFS\n-9.00");
    EXPECT_EQ (formatLoudnessReadout (false, -14.256f), "LUFS\n---");

    OpenWindow window;
    auto& processor = window.processor;
    processor.shortTermA = -14.256f;
    processor.aActive = true;
    processor.shortTermB = -20.0f;
    processor.bActive = false;

    window.editor->timerCallback();

    EXPECT_EQ (window.editor->lufsLabelA.getText(), "LUFS\n-14.26");
    EXPECT_EQ (window.editor->lufsLabelB.getText(), "LUFS\n---");

    // The texts are kept current while the readouts are hidden too.
    click (window.editor->matchBButton);
    processor.bActive = true;
    window.editor->timerCallback();
    EXPECT_EQ (window.editor->lufsLabelB.getText(), "LUFS\n-20.00");
}

TEST (EditorPolling, NeedlesShowTheMonitoredSourceAndBarsBothSources)
{
    QuorvaneAudioProcessor processor;
    processor.levelA[0] = -6.0f;
    processor.levelA[1] = -3.0f;
    processor.levelB[0] = -12.0f;
    processor.levelB[1] = -15.0f;
    processor.analyzerThread.lufsShortTermA = -18.0f;
    processor.analyzerThread.lufsShortTermB = -24.0f;
    processor.matchB = false;

    auto readings = readMeterValues (processor);
    EXPECT_EQ (readings.vuMeterLeft, -6.0f);
    EXPECT_EQ (readings.vuMeterRight, -3.0f);
    EXPECT_EQ (readings.peakMeterA, -3.0f);
    EXPECT_EQ (readings.peakMeterB, -12.0f);
    EXPECT_EQ (readings.loudnessMeterA, -18.0f);
    EXPECT_EQ (readings.loudnessMeterB, -24.0f);

    processor.aSelected = false;
    readings = readMeterValues (processor);
    EXPECT_EQ (readings.vuMeterLeft, -12.0f);
    EXPECT_EQ (readings.vuMeterRight, -15.0f);
    EXPECT_EQ (readings.peakMeterA, -3.0f);
}

TEST (EditorPolling, BsLoudnessBarIncludesTheMatchGainWhileMatching)
{
    OpenWindow window;
    auto& processor = window.processor;
    processor.analyzerThread.lufsShortTermA = -16.0f;
    processor.analyzerThread.lufsShortTermB = -20.0f;

    // The match gain's start value is 1 dB.
    window.editor->timerCallback();
    EXPECT_EQ (window.editor->loudnessMeterA.getValue(), -16.0f);
    EXPECT_EQ (window.editor->loudnessMeterB.getValue(), -19.0f);

    processor.matchGainDb = 4.0f;
    window.editor->timerCallback();
    EXPECT_EQ (window.editor->loudnessMeterB.getValue(), -16.0f);

    click (window.editor->matchBButton);
    window.editor->timerCallback();
    EXPECT_EQ (window.editor->loudnessMeterB.getValue(), -20.0f);
}

TEST (EditorPolling, TheTickFeedsTheNeedlesAndPeakBars)
{
    OpenWindow window;
    auto& processor = window.processor;
    processor.levelA[0] = -6.0f;
    processor.levelA[1] = -3.0f;
    processor.levelB[0] = -12.0f;
    processor.levelB[1] = -9.0f;

    window.editor->timerCallback();

    // A needle takes a rise at once; a peak bar nearly at once.
    EXPECT_EQ (window.editor->vuMeterLeft.getValue(), -6.0f);
    EXPECT_EQ (window.editor->vuMeterRight.getValue(), -3.0f);
    EXPECT_NEAR (window.editor->peakMeterA.getLevel(), -3.0f, 0.05f * 400.0f);
    EXPECT_LT (window.editor->peakMeterB.getLevel(), window.editor->peakMeterA.getLevel());
}

//==============================================================================
TEST (EditorPolling, WithoutASecondInputEveryTickDimsBsBars)
{
    OpenWindow window;
    prepareWithLayout (window.processor, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::disabled());
    ASSERT_EQ (window.processor.numInputChannels.load(), 2);

    click (window.editor->bButton);
    expectBarAlphas (*window.editor, 0.5f, 1.0f);

    window.editor->timerCallback();
    expectBarAlphas (*window.editor, 1.0f, 0.5f);

    click (window.editor->bButton);
    window.editor->timerCallback();
    expectBarAlphas (*window.editor, 1.0f, 0.5f);
}

TEST (EditorPolling, WithASecondInputTheTickLeavesTheAlphasToTheClicks)
{
    OpenWindow window;
    prepareWithLayout (window.processor, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo());

    click (window.editor->bButton);
    window.editor->timerCallback();
    expectBarAlphas (*window.editor, 0.5f, 1.0f);
}

//==============================================================================
namespace
{
    /** The window of a processor that has played both sources long enough for
        the short-term loudness, the match and the meters to settle. */
    struct PlayingWindow
    {
        PlayingWindow()
        {
            prepareWithLayout (window.processor, juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo());
            playTestSignals (window.processor, 4.0);

            for (int tick = 0; tick < 30; ++tick)
                window.editor->timerCallback();
        }

        OpenWindow window;
    };
} // namespace

TEST (EditorRendering, BothSourcesPlayingAtTheThreeSizes)
{
    PlayingWindow playing;
    auto& editor = *playing.window.editor;

    EXPECT_TRUE (playing.window.processor.aActive.load());
    EXPECT_TRUE (playing.window.processor.bActive.load());
    EXPECT_TRUE (editor.lufsLabelA.getText().startsWith ("LUFS\n-"));
    EXPECT_NE (editor.lufsLabelB.getText(), "LUFS\n---");

    for (const auto& size : { juce::Point<int> (480, 380), juce::Point<int> (600, 475), juce::Point<int> (1200, 950) })
    {
        editor.setSize (size.x, size.y);
        saveSnapshot (editor, "editor-" + juce::String (size.x) + "x" + juce::String (size.y) + ".png");
    }

    click (editor.matchBButton);
    editor.timerCallback();
    editor.setSize (600, 475);
    saveSnapshot (editor, "editor-600x475-match-off.png");
}
