#include "EditorTestSupport.h"
#include "LookTestSupport.h"

#include "look/ButtonGeometry.h"
#include "look/FontOptions.h"
#include "look/Look.h"

#include <memory>
#include <utility>
#include <vector>

using namespace LookTestSupport;

namespace
{
    void expectRectangle (juce::Rectangle<int> actual, int x, int y, int width, int height)
    {
        EXPECT_EQ (actual, juce::Rectangle<int> (x, y, width, height));
    }

    void expectBox (const RoundedBox& box, float x, float y, float width, float height, float cornerSize)
    {
        EXPECT_FLOAT_EQ (box.bounds.getX(), x);
        EXPECT_FLOAT_EQ (box.bounds.getY(), y);
        EXPECT_FLOAT_EQ (box.bounds.getWidth(), width);
        EXPECT_FLOAT_EQ (box.bounds.getHeight(), height);
        EXPECT_FLOAT_EQ (box.cornerSize, cornerSize);
    }

    void expectSlice (const ImageSlice& slice, juce::Rectangle<int> source, juce::Rectangle<int> destination)
    {
        EXPECT_EQ (slice.source, source);
        EXPECT_EQ (slice.destination, destination);
    }

    const auto normalState = ButtonLookState { false, false, true };
    const auto onState = ButtonLookState { true, false, true };
    const auto hoveredState = ButtonLookState { false, true, true };
    const auto hoveredButDisabled = ButtonLookState { false, true, false };

    const auto highlight = juce::Colour (0x33e6e6e6);
    const auto normalSkinColour = juce::Colour (0xffff0000);
    const auto onSkinColour = juce::Colour (0xff00ff00);
    const auto squareSkinColour = juce::Colour (0xff00ffff);
    const auto squareOnSkinColour = juce::Colour (0xff008080);

    /** A Look whose skins are flat stand-ins, so a rendered pixel tells which
        skin, and which part of it, was drawn there. */
    struct LookWithMarkedSkins : public ::testing::Test
    {
        LookWithMarkedSkins()
        {
            look.skin2to1 = solidImage (400, 200, normalSkinColour);
            look.skin2to1On = solidImage (400, 200, onSkinColour);
            look.skinSquare = solidImage (300, 300, squareSkinColour);
            look.skinSquareOn = solidImage (300, 300, squareOnSkinColour);
            look.skinWide = threeColourSkin (400, 200);
            look.skinWideOn = threeColourSkin (400, 200);
        }

        void withoutSkins()
        {
            for (auto* image : { &look.skin2to1, &look.skin2to1On, &look.skinSquare,
                                 &look.skinSquareOn, &look.skinWide, &look.skinWideOn })
                *image = juce::Image();
        }

        juce::Image skin (int w, int h, ButtonLookState state, juce::Colour buttonColour = whiteVresk)
        {
            return render (w, h, [&] (juce::Graphics& g)
                           { look.drawTextButtonSkin (g, w, h, buttonColour, state); });
        }

        /** What the framework's button painting draws behind a real button's text. */
        juce::Image background (juce::Button& button)
        {
            return render (button.getWidth(), button.getHeight(), [&] (juce::Graphics& g)
                           { look.drawButtonBackground (g, button, whiteVresk, false, false); });
        }

        Look look;
    };
} // namespace

//==============================================================================
TEST (Palette, HoldsTheProductsColours)
{
    struct Entry
    {
        const char* name;
        const juce::Colour* colour;
        juce::uint32 argb;
    };

    const std::vector<Entry> palette {
        { "blueDarkVresk", &blueDarkVresk, 0xff146d78 },
        { "orangeLightVresk", &orangeLightVresk, 0xffd28218 },
        { "orangeorangeVresk", &orangeorangeVresk, 0x33ed9c14 },
        { "orangeDarkVresk", &orangeDarkVresk, 0xff8e5f23 },
        { "orangeTransTarn", &orangeTransTarn, 0xff5a3c0a },
        { "whiteVresk", &whiteVresk, 0xfffafbfb },
        { "greyTextBoxVresk", &greyTextBoxVresk, 0xff969798 },
        { "greyVresk", &greyVresk, 0xff646565 },
        { "greyPlusVresk", &greyPlusVresk, 0xff5f6060 },
        { "backgroundVresk2", &backgroundVresk2, 0xffaaacb1 },
        { "backgroundVreskL", &backgroundVreskL, 0xff494a4a },
        { "greyDownVresk", &greyDownVresk, 0xff414242 },
        { "greyBlackVresk", &greyBlackVresk, 0xff323333 },
        { "maskVresk", &maskVresk, 0x4c000000 },
        { "whitePadVresk", &whitePadVresk, 0x99e6e6e6 },
        { "termsVresk", &termsVresk, 0x4ce6e6e6 },
        { "maskTextBox", &maskTextBox, 0x66121213 },
        { "greyWhiteVresk", &greyWhiteVresk, 0xffd2d3d3 },
        { "blueVresk", &blueVresk, 0xff8994ec },
        { "blackVresk", &blackVresk, 0xff282929 },
        { "blackUltraVresk", &blackUltraVresk, 0xff191a1a },
        { "lightVresk2", &lightVresk2, 0x33e6e6e6 },
        { "greyOpacityVresk", &greyOpacityVresk, 0xa61a1a1a },
        { "greyLightVresk", &greyLightVresk, 0xff6e6f6f },
        { "OpacityVresk", &OpacityVresk, 0x66000000 },
        { "orangeVresk", &orangeVresk, 0xffeca019 },
        { "whiteLightVresk", &whiteLightVresk, 0xffe6e7e7 },
        { "transparentVresk", &transparentVresk, 0x00000000 },
    };

    for (const auto& entry : palette)
        EXPECT_EQ (entry.colour->getARGB(), entry.argb) << entry.name;
}

//==============================================================================
TEST (LookColourTable, HoldsTheLastSettingOfEveryId)
{
    Look look;

    const std::vector<std::pair<int, juce::Colour>> expected {
        { juce::Label::textColourId, greyWhiteVresk },
        { juce::PopupMenu::textColourId, greyWhiteVresk },
        { juce::PopupMenu::backgroundColourId, greyOpacityVresk },
        { juce::PopupMenu::headerTextColourId, orangeVresk },
        { juce::PopupMenu::highlightedTextColourId, whiteVresk },
        { juce::PopupMenu::highlightedBackgroundColourId, orangeDarkVresk },
        { juce::ProgressBar::backgroundColourId, orangeVresk },
        { juce::ProgressBar::foregroundColourId, whiteVresk },
        { juce::AlertWindow::textColourId, whiteVresk },
        { juce::AlertWindow::outlineColourId, whiteVresk },
        { juce::AlertWindow::backgroundColourId, greyDownVresk },
        { juce::TextButton::buttonColourId, whiteVresk },
        { juce::TextButton::buttonOnColourId, orangeDarkVresk },
        { juce::TextButton::textColourOffId, backgroundVresk2 },
        { juce::TextButton::textColourOnId, orangeVresk },
        { juce::ComboBox::outlineColourId, whiteLightVresk },
        { juce::ScrollBar::thumbColourId, whiteVresk },
        { juce::ScrollBar::backgroundColourId, orangeVresk },
        { juce::ScrollBar::trackColourId, orangeVresk },
        { juce::TextEditor::backgroundColourId, greyBlackVresk },
        { juce::TextEditor::highlightColourId, orangeVresk },
        { juce::TextEditor::focusedOutlineColourId, orangeTransTarn },
        { juce::TextEditor::outlineColourId, greyWhiteVresk },
        { juce::TextEditor::textColourId, whiteVresk },
        { juce::TextEditor::shadowColourId, blackVresk },
        { juce::ListBox::outlineColourId, whiteVresk },
        { juce::ListBox::backgroundColourId, blackVresk },
        { juce::TableHeaderComponent::backgroundColourId, blackVresk },
        { juce::TableHeaderComponent::textColourId, whiteVresk },
        { juce::TableHeaderComponent::outlineColourId, blackVresk },
        { juce::TableHeaderComponent::highlightColourId, blackVresk },
        { juce::FileChooserDialogBox::titleTextColourId, whiteVresk },
        { juce::TooltipWindow::backgroundColourId, blackVresk },
        { juce::FileBrowserComponent::currentPathBoxTextColourId, whiteVresk },
        { juce::FileBrowserComponent::currentPathBoxArrowColourId, whiteVresk },
        { juce::FileBrowserComponent::filenameBoxBackgroundColourId, blackVresk },
        { juce::FileBrowserComponent::filenameBoxTextColourId, whiteVresk },
        { juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000) },
    };

    for (const auto& [id, colour] : expected)
    {
        SCOPED_TRACE (juce::String::toHexString (id).toStdString());
        EXPECT_TRUE (look.isColourSpecified (id));
        EXPECT_EQ (look.findColour (id).getARGB(), colour.getARGB());
    }
}

TEST (LookColourTable, AComponentsOwnColourOverridesIt)
{
    Look look;
    juce::TextButton button;
    button.setLookAndFeel (&look);
    EXPECT_EQ (button.findColour (juce::TextButton::textColourOffId), backgroundVresk2);

    button.setColour (juce::TextButton::textColourOffId, greyWhiteVresk);
    EXPECT_EQ (button.findColour (juce::TextButton::textColourOffId), greyWhiteVresk);
    button.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (LookConstruction, BecomesTheDefaultWithTheEmbeddedFont)
{
    Look look;

    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &look);
    EXPECT_FLOAT_EQ (look.fontSize, 16.0f);

    // A font that names no typeface is drawn in the embedded one.
    const auto font = juce::Font (juce::FontOptions (12.0f));
    ASSERT_NE (font.getTypefacePtr(), nullptr);
    EXPECT_EQ (font.getTypefacePtr()->getName(), "Spartan Medium");
}

TEST (LookConstruction, LoadsItsNineImages)
{
    Look look;

    const std::vector<std::pair<const juce::Image*, juce::Point<int>>> images {
        { &look.thumbImage, { 200, 200 } },
        { &look.knobImage, { 300, 300 } },
        { &look.knobHoverImage, { 300, 300 } },
        { &look.skin2to1, { 400, 200 } },
        { &look.skin2to1On, { 400, 200 } },
        { &look.skinSquare, { 300, 300 } },
        { &look.skinSquareOn, { 300, 300 } },
        { &look.skinWide, { 400, 200 } },
        { &look.skinWideOn, { 400, 200 } },
    };

    for (const auto& [image, size] : images)
    {
        ASSERT_TRUE (image->isValid());
        EXPECT_EQ (image->getWidth(), size.x);
        EXPECT_EQ (image->getHeight(), size.y);
    }

    // Each skin is its own artwork.
    EXPECT_NE (look.skin2to1.getPixelAt (200, 100), look.skin2to1On.getPixelAt (200, 100));
    EXPECT_NE (look.skinSquare.getPixelAt (150, 150), look.skinSquareOn.getPixelAt (150, 150));
}

TEST (LookConstruction, TheFrameworkFallsBackToItsOwnDefaultWhenTheLookGoes)
{
    auto look = std::make_unique<Look>();
    const auto* address = look.get();
    ASSERT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), address);

    look.reset();
    EXPECT_NE (&juce::LookAndFeel::getDefaultLookAndFeel(), address);
}

TEST (LookConstruction, ClosingTheNewerOfTwoWindowsLeavesTheOtherInTheEmbeddedFont)
{
    EditorTestSupport::OpenWindow older;
    auto newer = std::make_unique<EditorTestSupport::OpenWindow>();
    newer.reset();

    // Fonts made from now on find their typeface afresh, through the default look-and-feel.
    juce::Typeface::clearTypefaceCache();

    auto& label = older.editor->lufsLabelA;
    label.createComponentSnapshot (label.getLocalBounds());

    const auto typeface = label.getFont().getTypefacePtr();
    ASSERT_NE (typeface, nullptr);
    EXPECT_EQ (typeface->getName(), "Spartan Medium");
}

//==============================================================================
TEST (ButtonSkinGeometry, ShapeLimitsAtHeightThirty)
{
    EXPECT_EQ (skinShapeFor (29, 30), SkinShape::none);
    EXPECT_EQ (skinShapeFor (30, 30), SkinShape::square);
    EXPECT_EQ (skinShapeFor (31, 30), SkinShape::betweenSquareAndTwoToOne);
    EXPECT_EQ (skinShapeFor (50, 30), SkinShape::betweenSquareAndTwoToOne);
    EXPECT_EQ (skinShapeFor (58, 30), SkinShape::betweenSquareAndTwoToOne);
    EXPECT_EQ (skinShapeFor (59, 30), SkinShape::nearTwoToOne);
    EXPECT_EQ (skinShapeFor (60, 30), SkinShape::nearTwoToOne);
    EXPECT_EQ (skinShapeFor (61, 30), SkinShape::nearTwoToOne);
    EXPECT_EQ (skinShapeFor (62, 30), SkinShape::wide);
}

TEST (ButtonSkinGeometry, TheEditorsTextButtonsAreNearTwoToOne)
{
    EXPECT_EQ (skinShapeFor (84, 42), SkinShape::nearTwoToOne);
    EXPECT_EQ (skinShapeFor (67, 33), SkinShape::nearTwoToOne);
}

TEST (ButtonSkinGeometry, EachShapeCutsItsSkinIntoItsSlices)
{
    struct Case
    {
        const char* shape;
        int w, h, imageWidth, imageHeight;
        std::vector<ImageSlice> slices; // source, then destination
    };

    const std::vector<Case> cases {
        { "near 2:1, the editor's", 84, 42, 400, 200, { { { 0, 0, 400, 200 }, { 0, 0, 84, 42 } } } },
        { "wide: two caps and a stretched middle", 62, 30, 400, 200, { { { 0, 0, 200, 200 }, { 0, 0, 30, 30 } }, { { 200, 0, 200, 200 }, { 32, 0, 30, 30 } }, { { 200, 0, 100, 200 }, { 30, 0, 2, 30 } } } },
        { "between square and 2:1: half caps", 50, 30, 400, 200, { { { 0, 0, 100, 200 }, { 0, 0, 15, 30 } }, { { 300, 0, 200, 200 }, { 35, 0, 30, 30 } }, { { 100, 0, 120, 200 }, { 15, 0, 20, 30 } } } },
        { "between square and 2:1, at its limit", 58, 30, 400, 200, { { { 0, 0, 100, 200 }, { 0, 0, 15, 30 } }, { { 300, 0, 200, 200 }, { 43, 0, 30, 30 } }, { { 100, 0, 120, 200 }, { 15, 0, 28, 30 } } } },
        { "square", 30, 30, 300, 300, { { { 0, 0, 300, 300 }, { 0, 0, 30, 30 } } } },
        { "tall", 29, 30, 400, 200, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.shape);
        const auto slices = textButtonSkinSlices (c.w, c.h, c.imageWidth, c.imageHeight);
        ASSERT_EQ (slices.count, (int) c.slices.size());

        for (size_t i = 0; i < c.slices.size(); ++i)
            expectSlice (slices.slices[i], c.slices[i].source, c.slices[i].destination);
    }
}

TEST (ButtonSkinGeometry, AMissingSkinImageGivesEmptySources)
{
    const auto slices = textButtonSkinSlices (62, 30, 0, 0);
    ASSERT_EQ (slices.count, 3);

    for (int i = 0; i < slices.count; ++i)
        EXPECT_TRUE (slices.slices[(size_t) i].source.isEmpty());
}

TEST (ButtonSkinGeometry, ImageButtonsTakeTheSquareSkinOrStretchTheTwoToOneSkin)
{
    expectSlice (imageButtonSkinSlice (60, 60, 300, 300), { 0, 0, 300, 300 }, { 0, 0, 60, 60 });
    expectSlice (imageButtonSkinSlice (150, 42, 400, 200), { 0, 0, 400, 200 }, { 0, 0, 150, 42 });
    expectSlice (imageButtonSkinSlice (40, 60, 400, 200), { 0, 0, 400, 200 }, { 0, 0, 40, 60 });
}

//==============================================================================
TEST (HoverHighlightGeometry, SquareOrNarrowOrWide)
{
    struct Case
    {
        const char* button;
        int w, h;
        float x, y, width, height, cornerSize;
    };

    // The margins narrow from twice the height plus three.
    for (const auto& c : { Case { "text button at the initial window size", 84, 42, 4.2f, 6.3f, 75.6f, 29.4f, 21.0f },
                           Case { "square", 60, 60, 6.0f, 6.0f, 48.0f, 48.0f, 30.0f },
                           Case { "below twice the height plus three", 62, 30, 3.1f, 4.5f, 55.8f, 21.0f, 15.0f },
                           Case { "from twice the height plus three", 63, 30, 1.89f, 4.5f, 59.22f, 21.0f, 15.0f } })
    {
        SCOPED_TRACE (c.button);
        expectBox (hoverHighlightFor (c.w, c.h), c.x, c.y, c.width, c.height, c.cornerSize);
    }
}

//==============================================================================
TEST (TextButtonTextGeometry, AtTheInitialAndSmallestWindowSizesAndATenPixelSquare)
{
    struct Case
    {
        const char* button;
        int w, h;
        float fontHeight;
        int yIndent, cornerSize, leftIndent, rightIndent;
        juce::Rectangle<int> textBox;
        bool drawsText;
    };

    // A ten-pixel square leaves no room for text.
    for (const auto& c : { Case { "initial", 84, 42, 12.6f, 4, 21, 5, 5, { 5, 5, 74, 34 }, true },
                           Case { "smallest", 67, 33, 9.9f, 3, 16, 5, 5, { 5, 4, 57, 27 }, true },
                           Case { "ten pixels", 10, 10, 3.0f, 1, 5, 5, 5, { 5, 2, 0, 8 }, false } })
    {
        SCOPED_TRACE (c.button);
        const auto layout = textButtonTextLayout (c.w, c.h, false, false);
        EXPECT_FLOAT_EQ (layout.fontHeight, c.fontHeight);
        EXPECT_EQ (layout.yIndent, c.yIndent);
        EXPECT_EQ (layout.cornerSize, c.cornerSize);
        EXPECT_EQ (layout.leftIndent, c.leftIndent);
        EXPECT_EQ (layout.rightIndent, c.rightIndent);
        EXPECT_EQ (layout.textBox, c.textBox);
        EXPECT_EQ (layout.drawsText(), c.drawsText);
    }
}

TEST (TextButtonTextGeometry, VerticalIndentRoundsHalvesToEvenAndIsAtLeastOne)
{
    EXPECT_EQ (textButtonTextLayout (100, 5, false, false).yIndent, 1);
    EXPECT_EQ (textButtonTextLayout (100, 6, false, false).yIndent, 1);
    EXPECT_EQ (textButtonTextLayout (100, 15, false, false).yIndent, 2);
    EXPECT_EQ (textButtonTextLayout (100, 25, false, false).yIndent, 2);
    EXPECT_EQ (textButtonTextLayout (100, 35, false, false).yIndent, 4);
    EXPECT_EQ (textButtonTextLayout (100, 1, false, false).yIndent, 1);
}

TEST (TextButtonTextGeometry, ConnectedEdgesHalveTheirIndent)
{
    const auto left = textButtonTextLayout (84, 42, true, false);
    EXPECT_EQ (left.leftIndent, 21 / 8);
    EXPECT_EQ (left.rightIndent, 5);
    expectRectangle (left.textBox, 2, 5, 77, 34);

    const auto right = textButtonTextLayout (84, 42, false, true);
    EXPECT_EQ (right.leftIndent, 5);
    EXPECT_EQ (right.rightIndent, 2);
}

//==============================================================================
TEST (ImageButtonGeometry, IconTakesFortyPercentOfTheButtonAboutItsCentre)
{
    const auto transform = imageButtonIconTransform (300, 300, { 0, 0, 60, 60 }, 60, 60);
    const auto icon = juce::Rectangle<float> (0.0f, 0.0f, 300.0f, 300.0f).transformedBy (transform);
    EXPECT_FLOAT_EQ (icon.getX(), 18.0f);
    EXPECT_FLOAT_EQ (icon.getY(), 18.0f);
    EXPECT_FLOAT_EQ (icon.getWidth(), 24.0f);
    EXPECT_FLOAT_EQ (icon.getHeight(), 24.0f);
}

TEST (ImageButtonGeometry, IconFollowsWhereTheButtonPlacedTheImage)
{
    // A point p goes to 0.4 T(p) + (0.3 w, 0.3 h).
    const auto transform = imageButtonIconTransform (100, 50, { 10, 20, 80, 40 }, 100, 80);
    const auto icon = juce::Rectangle<float> (0.0f, 0.0f, 100.0f, 50.0f).transformedBy (transform);
    EXPECT_FLOAT_EQ (icon.getX(), 0.4f * 10.0f + 30.0f);
    EXPECT_FLOAT_EQ (icon.getY(), 0.4f * 20.0f + 24.0f);
    EXPECT_FLOAT_EQ (icon.getWidth(), 0.4f * 80.0f);
    EXPECT_FLOAT_EQ (icon.getHeight(), 0.4f * 40.0f);
}

TEST (ImageButtonGeometry, DisabledIconsAreDimmedAndTheLogoInsetsOnHover)
{
    EXPECT_FLOAT_EQ (imageButtonIconOpacity (1.0f, true), 1.0f);
    EXPECT_FLOAT_EQ (imageButtonIconOpacity (1.0f, false), 0.3f);
    EXPECT_FLOAT_EQ (imageButtonIconOpacity (0.5f, false), 0.15f);

    expectRectangle (logoDestination (144, 36, false), 0, 0, 144, 36);
    expectRectangle (logoDestination (144, 36, true), 6, 2, 132, 32);
}

//==============================================================================
TEST_F (LookWithMarkedSkins, WideSkinSlicesLandWhereTheGeometrySays)
{
    // 120 x 30: caps (0, 0, 30, 30) and (90, 0, 30, 30), middle (30, 0, 60, 30).
    // The left cap's outer half is the skin's blue, the right cap's outer half
    // its magenta; everything between is the skin's middle.
    const auto image = skin (120, 30, normalState);

    for (auto x : { 2, 12 })
        EXPECT_TRUE (pixelIs (image, x, 15, leftCapColour));

    for (auto x : { 18, 28, 32, 60, 88, 92, 102 })
        EXPECT_TRUE (pixelIs (image, x, 15, middleColour));

    for (auto x : { 108, 117 })
        EXPECT_TRUE (pixelIs (image, x, 15, rightCapColour));
}

TEST_F (LookWithMarkedSkins, HalfCapSkinSlicesLandWhereTheGeometrySays)
{
    // 50 x 30: left half cap (0, 0, 15, 30), middle (15, 0, 20, 30), and the
    // skin's rightmost half square over the last 15 columns.
    const auto image = skin (50, 30, normalState);

    for (auto x : { 2, 12 })
        EXPECT_TRUE (pixelIs (image, x, 15, leftCapColour));

    for (auto x : { 17, 25, 33 })
        EXPECT_TRUE (pixelIs (image, x, 15, middleColour));

    for (auto x : { 37, 47 })
        EXPECT_TRUE (pixelIs (image, x, 15, rightCapColour));
}

TEST_F (LookWithMarkedSkins, OnOrHeldDownButtonsTakeTheOnSkin)
{
    EXPECT_TRUE (pixelIs (skin (84, 42, normalState), 42, 21, normalSkinColour));
    EXPECT_TRUE (pixelIs (skin (84, 42, onState), 42, 21, onSkinColour));
    EXPECT_TRUE (pixelIs (skin (42, 42, normalState), 21, 21, squareSkinColour));
    EXPECT_TRUE (pixelIs (skin (42, 42, onState), 21, 21, squareOnSkinColour));

    // The whole button is covered, corner to corner.
    EXPECT_TRUE (pixelIs (skin (67, 33, normalState), 1, 1, normalSkinColour));
    EXPECT_TRUE (pixelIs (skin (67, 33, normalState), 65, 31, normalSkinColour));
}

TEST_F (LookWithMarkedSkins, TallButtonsGetNoSkin)
{
    EXPECT_TRUE (isBlank (skin (29, 30, normalState)));
}

TEST_F (LookWithMarkedSkins, TransparentButtonColourMeansNoSkinAndNoHighlight)
{
    EXPECT_TRUE (isBlank (skin (84, 42, hoveredState, transparentVresk)));

    // Any other transparent colour is still a skinned button.
    EXPECT_FALSE (isBlank (skin (84, 42, normalState, juce::Colour (0x00ffffff))));
}

TEST_F (LookWithMarkedSkins, HoverHighlightLandsWhereTheGeometrySays)
{
    withoutSkins();
    const auto image = skin (84, 42, hoveredState);

    // (4.2, 6.3, 75.6, 29.4) with fully rounded ends.
    for (auto [x, y] : { std::pair { 42, 21 }, { 42, 8 }, { 42, 34 }, { 6, 21 }, { 78, 21 } })
        EXPECT_TRUE (pixelIs (image, x, y, highlight, 3));

    for (auto [x, y] : { std::pair { 42, 5 }, { 42, 37 }, { 3, 21 }, { 81, 21 }, { 5, 8 } })
        EXPECT_EQ (image.getPixelAt (x, y).getAlpha(), 0) << x << ", " << y;
}

TEST_F (LookWithMarkedSkins, HoverHighlightWidensFromTwiceTheHeightPlusThree)
{
    withoutSkins();

    // Its left end starts at 0.05 w = 3.1 for w = 62, at 0.03 w = 1.89 for w = 63.
    EXPECT_EQ (skin (62, 30, hoveredState).getPixelAt (2, 15).getAlpha(), 0);
    EXPECT_TRUE (pixelIs (skin (63, 30, hoveredState), 2, 15, highlight, 3));
}

TEST_F (LookWithMarkedSkins, DisabledButtonsKeepTheirSkinButShowNoHighlight)
{
    const auto image = skin (84, 42, hoveredButDisabled);
    EXPECT_TRUE (pixelIs (image, 42, 21, normalSkinColour));

    withoutSkins();
    EXPECT_TRUE (isBlank (skin (84, 42, hoveredButDisabled)));
    EXPECT_TRUE (isBlank (skin (84, 42, normalState)));
}

TEST_F (LookWithMarkedSkins, AMissingSkinStillGetsItsHighlight)
{
    look.skin2to1 = juce::Image();
    const auto image = skin (84, 42, hoveredState);
    EXPECT_TRUE (pixelIs (image, 42, 21, highlight, 3));
}

//==============================================================================
TEST_F (LookWithMarkedSkins, RealButtonsDrawTheSkinOfTheirOwnState)
{
    juce::TextButton button;
    button.setLookAndFeel (&look);
    button.setSize (84, 42);

    auto snapshot = [&]
    { return button.createComponentSnapshot (button.getLocalBounds()); };

    EXPECT_TRUE (pixelIs (snapshot(), 3, 21, normalSkinColour));

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (pixelIs (snapshot(), 3, 21, onSkinColour));

    // The framework's background colour and flags are not what decides.
    const auto direct = render (84, 42, [&] (juce::Graphics& g)
                                { look.drawButtonBackground (g, button, transparentVresk, true, true); });
    EXPECT_TRUE (pixelIs (direct, 42, 21, onSkinColour));

    button.setColour (juce::TextButton::buttonColourId, transparentVresk);
    button.setButtonText ("LOGO");
    const auto withoutSkin = snapshot();
    EXPECT_EQ (withoutSkin.getPixelAt (3, 21).getAlpha(), 0);
    EXPECT_FALSE (isBlank (withoutSkin)) << "the text is still drawn";

    button.setLookAndFeel (nullptr);
}

TEST_F (LookWithMarkedSkins, AButtonUnderTheMouseIsHighlightedOnlyWhileEnabled)
{
    withoutSkins();
    juce::TextButton button;
    button.setSize (84, 42);
    MouseOverWindow window (button);

    EXPECT_TRUE (isBlank (background (button)));

    window.moveTo ({ 42.0f, 21.0f });
    ASSERT_TRUE (button.isMouseOverOrDragging());
    EXPECT_TRUE (pixelIs (background (button), 42, 21, highlight, 3));

    button.setEnabled (false);
    EXPECT_TRUE (isBlank (background (button)));
}

TEST_F (LookWithMarkedSkins, AButtonHeldDownShowsTheOnSkinButKeepsTheOffTextColour)
{
    const auto offColour = juce::Colour (0xffff0000);
    const auto onColour = juce::Colour (0xff0000ff);

    juce::TextButton button ("MATCH B");
    button.setColour (juce::TextButton::textColourOffId, offColour);
    button.setColour (juce::TextButton::textColourOnId, onColour);
    button.setSize (84, 42);
    MouseOverWindow window (button);

    auto text = [&]
    {
        return render (84, 42, [&] (juce::Graphics& g)
                       { look.drawButtonText (g, button, false, false); });
    };

    window.pressAt ({ 42.0f, 21.0f });
    ASSERT_TRUE (button.isMouseButtonDown());
    ASSERT_FALSE (button.getToggleState());

    // x = 2 lies left of the highlight, which the mouse over the button also brings.
    EXPECT_TRUE (pixelIs (background (button), 2, 21, onSkinColour));
    EXPECT_TRUE (near (strongestPixel (text()), offColour));

    window.release();
    window.moveTo ({ -10.0f, -10.0f });
    EXPECT_TRUE (pixelIs (background (button), 2, 21, normalSkinColour));
}

TEST (ButtonLookStateOf, ReadsToggleAndEnabledState)
{
    juce::TextButton button;
    EXPECT_FALSE (ButtonLookState::of (button).on);
    EXPECT_TRUE (ButtonLookState::of (button).enabled);
    EXPECT_FALSE (ButtonLookState::of (button).hovered);

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (ButtonLookState::of (button).on);

    button.setEnabled (false);
    EXPECT_FALSE (ButtonLookState::of (button).enabled);
}

//==============================================================================
namespace
{
    struct TextButtonText : public ::testing::Test
    {
        TextButtonText()
        {
            button.setLookAndFeel (&look);
            button.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffff0000));
            button.setColour (juce::TextButton::textColourOnId, juce::Colour (0xff0000ff));
            button.setButtonText ("MATCH");
            button.setSize (84, 42);
        }

        ~TextButtonText() override
        {
            button.setLookAndFeel (nullptr);
        }

        juce::Image text()
        {
            return render (button.getWidth(), button.getHeight(),
                           [this] (juce::Graphics& g)
                           { look.drawButtonText (g, button, false, false); });
        }

        Look look;
        juce::TextButton button;
    };
} // namespace

TEST_F (TextButtonText, StaysInsideItsTextBox)
{
    const auto image = text();
    const auto painted = paintedBounds (image);
    ASSERT_FALSE (painted.isEmpty());

    const auto box = textButtonTextLayout (84, 42, false, false).textBox;
    EXPECT_TRUE (box.contains (painted)) << painted.toString() << " outside " << box.toString();

    // Centred across, one pixel low.
    EXPECT_NEAR (painted.getCentreX(), 42, 1);
}

TEST_F (TextButtonText, UsesTheOnColourOnlyWhenToggledOn)
{
    EXPECT_TRUE (near (strongestPixel (text()), juce::Colour (0xffff0000)));

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (near (strongestPixel (text()), juce::Colour (0xff0000ff)));
}

TEST_F (TextButtonText, IsHalfTransparentWhenDisabled)
{
    button.setEnabled (false);
    const auto strongest = strongestPixel (text());
    EXPECT_NEAR (strongest.getAlpha(), 128, 2);
    EXPECT_NEAR (strongest.getRed(), 255, 3);
    EXPECT_LE (strongest.getBlue(), 3);
}

TEST_F (TextButtonText, ATenPixelButtonDrawsNoText)
{
    button.setSize (10, 10);
    EXPECT_TRUE (isBlank (text()));
}

TEST_F (TextButtonText, FillsTheBoxWithTwoLinesWhenTheTextIsLong)
{
    button.setButtonText ("A LONG BUTTON TEXT THAT WRAPS");
    const auto painted = paintedBounds (text());
    const auto box = textButtonTextLayout (84, 42, false, false).textBox;
    EXPECT_TRUE (box.contains (painted));
    EXPECT_GT (painted.getHeight(), 12.6f * 1.2f) << "drawn on two lines";
}

//==============================================================================
namespace
{
    const auto iconColour = juce::Colour (0xffffffff);

    struct ImageButtonDrawing : public LookWithMarkedSkins
    {
        juce::Image draw (int w, int h, ButtonLookState state, juce::Colour overlay = juce::Colour (0x00000000),
                          float opacity = 1.0f, juce::Colour buttonColour = whiteVresk)
        {
            return render (w, h, [&] (juce::Graphics& g)
                           { look.drawImageButtonIn (g, icon, { 0, 0, w, h }, overlay, opacity, w, h, buttonColour, state); });
        }

        juce::Image icon = solidImage (300, 300, iconColour);
    };
} // namespace

TEST_F (ImageButtonDrawing, IconLandsInTheMiddleFortyPercentOverTheSquareSkin)
{
    withoutSkins();
    EXPECT_EQ (paintedBounds (draw (60, 60, normalState)), juce::Rectangle<int> (18, 18, 24, 24));

    look.skinSquare = solidImage (300, 300, squareSkinColour);
    const auto image = draw (60, 60, normalState);
    EXPECT_TRUE (pixelIs (image, 30, 30, iconColour));
    EXPECT_TRUE (pixelIs (image, 10, 30, squareSkinColour));
    EXPECT_TRUE (pixelIs (image, 1, 58, squareSkinColour));
}

TEST_F (ImageButtonDrawing, OnOrNonSquareButtonsTakeTheirSkins)
{
    EXPECT_TRUE (pixelIs (draw (60, 60, onState), 5, 5, squareOnSkinColour));
    EXPECT_TRUE (pixelIs (draw (80, 40, normalState), 5, 5, normalSkinColour));
    EXPECT_TRUE (pixelIs (draw (80, 40, onState), 78, 38, onSkinColour));
    EXPECT_TRUE (pixelIs (draw (150, 42, normalState), 140, 21, normalSkinColour)) << "no three slices";
}

TEST_F (ImageButtonDrawing, OverlayAlphaDecidesBetweenIconAndColouredShape)
{
    withoutSkins();
    const auto red = juce::Colour (0xffff0000);

    EXPECT_TRUE (pixelIs (draw (60, 60, normalState, red.withAlpha ((juce::uint8) 0)), 30, 30, iconColour));
    EXPECT_TRUE (pixelIs (draw (60, 60, normalState, red), 30, 30, red));
    EXPECT_TRUE (pixelIs (draw (60, 60, normalState, red.withAlpha ((juce::uint8) 0x80)), 30, 30,
                          juce::Colour (0xffff7f7f), 3));

    // The coloured shape follows the icon's own shape, not its square.
    auto ring = juce::Image (juce::Image::ARGB, 300, 300, true);
    {
        juce::Graphics g (ring);
        g.setColour (juce::Colours::white);
        g.fillEllipse (100.0f, 100.0f, 100.0f, 100.0f);
    }
    icon = ring;
    const auto shaped = draw (60, 60, normalState, red);
    EXPECT_TRUE (pixelIs (shaped, 30, 30, red));
    EXPECT_EQ (shaped.getPixelAt (19, 19).getAlpha(), 0);
}

TEST_F (ImageButtonDrawing, DisabledIconsShowAtThirtyPercentWithoutHighlight)
{
    withoutSkins();
    const auto image = draw (60, 60, hoveredButDisabled);
    EXPECT_NEAR (image.getPixelAt (30, 30).getAlpha(), 77, 2);
    EXPECT_EQ (image.getPixelAt (10, 30).getAlpha(), 0);
}

TEST_F (ImageButtonDrawing, HoveredButtonsGetTheHighlightOverTheIcon)
{
    withoutSkins();
    const auto image = draw (60, 60, hoveredState);
    EXPECT_TRUE (pixelIs (image, 10, 30, highlight, 3));
    EXPECT_EQ (image.getPixelAt (2, 2).getAlpha(), 0);

    // White icon under a white-ish highlight stays opaque.
    EXPECT_EQ (image.getPixelAt (30, 30).getAlpha(), 255);
}

TEST_F (ImageButtonDrawing, TheLogoIsDrawnWholeAndInsetWhileHovered)
{
    icon = solidImage (1200, 300, iconColour);
    const auto red = juce::Colour (0xffff0000);

    const auto normal = draw (144, 36, normalState, red, 0.6f, transparentVresk);
    EXPECT_EQ (paintedBounds (normal), juce::Rectangle<int> (0, 0, 144, 36));
    EXPECT_TRUE (pixelIs (normal, 72, 18, iconColour)) << "no overlay, no opacity";

    const auto hovered = draw (144, 36, hoveredButDisabled, red, 0.6f, transparentVresk);
    EXPECT_EQ (paintedBounds (hovered), juce::Rectangle<int> (6, 2, 132, 32));
    EXPECT_TRUE (pixelIs (hovered, 72, 18, iconColour)) << "no highlight";
}

TEST_F (ImageButtonDrawing, TheLogoInsetsUnderTheMouseEvenWhenDisabled)
{
    icon = solidImage (1200, 300, iconColour);

    juce::ImageButton button;
    button.setColour (juce::TextButton::buttonColourId, transparentVresk);
    button.setSize (144, 36);
    button.setEnabled (false);
    MouseOverWindow window (button);

    auto logo = [&]
    {
        return render (144, 36, [&] (juce::Graphics& g)
                       { look.drawImageButton (g, &icon, 0, 0, 144, 36, juce::Colour (0x00000000), 1.0f, button); });
    };

    EXPECT_EQ (paintedBounds (logo()), juce::Rectangle<int> (0, 0, 144, 36));

    window.moveTo ({ 72.0f, 18.0f });
    ASSERT_TRUE (button.isMouseOverOrDragging());
    EXPECT_EQ (paintedBounds (logo()), juce::Rectangle<int> (6, 2, 132, 32));
}

TEST_F (ImageButtonDrawing, RealImageButtonsPassTheirStateAndPlacement)
{
    juce::ImageButton button;
    button.setLookAndFeel (&look);
    button.setImages (false, true, true,
                      icon, 1.0f, juce::Colour (0x00000000),
                      {}, 1.0f, juce::Colour (0x00000000),
                      icon, 1.0f, juce::Colour (0x00000000));
    button.setSize (60, 60);

    auto image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_TRUE (pixelIs (image, 30, 30, iconColour));
    EXPECT_TRUE (pixelIs (image, 10, 30, squareSkinColour));
    EXPECT_TRUE (pixelIs (image, 16, 30, squareSkinColour));

    button.setToggleState (true, juce::dontSendNotification);
    image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_TRUE (pixelIs (image, 10, 30, squareOnSkinColour));

    button.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (LabelFont, ReplacesAnyEarlierFontWithThePlainFontOfTheCurrentSize)
{
    Look look;
    juce::Label label;
    label.setLookAndFeel (&look);
    label.setFont (juce::Font (juce::FontOptions (30.0f, juce::Font::bold | juce::Font::italic)));

    look.fontSize = 12.0f;
    const auto font = look.getLabelFont (label);
    EXPECT_FLOAT_EQ (font.getHeight(), 12.0f);
    EXPECT_FALSE (font.isBold());
    EXPECT_FALSE (font.isItalic());
    EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
    EXPECT_EQ (label.getFont(), font);

    // A new size reaches the label at its next paint.
    look.fontSize = 9.6f;
    label.setText ("-23.00", juce::dontSendNotification);
    label.setSize (60, 30);
    label.createComponentSnapshot (label.getLocalBounds());
    EXPECT_FLOAT_EQ (label.getFont().getHeight(), 9.6f);

    label.setLookAndFeel (nullptr);
}
