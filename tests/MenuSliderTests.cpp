#include "LookTestSupport.h"

#include "look/FontOptions.h"
#include "look/Look.h"
#include "look/MenuGeometry.h"
#include "look/SliderGeometry.h"

using namespace LookTestSupport;

namespace
{
    void expectRectangle (juce::Rectangle<float> actual, float x, float y, float width, float height)
    {
        EXPECT_FLOAT_EQ (actual.getX(), x);
        EXPECT_FLOAT_EQ (actual.getY(), y);
        EXPECT_FLOAT_EQ (actual.getWidth(), width);
        EXPECT_FLOAT_EQ (actual.getHeight(), height);
    }

    constexpr int itemWidth = 200;
    constexpr int itemHeight = 24;

    struct PopupMenuItem
    {
        bool separator = false;
        bool active = true;
        bool highlighted = false;
        bool subMenu = false;
        juce::String text = "Compare";
        juce::String shortcut;
        const juce::Colour* textColour = nullptr;
    };

    juce::Image drawItem (Look& look, const PopupMenuItem& item)
    {
        return render (itemWidth, itemHeight, [&] (juce::Graphics& g)
                       { look.drawPopupMenuItem (g, { 0, 0, itemWidth, itemHeight }, item.separator, item.active,
                                                 item.highlighted, false, item.subMenu, item.text, item.shortcut,
                                                 nullptr, item.textColour); });
    }

    /** The item without its top line: row 0 is where that line is drawn. */
    juce::Image belowTopLine (const juce::Image& item)
    {
        return item.getClippedImage ({ 0, 1, item.getWidth(), item.getHeight() - 1 });
    }

    int largestAlpha (const juce::Image& image)
    {
        return strongestPixel (image).getAlpha();
    }

    juce::Colour brightestPixel (const juce::Image& image)
    {
        auto brightest = image.getPixelAt (0, 0);

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getPerceivedBrightness() > brightest.getPerceivedBrightness())
                    brightest = image.getPixelAt (x, y);

        return brightest;
    }
} // namespace

//==============================================================================
TEST (PopupMenuDrawing, BackgroundIsARoundedFillInTheLooksOwnColour)
{
    Look look;
    auto background = render (120, 80, [&] (juce::Graphics& g)
                              { look.drawPopupMenuBackground (g, 120, 80); });
    EXPECT_TRUE (pixelIs (background, 60, 40, greyOpacityVresk));
    EXPECT_EQ (background.getPixelAt (0, 0).getAlpha(), 0) << "rounded corners";

    // The colour comes from the look-and-feel's table, so it follows a change there.
    look.setColour (juce::PopupMenu::backgroundColourId, juce::Colour (0xff103050));
    background = render (120, 80, [&] (juce::Graphics& g)
                         { look.drawPopupMenuBackground (g, 120, 80); });
    EXPECT_TRUE (pixelIs (background, 60, 40, juce::Colour (0xff103050)));
}

TEST (PopupMenuDrawing, SeparatorDrawsOneLineAlongItsBottomEdgeAndNoText)
{
    Look look;
    PopupMenuItem item;
    item.separator = true;
    item.highlighted = true;
    item.subMenu = true;
    item.shortcut = "Ctrl+S";
    const auto image = drawItem (look, item);

    EXPECT_EQ (paintedBounds (image), juce::Rectangle<int> (0, itemHeight - 1, itemWidth, 1));
    const auto line = image.getPixelAt (itemWidth / 2, itemHeight - 1);
    EXPECT_TRUE (near (line.withAlpha ((juce::uint8) 255), whitePadVresk.withAlpha ((juce::uint8) 255)));

    const auto geometry = popupMenuSeparatorLine (itemWidth, itemHeight);
    EXPECT_EQ (geometry, juce::Line<float> (0.0f, 24.0f, 200.0f, 24.0f));
}

TEST (PopupMenuDrawing, ItemsHaveAShortLineAtTheirTop)
{
    Look look;
    const auto image = drawItem (look, {});

    EXPECT_EQ (popupMenuItemTopLine (itemWidth), juce::Line<float> (80.0f, 0.0f, 120.0f, 0.0f));
    EXPECT_GT (image.getPixelAt (100, 0).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (70, 0).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (130, 0).getAlpha(), 0);
}

TEST (PopupMenuDrawing, HighlightedItemsUseTheHighlightTextColourEvenWhenGivenOne)
{
    Look look;
    const auto red = juce::Colour (0xffff0000);
    PopupMenuItem item;
    item.highlighted = true;
    item.textColour = &red;
    const auto image = drawItem (look, item);

    EXPECT_TRUE (pixelIs (image, 2, itemHeight / 2, orangeDarkVresk));

    // Every pixel lies between the highlight and white text; red text would
    // pull some far toward red.
    bool foundText = false;

    for (int y = 1; y < itemHeight; ++y)
    {
        for (int x = 0; x < itemWidth; ++x)
        {
            const auto pixel = image.getPixelAt (x, y);
            EXPECT_LE ((int) pixel.getRed() - (int) pixel.getGreen(), 0x8e - 0x5f + 3) << x << ", " << y;
            foundText = foundText || near (pixel, whiteVresk, 3);
        }
    }

    EXPECT_TRUE (foundText);
}

TEST (PopupMenuDrawing, GivenTextColourIsUsedWhenNotHighlighted)
{
    Look look;
    const auto red = juce::Colour (0xffff0000);
    PopupMenuItem item;
    item.textColour = &red;
    EXPECT_TRUE (near (strongestPixel (belowTopLine (drawItem (look, item))), red));

    EXPECT_TRUE (near (strongestPixel (belowTopLine (drawItem (look, {}))), greyWhiteVresk));
}

TEST (PopupMenuDrawing, InactiveItemsDimTheirTextsAndArrowButNotTheLineOrHighlight)
{
    Look look;
    PopupMenuItem item;
    item.active = false;
    const auto inactive = drawItem (look, item);
    const auto active = drawItem (look, {});

    EXPECT_NEAR (largestAlpha (belowTopLine (inactive)), 77, 2);
    EXPECT_EQ (inactive.getPixelAt (100, 0), active.getPixelAt (100, 0)) << "top line at full opacity";

    item.text = {};
    item.subMenu = true;
    EXPECT_NEAR (largestAlpha (belowTopLine (drawItem (look, item))), 77, 2) << "the arrow";

    item.highlighted = true;
    EXPECT_TRUE (pixelIs (drawItem (look, item), 2, itemHeight / 2, orangeDarkVresk));
}

TEST (PopupMenuDrawing, TextAndShortcutShareOneCentredBox)
{
    Look look;
    PopupMenuItem textOnly;
    textOnly.text = "Compare sources";
    PopupMenuItem shortcutOnly;
    shortcutOnly.text = {};
    shortcutOnly.shortcut = "Ctrl+K";
    PopupMenuItem both = textOnly;
    both.shortcut = shortcutOnly.shortcut;

    const auto text = paintedBounds (belowTopLine (drawItem (look, textOnly)));
    const auto shortcut = paintedBounds (belowTopLine (drawItem (look, shortcutOnly)));
    const auto together = paintedBounds (belowTopLine (drawItem (look, both)));

    EXPECT_NEAR (text.getCentreX(), itemWidth / 2, 2);
    EXPECT_NEAR (shortcut.getCentreX(), itemWidth / 2, 2);
    EXPECT_LT (shortcut.getHeight(), text.getHeight()) << "a smaller font";
    EXPECT_EQ (together, text.getUnion (shortcut));
}

TEST (PopupMenuDrawing, SubMenuArrowTakesAStripFromTheRight)
{
    const auto arrow = subMenuArrow ({ 0, 0, 200, 24 }, 15.0f);

    // a = 9: a strip 9 pixels wide, a triangle 9 high and 5.4 wide pointing right.
    EXPECT_EQ (arrow.remainingTextBox, juce::Rectangle<int> (0, 0, 191, 24));
    const auto bounds = arrow.triangle.getBounds();
    EXPECT_FLOAT_EQ (bounds.getX(), 191.0f);
    EXPECT_FLOAT_EQ (bounds.getY(), 12.0f - 4.5f);
    EXPECT_NEAR (bounds.getWidth(), 5.4f, 1.0e-4f);
    EXPECT_FLOAT_EQ (bounds.getHeight(), 9.0f);
    EXPECT_TRUE (arrow.triangle.contains (192.0f, 12.0f));
    EXPECT_FALSE (arrow.triangle.contains (192.0f, 8.0f));

    Look look;
    PopupMenuItem item;
    item.text = {};
    item.subMenu = true;
    const auto drawn = paintedBounds (belowTopLine (drawItem (look, item)));
    const auto a = 0.6f * look.getPopupMenuFont().getAscent();
    EXPECT_NEAR (drawn.getX(), itemWidth - (int) a, 1);
    EXPECT_NEAR (drawn.getWidth(), 0.6f * a, 1.5f);
}

TEST (PopupMenuDrawing, SectionHeaderIsCentredInTheHeaderColour)
{
    Look look;
    const auto image = render (itemWidth, itemHeight, [&] (juce::Graphics& g)
                               { look.drawPopupMenuSectionHeader (g, { 0, 0, itemWidth, itemHeight }, "SOURCES"); });

    EXPECT_TRUE (near (strongestPixel (image), orangeVresk));
    EXPECT_NEAR (paintedBounds (image).getCentreX(), itemWidth / 2, 2);
}

TEST (PopupMenuDrawing, ItemFontIsSixtyFourPercentOfTheItemHeight)
{
    EXPECT_FLOAT_EQ (popupMenuItemFontHeight (25), 16.0f);
    EXPECT_FLOAT_EQ (popupMenuItemFontHeight (24), 15.36f);
}

//==============================================================================
namespace
{
    juce::Image drawComboBox (Look& look, juce::ComboBox& box, bool buttonDown)
    {
        return render (box.getWidth(), box.getHeight(), [&] (juce::Graphics& g)
                       { look.drawComboBox (g, box.getWidth(), box.getHeight(), buttonDown, 130, 4, 24, 22, box); });
    }
} // namespace

TEST (ComboBoxDrawing, LooksTheSamePressedOrNot)
{
    Look look;
    juce::ComboBox box;
    box.setSize (160, 30);

    const auto up = drawComboBox (look, box, false);
    const auto down = drawComboBox (look, box, true);

    for (int y = 0; y < up.getHeight(); ++y)
        for (int x = 0; x < up.getWidth(); ++x)
            ASSERT_EQ (up.getPixelAt (x, y), down.getPixelAt (x, y)) << x << ", " << y;
}

TEST (ComboBoxDrawing, BodyOutlineAndMark)
{
    Look look;
    juce::ComboBox box;
    box.setSize (160, 30);
    const auto image = drawComboBox (look, box, false);

    const auto body = comboBoxBody (160, 30);
    expectRectangle (body.bounds, 2.0f, 2.0f, 156.0f, 26.0f);
    EXPECT_FLOAT_EQ (body.cornerSize, 12.0f);

    EXPECT_EQ (image.getPixelAt (0, 15).getAlpha(), 0);
    EXPECT_TRUE (pixelIs (image, 2, 15, blackVresk));
    EXPECT_TRUE (pixelIs (image, 80, 2, blackVresk));

    // Lighter at the top than at the bottom.
    EXPECT_GT (image.getPixelAt (60, 5).getBrightness(), image.getPixelAt (60, 24).getBrightness());

    // The ":" mark is drawn in the button's box, in white.
    const auto mark = image.getClippedImage ({ 130, 4, 24, 22 });
    EXPECT_TRUE (near (brightestPixel (mark), whiteVresk, 3));
    EXPECT_FALSE (near (brightestPixel (image.getClippedImage ({ 20, 4, 100, 22 })), whiteVresk, 40));
}

//==============================================================================
TEST (LinearSliderGeometry, TrackValueFillThumbAndRing)
{
    // W = 40, H = 200, s = 100 between 190 and 10: track width 16 at x = 12;
    // p = 85 - 54 = 31.
    const auto geometry = linearSliderGeometry (0, 40, 200, 100.0f, 190.0f, 10.0f);
    expectRectangle (geometry.track, 12.0f, 4.0f, 16.0f, 196.0f);
    EXPECT_FLOAT_EQ (geometry.cornerSize, 8.0f);
    EXPECT_FLOAT_EQ (geometry.thumbPosition, 31.0f);
    expectRectangle (geometry.valueFill, 12.0f, 35.0f, 16.0f, 165.0f);
    EXPECT_EQ (geometry.thumb, juce::Rectangle<int> (0, 23, 40, 40));
    expectRectangle (geometry.hoverRing, 10.0f, 33.0f, 20.0f, 20.0f);

    // The ring is centred on the thumb's centre.
    EXPECT_FLOAT_EQ (geometry.hoverRing.getCentreX(), 20.0f);
    EXPECT_FLOAT_EQ (geometry.hoverRing.getCentreY(), 31.0f + 0.3f * 40.0f);
}

TEST (LinearSliderGeometry, OddTrackWidthsKeepAWholeCorner)
{
    // W = 45: track width (int) 18 = 18, corner 9; W = 47: (int) 18.8 = 18.
    EXPECT_FLOAT_EQ (linearSliderGeometry (0, 45, 100, 0.0f, 0.0f, 0.0f).track.getWidth(), 18.0f);
    EXPECT_FLOAT_EQ (linearSliderGeometry (0, 47, 100, 0.0f, 0.0f, 0.0f).track.getWidth(), 18.0f);
    EXPECT_FLOAT_EQ (linearSliderGeometry (0, 52, 100, 0.0f, 0.0f, 0.0f).cornerSize, 10.0f);
}

TEST (LinearSliderGeometry, AnOffsetMovesTheTrackButNotTheThumbOrRing)
{
    const auto atZero = linearSliderGeometry (0, 40, 200, 100.0f, 190.0f, 10.0f);
    const auto shifted = linearSliderGeometry (25, 40, 200, 100.0f, 190.0f, 10.0f);

    EXPECT_EQ (shifted.track, atZero.track.translated (25.0f, 0.0f));
    EXPECT_EQ (shifted.valueFill, atZero.valueFill.translated (25.0f, 0.0f));
    EXPECT_EQ (shifted.thumb, atZero.thumb);
    EXPECT_EQ (shifted.hoverRing, atZero.hoverRing);
}

namespace
{
    const auto thumbColour = juce::Colour (0xff00ffff);

    struct LinearSliderDrawing : public ::testing::Test
    {
        LinearSliderDrawing()
        {
            look.thumbImage = solidImage (200, 200, thumbColour);
        }

        juce::Image draw (int x, bool enabled, bool hovered)
        {
            return render (x + 40, 200, [&] (juce::Graphics& g)
                           { look.drawLinearSliderIn (g, x, 40, 200, 100.0f, 190.0f, 10.0f, enabled, hovered); });
        }

        Look look;
    };
} // namespace

TEST_F (LinearSliderDrawing, DisabledShowsOnlyItsGreyTrack)
{
    const auto image = draw (0, false, true);

    // The outline reaches a pixel beyond the track (12, 4, 16, 196) on each side
    // but the bottom, where the image ends.
    EXPECT_EQ (paintedBounds (image), juce::Rectangle<int> (11, 3, 18, 197));
    EXPECT_TRUE (pixelIs (image, 20, 100, greyVresk.interpolatedWith (greyPlusVresk, 0.5f), 3));
}

TEST_F (LinearSliderDrawing, EnabledFillsTheValueAndDrawsTheThumb)
{
    const auto image = draw (0, true, false);

    // Value fill from p + 4 = 35 down, its gradient running from orange at
    // 0.3 H = 60 to dark orange at H = 200.
    const auto along = (150.5f - 60.0f) / 140.0f;
    EXPECT_TRUE (pixelIs (image, 20, 150, orangeVresk.interpolatedWith (orangeDarkVresk, along), 3));
    // Thumb over (0, 23, 40, 40).
    EXPECT_TRUE (pixelIs (image, 1, 24, thumbColour));
    EXPECT_TRUE (pixelIs (image, 38, 61, thumbColour));
    EXPECT_EQ (image.getPixelAt (1, 66).getAlpha(), 0);
}

TEST_F (LinearSliderDrawing, HoveredTurnsTheFillBlueAndRingsTheThumb)
{
    look.thumbImage = juce::Image();
    const auto hovered = draw (0, true, true);
    const auto plain = draw (0, true, false);

    EXPECT_GT (hovered.getPixelAt (20, 150).getBlue(), hovered.getPixelAt (20, 150).getRed());
    EXPECT_GT (plain.getPixelAt (20, 150).getRed(), plain.getPixelAt (20, 150).getBlue());

    // The ring (10, 33, 20, 20), three pixels thick: its left edge at x = 10.
    EXPECT_TRUE (pixelIs (hovered, 10, 43, orangeVresk, 3));
    EXPECT_FALSE (near (plain.getPixelAt (10, 43), orangeVresk, 30));
}

TEST_F (LinearSliderDrawing, AtAnOffsetTheTrackMovesButThumbAndRingStayAtTheLeft)
{
    const auto atZero = paintedBounds (draw (0, false, false));
    const auto shifted = paintedBounds (draw (30, false, false));
    EXPECT_EQ (shifted, atZero.translated (30, 0));

    const auto enabled = draw (30, true, true);
    EXPECT_TRUE (pixelIs (enabled, 1, 24, thumbColour));
    EXPECT_TRUE (pixelIs (enabled, 10, 24, thumbColour));
}

TEST_F (LinearSliderDrawing, RealSlidersDrawDisabledWithoutThumb)
{
    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&look);
    slider.setSize (40, 200);
    EXPECT_FALSE (paintedBounds (slider.createComponentSnapshot (slider.getLocalBounds()))
                      .getIntersection ({ 0, 0, 5, 200 })
                      .isEmpty())
        << "the thumb spans the whole width";

    slider.setEnabled (false);
    EXPECT_TRUE (paintedBounds (slider.createComponentSnapshot (slider.getLocalBounds()))
                     .getIntersection ({ 0, 0, 5, 200 })
                     .isEmpty());
    slider.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (RotarySliderGeometry, KnobPointerAndTextBox)
{
    const auto geometry = rotarySliderGeometry (0, 0, 100, 80, 0.5f, -2.0f, 2.0f, 80, 20);

    // radius = min (50, 40) = 40, r = 40 - 22 = 18.
    EXPECT_EQ (geometry.knob, juce::Rectangle<int> (0, -10, 100, 100));
    EXPECT_FLOAT_EQ (geometry.pointerRadius, 18.0f);
    expectRectangle (geometry.pointer, -2.0f, -19.0f, 4.0f, 0.55f * 18.0f + 1.0f);

    // Halfway between -2 and 2 rad points straight up from the pivot (50, 39).
    const auto pointer = geometry.pointer.transformedBy (geometry.pointerTransform);
    EXPECT_NEAR (pointer.getX(), 48.0f, 1.0e-4f);
    EXPECT_NEAR (pointer.getY(), 39.0f - 19.0f, 1.0e-4f);
    EXPECT_NEAR (pointer.getBottom(), 39.0f - 0.45f * 18.0f, 1.0e-4f);

    expectRectangle (geometry.textBoxFrame, 10.0f, 83.0f, 80.0f, 14.0f);
    expectRectangle (geometry.textBoxFill, 9.0f, 82.0f, 79.0f, 14.0f);
    EXPECT_FLOAT_EQ (geometry.textBoxCornerSize, 4.0f);
}

TEST (RotarySliderGeometry, PointerTurnsClockwiseFromUp)
{
    const auto geometry = rotarySliderGeometry (0, 0, 100, 100, 1.0f, 0.0f, juce::MathConstants<float>::halfPi, 80, 20);
    const auto tip = juce::Point<float> (0.0f, -geometry.pointerRadius - 1.0f).transformedBy (geometry.pointerTransform);

    // r = 50 - 22 = 28; a quarter turn points right from the pivot (50, 49).
    EXPECT_NEAR (tip.x, 50.0f + 29.0f, 1.0e-3f);
    EXPECT_NEAR (tip.y, 49.0f, 1.0e-3f);
}

TEST (RotarySliderGeometry, TextBoxLiesBelowTheKnobWhateverY)
{
    const auto atTop = rotarySliderGeometry (0, 0, 100, 80, 0.0f, 0.0f, 1.0f, 80, 20);
    const auto lower = rotarySliderGeometry (0, 37, 100, 80, 0.0f, 0.0f, 1.0f, 80, 20);

    EXPECT_EQ (lower.textBoxFrame, atTop.textBoxFrame);
    EXPECT_EQ (lower.textBoxFill, atTop.textBoxFill);
    EXPECT_FLOAT_EQ (lower.textBoxFill.getY(), 82.0f);
    EXPECT_EQ (lower.knob, atTop.knob);

    // The pivot does follow y.
    const auto pivotAtTop = juce::Point<float>().transformedBy (atTop.pointerTransform);
    const auto pivotLower = juce::Point<float>().transformedBy (lower.pointerTransform);
    EXPECT_FLOAT_EQ (pivotLower.y - pivotAtTop.y, 37.0f);
}

namespace
{
    const auto knobColour = juce::Colour (0xff202020);
    const auto knobHoverColour = juce::Colour (0xff00ff00);

    struct RotarySliderDrawing : public ::testing::Test
    {
        juce::Image draw (bool active, juce::Colour* textColour = nullptr)
        {
            return render (100, 100, [&] (juce::Graphics& g)
                           {
                const auto colour = look.drawRotarySliderIn (g, 0, 0, 100, 80, 0.5f, -2.0f, 2.0f, 80, 20, active);

                if (textColour != nullptr)
                    *textColour = colour; });
        }

        Look look;
    };
} // namespace

TEST_F (RotarySliderDrawing, InactiveDrawsAGreyPointerAndTheQuietFrame)
{
    look.knobImage = juce::Image();
    look.knobHoverImage = solidImage (300, 300, knobHoverColour);

    juce::Colour textColour;
    const auto image = draw (false, &textColour);

    EXPECT_TRUE (pixelIs (image, 50, 25, greyWhiteVresk)) << "the pointer";
    EXPECT_EQ (image.getPixelAt (20, 20).getAlpha(), 0) << "no hover image";
    EXPECT_EQ (textColour, greyTextBoxVresk);

    // Frame (10, 83, 80, 14), 2 thick; its left edge over the fill, which starts at x = 9.
    EXPECT_TRUE (pixelIs (image, 10, 90, maskVresk.overlaidWith (maskTextBox), 3));
    EXPECT_TRUE (pixelIs (image, 50, 90, maskTextBox, 3));
    EXPECT_EQ (image.getPixelAt (50, 80).getAlpha(), 0);
}

TEST_F (RotarySliderDrawing, ActiveDrawsAnOrangePointerUnderTheHoverImage)
{
    look.knobImage = juce::Image();
    auto hoverRing = juce::Image (juce::Image::ARGB, 300, 300, true);
    hoverRing.clear ({ 0, 0, 300, 40 }, knobHoverColour);
    look.knobHoverImage = hoverRing;

    juce::Colour textColour;
    const auto image = draw (true, &textColour);

    EXPECT_TRUE (pixelIs (image, 50, 25, orangeVresk));
    EXPECT_TRUE (pixelIs (image, 50, 1, knobHoverColour)) << "hover image over (0, -10, 100, 100)";
    EXPECT_EQ (textColour, orangeLightVresk);
    EXPECT_TRUE (pixelIs (image, 10, 90, orangeorangeVresk.overlaidWith (maskTextBox), 3));
}

TEST_F (RotarySliderDrawing, KnobImageIsDrawnUnderThePointer)
{
    look.knobImage = solidImage (300, 300, knobColour);
    const auto image = draw (false);
    EXPECT_TRUE (pixelIs (image, 5, 5, knobColour));
    EXPECT_TRUE (pixelIs (image, 50, 25, greyWhiteVresk));
    EXPECT_TRUE (pixelIs (image, 5, 89, knobColour)) << "the knob reaches to 0.9 w";
}

TEST (SlidersUnderTheMouse, ARotarySliderIsActiveOnlyWhileEnabled)
{
    Look look;
    look.knobImage = juce::Image();
    look.knobHoverImage = solidImage (300, 300, knobHoverColour);

    juce::Slider slider (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::TextBoxBelow);
    slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 80, 20);
    slider.setSize (100, 100);
    MouseOverWindow window (slider);
    window.moveTo ({ 50.0f, 40.0f });
    ASSERT_TRUE (slider.isMouseOverOrDragging());

    auto draw = [&]
    {
        return render (100, 100, [&] (juce::Graphics& g)
                       { look.drawRotarySlider (g, 0, 0, 100, 80, 0.5f, -2.0f, 2.0f, slider); });
    };

    const auto hovered = draw();
    EXPECT_TRUE (pixelIs (hovered, 20, 20, knobHoverColour)) << "the hover image";
    EXPECT_EQ (slider.findColour (juce::Slider::textBoxTextColourId), orangeLightVresk);
    EXPECT_TRUE (pixelIs (hovered, 10, 90, orangeorangeVresk.overlaidWith (maskTextBox), 3));

    slider.setEnabled (false);
    ASSERT_TRUE (slider.isMouseOverOrDragging());
    const auto disabled = draw();
    EXPECT_TRUE (pixelIs (disabled, 50, 25, greyWhiteVresk)) << "the pointer";
    EXPECT_EQ (disabled.getPixelAt (20, 20).getAlpha(), 0) << "no hover image";
    EXPECT_EQ (slider.findColour (juce::Slider::textBoxTextColourId), greyTextBoxVresk);
    EXPECT_TRUE (pixelIs (disabled, 10, 90, maskVresk.overlaidWith (maskTextBox), 3));

    // Hovered once more, then left alone and disabled: the framework's own
    // painting must take the orange of the hover back out of the text box.
    slider.setEnabled (true);
    draw();
    ASSERT_EQ (slider.findColour (juce::Slider::textBoxTextColourId), orangeLightVresk);
    window.moveTo ({ -10.0f, -10.0f });
    slider.setEnabled (false);
    ASSERT_FALSE (slider.isMouseOverOrDragging());

    slider.setLookAndFeel (&look);
    slider.createComponentSnapshot (slider.getLocalBounds());
    slider.setLookAndFeel (nullptr);
    EXPECT_EQ (slider.findColour (juce::Slider::textBoxTextColourId), greyTextBoxVresk);
}

TEST (SlidersUnderTheMouse, ALinearSliderTurnsBlueAndItsTextBoxOrange)
{
    Look look;
    look.thumbImage = juce::Image();

    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    slider.setSize (40, 200);
    MouseOverWindow window (slider);

    auto draw = [&]
    {
        return render (40, 200, [&] (juce::Graphics& g)
                       { look.drawLinearSlider (g, 0, 0, 40, 200, 100.0f, 190.0f, 10.0f,
                                                juce::Slider::LinearVertical, slider); });
    };

    const auto away = draw();
    EXPECT_GT (away.getPixelAt (20, 150).getRed(), away.getPixelAt (20, 150).getBlue());
    std::unique_ptr<juce::Label> quietBox (look.createSliderTextBox (slider));
    EXPECT_EQ (quietBox->findColour (juce::Label::textColourId), greyTextBoxVresk);

    window.moveTo ({ 20.0f, 100.0f });
    ASSERT_TRUE (slider.isMouseOverOrDragging());

    const auto hovered = draw();
    EXPECT_GT (hovered.getPixelAt (20, 150).getBlue(), hovered.getPixelAt (20, 150).getRed());
    EXPECT_TRUE (pixelIs (hovered, 10, 43, orangeVresk, 3)) << "the ring";
    std::unique_ptr<juce::Label> hoveredBox (look.createSliderTextBox (slider));
    EXPECT_EQ (hoveredBox->findColour (juce::Label::textColourId), orangeLightVresk);
}

//==============================================================================
TEST (SliderTextBox, IsAVersionTwoBoxInTheQuietColourTwoPixelsSmaller)
{
    Look look;
    juce::LookAndFeel_V2 versionTwo;
    juce::Slider slider;

    std::unique_ptr<juce::Label> reference (versionTwo.createSliderTextBox (slider));
    std::unique_ptr<juce::Label> label (look.createSliderTextBox (slider));

    EXPECT_EQ (label->findColour (juce::Label::textColourId), greyTextBoxVresk);
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), reference->getFont().getHeight() - 2.0f);
    EXPECT_FALSE (label->getFont().isBold());
    EXPECT_EQ (label->getJustificationType(), reference->getJustificationType());

    EXPECT_EQ (Look::sliderTextColour (true), orangeLightVresk);
    EXPECT_EQ (Look::sliderTextColour (false), greyTextBoxVresk);
}
