#include "LookTestSupport.h"

#include "BinaryData.h"
#include "editor/EditorLayout.h"
#include "look/FontOptions.h"
#include "look/Look.h"

#include <tuple>
#include <vector>

using namespace LookTestSupport;

/*  Renders every kind of button in every state, at the sizes the window gives
    them at 600 x 475 and at its smallest size, over a background like the
    window's panels, into look-gallery.png (and a three times larger copy) in
    the build tree, for a person to look at; and the window's skinned buttons at
    the sizes of its smallest, initial and largest window, off and on, enlarged
    pixel for pixel into artwork-<width>x<height>.png, to judge how the artwork
    survives being scaled down.
*/
namespace
{
    juce::Image load (const char* data, int size)
    {
        return juce::ImageCache::getFromMemory (data, size);
    }

    struct GalleryState
    {
        const char* caption;
        ButtonLookState state;
    };

    const std::vector<GalleryState> galleryStates {
        { "normal", { false, false, true } },
        { "on", { true, false, true } },
        { "hovered", { false, true, true } },
        { "on, hovered", { true, true, true } },
        { "disabled", { false, false, false } },
        { "disabled, on", { true, true, false } },
    };

    struct GalleryButton
    {
        const char* caption;
        int width;
        int height;
        juce::String text;       // a text button when not empty
        juce::Image normalImage; // else an image button
        juce::Image downImage;
        bool isLogo = false;
    };

    std::vector<GalleryButton> galleryButtons()
    {
        using namespace BinaryData;
        const auto logo = load (logo_png, logo_pngSize);

        return {
            { "text 84 x 42", 84, 42, "MATCH B", {}, {} },
            { "text 67 x 33", 67, 33, "DIFF", {}, {} },
            { "wide 160 x 42", 160, 42, "THIS IS A", {}, {} },
            { "between 60 x 42", 60, 42, "B", {}, {} },
            { "square text 42", 42, 42, "?", {}, {} },
            { "A 60 x 60", 60, 60, {}, load (icon_a_png, icon_a_pngSize), load (icon_a_on_png, icon_a_on_pngSize) },
            { "B 48 x 48", 48, 48, {}, load (icon_b_png, icon_b_pngSize), load (icon_b_on_png, icon_b_on_pngSize) },
            { "blind test 84", 84, 84, {}, load (icon_blind_test_png, icon_blind_test_pngSize), load (icon_blind_test_on_png, icon_blind_test_on_pngSize) },
            { "power 36 x 36", 36, 36, {}, load (icon_power_png, icon_power_pngSize), load (icon_power_on_png, icon_power_on_pngSize) },
            { "logo 144 x 36", 144, 36, {}, logo, logo, true },
        };
    }

    constexpr int captionWidth = 110;
    constexpr int columnWidth = 176;
    constexpr int headerHeight = 24;
    constexpr int rowGap = 14;

    void paintBackground (juce::Graphics& g, juce::Rectangle<int> area)
    {
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffaaabac), 0.0f, 0.0f,
                                                 blackUltraVresk, (float) area.getWidth(), (float) area.getHeight(),
                                                 true));
        g.fillRect (area);
        g.setTiledImageFill (load (BinaryData::panel_tile_jpg, BinaryData::panel_tile_jpgSize), 0, 0, 0.5f);
        g.fillRect (area);
    }

    void paintButton (juce::Graphics& g, Look& look, const GalleryButton& button, ButtonLookState state)
    {
        if (button.text.isNotEmpty())
        {
            juce::TextButton textButton (button.text);
            textButton.setLookAndFeel (&look);
            textButton.setSize (button.width, button.height);
            textButton.setColour (juce::TextButton::textColourOffId, greyWhiteVresk);
            textButton.setColour (juce::TextButton::textColourOnId, blueVresk);
            textButton.setToggleState (state.on, juce::dontSendNotification);
            textButton.setEnabled (state.enabled);

            look.drawTextButtonSkin (g, button.width, button.height, whiteVresk, state);
            look.drawButtonText (g, textButton, false, false);
            textButton.setLookAndFeel (nullptr);
            return;
        }

        const auto& image = state.on ? button.downImage : button.normalImage;
        look.drawImageButtonIn (g, image, { 0, 0, button.width, button.height }, juce::Colour (0x00000000), 1.0f,
                                button.width, button.height, button.isLogo ? transparentVresk : whiteVresk, state);
    }

    /** The window's skinned buttons, at the sizes its layout gives them in a
        window of the given width. */
    std::vector<GalleryButton> windowButtons (int windowWidth)
    {
        using namespace BinaryData;
        const auto layout = computeEditorLayout (windowWidth);

        const auto imageButton = [] (const juce::Rectangle<int>& bounds, juce::Image normal, juce::Image down)
        {
            return GalleryButton { "", bounds.getWidth(), bounds.getHeight(), {}, normal, down };
        };

        const auto textButton = [] (const juce::Rectangle<int>& bounds, const char* text)
        {
            return GalleryButton { "", bounds.getWidth(), bounds.getHeight(), text, {}, {} };
        };

        return {
            imageButton (layout.powerButton, load (icon_power_png, icon_power_pngSize), load (icon_power_on_png, icon_power_on_pngSize)),
            imageButton (layout.aButton, load (icon_a_png, icon_a_pngSize), load (icon_a_on_png, icon_a_on_pngSize)),
            imageButton (layout.bButton, load (icon_b_png, icon_b_pngSize), load (icon_b_on_png, icon_b_on_pngSize)),
            imageButton (layout.blindTestButton, load (icon_blind_test_png, icon_blind_test_pngSize), load (icon_blind_test_on_png, icon_blind_test_on_pngSize)),
            textButton (layout.diffButton, "DIFF"),
            textButton (layout.matchBButton, "MATCH B"),
        };
    }

    /** Two rows, normal over on, of the window's buttons at one window size, at
        their real pixel size. */
    juce::Image renderWindowButtons (Look& look, int windowWidth)
    {
        const auto buttons = windowButtons (windowWidth);
        const auto gap = windowWidth / 60;
        int width = gap;
        int rowHeight = 0;

        for (const auto& button : buttons)
        {
            width += button.width + gap;
            rowHeight = juce::jmax (rowHeight, button.height);
        }

        const auto height = 2 * rowHeight + 3 * gap;
        juce::Image image (juce::Image::RGB, width, height, true);
        juce::Graphics g (image);
        paintBackground (g, { 0, 0, width, height });

        for (int row = 0; row < 2; ++row)
        {
            const auto state = galleryStates[(size_t) row].state;
            int x = gap;

            for (const auto& button : buttons)
            {
                juce::Graphics::ScopedSaveState saved (g);
                g.setOrigin (x, gap + row * (rowHeight + gap) + (rowHeight - button.height) / 2);
                g.reduceClipRegion (0, 0, button.width, button.height);
                paintButton (g, look, button, state);
                x += button.width + gap;
            }
        }

        return image;
    }

    juce::Image renderGallery (Look& look, float scale)
    {
        const auto buttons = galleryButtons();
        int height = headerHeight;

        for (const auto& button : buttons)
            height += button.height + rowGap;

        const auto width = captionWidth + columnWidth * (int) galleryStates.size();
        juce::Image image (juce::Image::RGB, juce::roundToInt ((float) width * scale),
                           juce::roundToInt ((float) height * scale), true);
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        paintBackground (g, { 0, 0, width, height });

        g.setFont (juce::Font (juce::FontOptions (12.0f)));
        g.setColour (whiteLightVresk);

        for (size_t column = 0; column < galleryStates.size(); ++column)
            g.drawText (galleryStates[column].caption, captionWidth + (int) column * columnWidth, 4, columnWidth,
                        headerHeight - 8, juce::Justification::centred);

        int y = headerHeight;

        for (const auto& button : buttons)
        {
            g.setColour (whiteLightVresk);
            g.drawText (button.caption, 6, y, captionWidth - 10, button.height, juce::Justification::centredLeft);

            for (size_t column = 0; column < galleryStates.size(); ++column)
            {
                const auto x = captionWidth + (int) column * columnWidth + (columnWidth - button.width) / 2;
                juce::Graphics::ScopedSaveState saved (g);
                g.setOrigin (x, y);
                g.reduceClipRegion (0, 0, button.width, button.height);
                paintButton (g, look, button, galleryStates[column].state);
            }

            y += button.height + rowGap;
        }

        return image;
    }
} // namespace

TEST (LookGallery, RendersEveryButtonKindAndState)
{
    Look look;
    look.fontSize = 12.0f;

    const auto gallery = renderGallery (look, 1.0f);
    const auto enlarged = renderGallery (look, 3.0f);
    savePng (gallery, "look-gallery.png");
    savePng (enlarged, "look-gallery-3x.png");

    EXPECT_TRUE (outputFile ("look-gallery.png").existsAsFile());
    EXPECT_EQ (enlarged.getWidth(), gallery.getWidth() * 3);
}

TEST (LookGallery, ZoomedCropsOfTheWindowsButtonsAtItsSmallestInitialAndLargestSize)
{
    Look look;

    for (const auto& [width, height, zoom] : { std::tuple (480, 380, 4), std::tuple (600, 475, 4), std::tuple (1200, 950, 2) })
    {
        const auto crops = renderWindowButtons (look, width);
        const auto name = "artwork-" + juce::String (width) + "x" + juce::String (height) + ".png";
        savePng (enlarged (crops, zoom), name);

        EXPECT_TRUE (outputFile (name).existsAsFile()) << name;
        EXPECT_GT (crops.getWidth(), 6 * computeEditorLayout (width).aButton.getWidth()) << name;
    }
}
