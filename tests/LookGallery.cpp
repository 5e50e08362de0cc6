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
    survives being scaled down. What the tests check is only that every button
    shows in every cell; how it looks is for the person.
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

        const auto imageButton = [] (const char* caption, const juce::Rectangle<int>& bounds, juce::Image normal, juce::Image down)
        {
            return GalleryButton { caption, bounds.getWidth(), bounds.getHeight(), {}, normal, down };
        };

        const auto textButton = [] (const juce::Rectangle<int>& bounds, const char* text)
        {
            return GalleryButton { text, bounds.getWidth(), bounds.getHeight(), text, {}, {} };
        };

        return {
            imageButton ("power", layout.powerButton, load (icon_power_png, icon_power_pngSize), load (icon_power_on_png, icon_power_on_pngSize)),
            imageButton ("A", layout.aButton, load (icon_a_png, icon_a_pngSize), load (icon_a_on_png, icon_a_on_pngSize)),
            imageButton ("B", layout.bButton, load (icon_b_png, icon_b_pngSize), load (icon_b_on_png, icon_b_on_pngSize)),
            imageButton ("blind test", layout.blindTestButton, load (icon_blind_test_png, icon_blind_test_pngSize), load (icon_blind_test_on_png, icon_blind_test_on_pngSize)),
            textButton (layout.diffButton, "DIFF"),
            textButton (layout.matchBButton, "MATCH B"),
        };
    }

    //==============================================================================
    /** Where one button is shown in one of the gallery states. */
    struct Cell
    {
        size_t button;
        size_t state;
        juce::Rectangle<int> bounds;
    };

    /** The size of a picture and where its buttons go, in the picture's own pixels. */
    struct Arrangement
    {
        int width = 0;
        int height = 0;
        std::vector<Cell> cells;
    };

    /** A row a button and a column a state, under a header of the states' names. */
    Arrangement galleryArrangement (const std::vector<GalleryButton>& buttons)
    {
        Arrangement arrangement;
        arrangement.width = captionWidth + columnWidth * (int) galleryStates.size();
        arrangement.height = headerHeight;

        for (size_t button = 0; button < buttons.size(); ++button)
        {
            const auto width = buttons[button].width;
            const auto height = buttons[button].height;

            for (size_t column = 0; column < galleryStates.size(); ++column)
                arrangement.cells.push_back ({ button, column, { captionWidth + (int) column * columnWidth + (columnWidth - width) / 2, arrangement.height, width, height } });

            arrangement.height += height + rowGap;
        }

        return arrangement;
    }

    /** Two rows, normal over on, of the window's buttons side by side, a
        sixtieth of the window's width apart. */
    Arrangement windowButtonArrangement (const std::vector<GalleryButton>& buttons, int windowWidth)
    {
        const auto gap = windowWidth / 60;
        int rowHeight = 0;

        for (const auto& button : buttons)
            rowHeight = juce::jmax (rowHeight, button.height);

        Arrangement arrangement;
        arrangement.height = 2 * rowHeight + 3 * gap;

        for (size_t row = 0; row < 2; ++row)
        {
            int x = gap;

            for (size_t button = 0; button < buttons.size(); ++button)
            {
                const auto width = buttons[button].width;
                const auto height = buttons[button].height;
                arrangement.cells.push_back ({ button, row, { x, gap + (int) row * (rowHeight + gap) + (rowHeight - height) / 2, width, height } });
                x += width + gap;
            }

            arrangement.width = x;
        }

        return arrangement;
    }

    void paintCell (juce::Graphics& g, Look& look, const std::vector<GalleryButton>& buttons, const Cell& cell)
    {
        juce::Graphics::ScopedSaveState saved (g);
        g.setOrigin (cell.bounds.getPosition());
        g.reduceClipRegion (0, 0, cell.bounds.getWidth(), cell.bounds.getHeight());
        paintButton (g, look, buttons[cell.button], galleryStates[cell.state].state);
    }

    /** The window's buttons at one window size, at their real pixel size. */
    juce::Image renderWindowButtons (Look& look, const std::vector<GalleryButton>& buttons, const Arrangement& arrangement)
    {
        return renderScaled (arrangement.width, arrangement.height, 1.0f, [&] (juce::Graphics& g)
                             {
                                 paintBackground (g, { 0, 0, arrangement.width, arrangement.height });

                                 for (const auto& cell : arrangement.cells)
                                     paintCell (g, look, buttons, cell); });
    }

    juce::Image renderGallery (Look& look, const std::vector<GalleryButton>& buttons,
                               const Arrangement& arrangement, float scale)
    {
        return renderScaled (arrangement.width, arrangement.height, scale, [&] (juce::Graphics& g)
                             {
            paintBackground (g, { 0, 0, arrangement.width, arrangement.height });

            g.setFont (juce::Font (juce::FontOptions (12.0f)));
            g.setColour (whiteLightVresk);

            for (size_t column = 0; column < galleryStates.size(); ++column)
                g.drawText (galleryStates[column].caption, captionWidth + (int) column * columnWidth, 4, columnWidth,
                            headerHeight - 8, juce::Justification::centred);

            for (const auto& cell : arrangement.cells)
            {
                if (cell.state == 0)
                {
                    g.setColour (whiteLightVresk);
                    g.drawText (buttons[cell.button].caption, 6, cell.bounds.getY(), captionWidth - 10,
                                cell.bounds.getHeight(), juce::Justification::centredLeft);
                }

                paintCell (g, look, buttons, cell);
            } });
    }

    /** Every button, in every state it is shown in, draws something over the
        background: none is lost at its size or in its state. */
    void expectEveryButtonShows (const juce::Image& picture, const std::vector<GalleryButton>& buttons,
                                 const Arrangement& arrangement)
    {
        const auto background = renderScaled (arrangement.width, arrangement.height, 1.0f, [&] (juce::Graphics& g)
                                              { paintBackground (g, { 0, 0, arrangement.width, arrangement.height }); });

        for (const auto& cell : arrangement.cells)
            EXPECT_TRUE (differWithin (picture, background, cell.bounds))
                << buttons[cell.button].caption << ", " << galleryStates[cell.state].caption;
    }
} // namespace

TEST (LookGallery, RendersEveryButtonKindAndState)
{
    Look look;
    look.fontSize = 12.0f;

    const auto buttons = galleryButtons();
    const auto arrangement = galleryArrangement (buttons);
    const auto gallery = saveGallery ("look-gallery", [&] (float scale)
                                      { return renderGallery (look, buttons, arrangement, scale); });

    expectEveryButtonShows (gallery, buttons, arrangement);
}

TEST (LookGallery, ZoomedCropsOfTheWindowsButtonsAtItsSmallestInitialAndLargestSize)
{
    Look look;

    for (const auto& [width, height, zoom] : { std::tuple (480, 380, 4), std::tuple (600, 475, 4), std::tuple (1200, 950, 2) })
    {
        SCOPED_TRACE (width);
        const auto buttons = windowButtons (width);
        const auto arrangement = windowButtonArrangement (buttons, width);
        const auto crops = renderWindowButtons (look, buttons, arrangement);
        savePng (enlarged (crops, zoom), "artwork-" + juce::String (width) + "x" + juce::String (height) + ".png");

        expectEveryButtonShows (crops, buttons, arrangement);
    }
}
