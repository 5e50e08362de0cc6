#include "editor/EditorLayout.h"

#include "look/ColourPalette.h"

namespace
{
    // Coordinates are formed in double precision and cut toward zero only once
    // finished, so every size lands on the same pixels on every platform.
    int cutToInt (double value) noexcept
    {
        return (int) value;
    }
} // namespace

//==============================================================================
EditorLayout computeEditorLayout (int width)
{
    const auto w = (double) width;

    // Three whole-pixel units of the width; fractions of them stay exact until
    // a coordinate is finished.
    const int s = cutToInt (0.1 * w);
    const int m = cutToInt (0.01 * w);
    const int q = cutToInt (0.05 * w);

    EditorLayout layout;
    layout.fontSize = (float) width * 0.02f;

    const auto powerSize = cutToInt (0.6 * s);
    layout.powerButton = { cutToInt (0.885 * w), cutToInt (0.8 * m), powerSize, powerSize };

    const auto& power = layout.powerButton;
    layout.logoButton = { q, power.getY(), 4 * power.getHeight(), power.getHeight() };

    layout.aButton = { cutToInt (0.2 * w - 0.5 * s), cutToInt (power.getBottom() + 3.8 * m), s, s };
    const auto& a = layout.aButton;

    layout.lufsLabelA = { a.getX(), a.getBottom() + 3 * m, s, cutToInt (0.5 * s) };
    const auto lufsLabelBottom = layout.lufsLabelA.getBottom();

    layout.peakMeterA = { cutToInt (0.3 * w - 0.1 * s), cutToInt (a.getY() + 0.1 * s),
                          cutToInt (0.4 * s), cutToInt (lufsLabelBottom - a.getY() - 0.1 * s) };

    layout.loudnessMeterA = { cutToInt (0.375 * w - 0.1 * s), cutToInt (a.getY() + 0.3 * s),
                              cutToInt (0.4 * s), cutToInt (lufsLabelBottom - a.getY() - 0.5 * s) };

    layout.bButton = { cutToInt (0.8 * w - 0.5 * s), a.getY(), s, s };
    const auto& b = layout.bButton;

    layout.lufsLabelB = { b.getX(), b.getBottom() + 3 * m, s, cutToInt (0.5 * s) };

    const auto& peakA = layout.peakMeterA;
    const auto& loudnessA = layout.loudnessMeterA;
    layout.peakMeterB = { cutToInt (0.7 * w - 0.3 * s), peakA.getY(), cutToInt (0.4 * s), peakA.getHeight() };
    layout.loudnessMeterB = { cutToInt (0.625 * w - 0.3 * s), loudnessA.getY(), cutToInt (0.4 * s), loudnessA.getHeight() };

    const auto blindSize = cutToInt (1.4 * s);
    layout.blindTestButton = { cutToInt (0.5 * w - 0.7 * s), peakA.getBottom() + 5 * m, blindSize, blindSize };
    const auto& blind = layout.blindTestButton;

    const auto textButtonWidth = cutToInt (1.4 * s);
    const auto textButtonHeight = cutToInt (0.7 * s);
    layout.diffButton = { blind.getX(), cutToInt (blind.getBottom() + 9.8 * m), textButtonWidth, textButtonHeight };
    const auto& diff = layout.diffButton;

    layout.matchBButton = { blind.getX(), cutToInt (peakA.getY() + 0.5 * peakA.getHeight() - 0.35 * s),
                            diff.getWidth(), diff.getHeight() };

    layout.answerAButton = { cutToInt (0.22 * w - 0.7 * s), diff.getY(), diff.getWidth(), diff.getHeight() };
    layout.answerBButton = { cutToInt (0.78 * w - 0.7 * s), diff.getY(), diff.getWidth(), diff.getHeight() };

    layout.vuMeterLeft = { cutToInt (0.25 * w - 1.25 * s), cutToInt (diff.getY() - 0.36 * s), cutToInt (2.5 * s), cutToInt (1.5 * s) };
    const auto& vuLeft = layout.vuMeterLeft;
    layout.vuMeterRight = vuLeft.withX (cutToInt (0.75 * w - 1.25 * s));

    // The blind test's messages sit between the two needle meters, which the
    // test hides while it runs.
    layout.blindTestLabel = vuLeft.withX (cutToInt (0.5 * w - 0.5 * vuLeft.getWidth()));

    return layout;
}

juce::ColourGradient makeBackgroundGradient (int width, int height)
{
    const auto w = (double) width;
    const auto h = (double) height;

    return { juce::Colour (0xFFB4BEF4), (float) (0.25 * w), (float) (0.06 * h),
             juce::Colour (0xFF1C244E), (float) (0.85 * w), (float) (0.99 * h), true };
}

juce::ColourGradient makePanelGradient (int width, int height)
{
    const auto w = (double) width;
    const auto h = (double) height;

    return { juce::Colour (0xFFAAABAC), (float) (0.3 * w), (float) (0.15 * h),
             blackUltraVresk, (float) (0.75 * w), (float) (1.1 * h), true };
}

//==============================================================================
namespace
{
    PanelShape makePanel (float x, float y, float width, float height)
    {
        PanelShape panel;
        panel.body = { x, y, width, height };

        // The texture and its outline are inset on the left and top only, which
        // leaves a sliver of the gradient showing along those two edges.
        panel.texture = { x + 3.0f, y + 3.0f, width - 3.0f, height - 3.0f };
        panel.outerOutline = { x + 1.0f, y + 1.0f, width, height };
        return panel;
    }

    juce::Line<float> lineBetween (double x1, double y1, double x2, double y2)
    {
        return { (float) x1, (float) y1, (float) x2, (float) y2 };
    }
} // namespace

EditorPaintGeometry computePaintGeometry (const EditorLayout& layout, int width)
{
    const auto w = (double) width;
    const int r = cutToInt (0.005 * w);
    const int q = cutToInt (0.05 * w);

    EditorPaintGeometry geometry;

    const auto panelX = (float) (1.5 * q - 3 * r);
    const auto panelWidth = (float) (width - 3 * q + 6 * r);

    geometry.upperPanel = makePanel (panelX, (float) (layout.aButton.getY() - 6 * r),
                                     panelWidth, (float) (layout.peakMeterA.getHeight() + 16 * r));

    geometry.lowerPanel = makePanel (panelX, (float) (layout.diffButton.getY() - 18 * r),
                                     panelWidth, (float) (layout.diffButton.getHeight() + 36 * r));

    const auto centreX = 0.5 * w;
    const auto halfButton = cutToInt (0.5 * layout.aButton.getWidth());
    const auto& blind = layout.blindTestButton;
    const auto blindCentreY = blind.getY() + cutToInt (0.5 * blind.getWidth());

    const auto& labelA = layout.lufsLabelA;
    const auto& labelB = layout.lufsLabelB;
    const auto labelACentreX = labelA.getX() + halfButton;
    const auto labelBCentreX = labelB.getX() + halfButton;
    const auto aCentreX = layout.aButton.getX() + halfButton;
    const auto bCentreX = layout.bButton.getX() + halfButton;

    geometry.connectorLines = { {
        { lineBetween (centreX, layout.peakMeterA.getY(), centreX, layout.matchBButton.getY()), false },
        { lineBetween (centreX, layout.matchBButton.getBottom(), centreX, layout.peakMeterA.getBottom()), false },
        { lineBetween (labelACentreX, labelA.getBottom() + 10 * r, labelACentreX, blindCentreY), false },
        { lineBetween (aCentreX, layout.aButton.getBottom(), aCentreX, labelA.getY() - 2 * r), true },
        { lineBetween (labelACentreX, blindCentreY, blind.getX(), blindCentreY), false },
        { lineBetween (labelBCentreX, labelB.getBottom() + 10 * r, labelBCentreX, blindCentreY), false },
        { lineBetween (bCentreX, layout.bButton.getBottom(), bCentreX, labelB.getY() - 2 * r), true },
        { lineBetween (labelBCentreX, blindCentreY, blind.getRight(), blindCentreY), false },
    } };

    // The box may begin left of the window; the text is centred in it, so it
    // still shows whole, under the left end of the logo.
    const auto& logo = layout.logoButton;
    geometry.versionTextBox = { logo.getX() - 16 * r,
                                cutToInt (logo.getBottom() - 0.15 * logo.getHeight()),
                                logo.getWidth(),
                                cutToInt (0.3 * logo.getHeight()) };

    return geometry;
}

LabelFrame computeLabelFrame (juce::Rectangle<int> labelBounds, float cornerSize)
{
    const auto bounds = labelBounds.toFloat();
    return { bounds, bounds.withSize (bounds.getWidth() + 1.0f, bounds.getHeight() + 2.0f), cornerSize };
}
