#include "LookTestSupport.h"

#include "look/FontOptions.h"
#include "look/Look.h"

using namespace LookTestSupport;

/*  Renders a popup menu, combo boxes, and linear and rotary sliders in their
    normal, hovered and disabled looks into menu-slider-gallery.png (and a
    three times larger copy) in the build tree, for a person to look at.
*/
namespace
{
    /** The Look as it draws sliders under the mouse: a test cannot hover a
        slider, so this one draws them as if the mouse were over them. */
    struct HoveredLook : public Look
    {
        void drawLinearSlider (juce::Graphics& g, int x, int, int width, int height,
                               float sliderPos, float minSliderPos, float maxSliderPos,
                               juce::Slider::SliderStyle, juce::Slider& slider) override
        {
            drawLinearSliderIn (g, x, width, height, sliderPos, minSliderPos, maxSliderPos, slider.isEnabled(), true);
        }

        void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                               float proportion, float startAngle, float endAngle, juce::Slider& slider) override
        {
            const auto colour = drawRotarySliderIn (g, x, y, width, height, proportion, startAngle, endAngle,
                                                    slider.getTextBoxWidth(), slider.getTextBoxHeight(),
                                                    slider.isEnabled());
            slider.setColour (juce::Slider::textBoxTextColourId, colour);
        }

        juce::Label* createSliderTextBox (juce::Slider& slider) override
        {
            auto* label = Look::createSliderTextBox (slider);
            label->setColour (juce::Label::textColourId, sliderTextColour (true));
            return label;
        }
    };

    void paintBackground (juce::Graphics& g, juce::Rectangle<int> area)
    {
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffb4bef4), 0.0f, 0.0f,
                                                 juce::Colour (0xff1c244e), (float) area.getWidth(),
                                                 (float) area.getHeight(), true));
        g.fillRect (area);
    }

    void paintMenu (juce::Graphics& g, Look& look, juce::Rectangle<int> area)
    {
        struct Item
        {
            const char* text;
            const char* shortcut;
            bool separator, active, highlighted, subMenu;
        };

        const Item items[] {
            { "Compare A and B", "", false, true, false, false },
            { "Match loudness", "Ctrl+M", false, true, true, false },
            { "Difference", "", false, false, false, false },
            { "", "", true, true, false, false },
            { "More", "", false, true, false, true },
        };

        juce::Graphics::ScopedSaveState saved (g);
        g.setOrigin (area.getPosition());
        look.drawPopupMenuBackground (g, area.getWidth(), area.getHeight());

        constexpr int itemHeight = 24;
        int y = 6;
        look.drawPopupMenuSectionHeader (g, { 0, y, area.getWidth(), itemHeight }, "SOURCES");
        y += itemHeight;

        for (const auto& item : items)
        {
            const auto height = item.separator ? 8 : itemHeight;
            juce::Graphics::ScopedSaveState itemState (g);
            g.setOrigin (0, y);
            g.reduceClipRegion (0, 0, area.getWidth(), height);
            look.drawPopupMenuItem (g, { 0, 0, area.getWidth(), height }, item.separator, item.active,
                                    item.highlighted, false, item.subMenu, item.text, item.shortcut, nullptr, nullptr);
            y += height;
        }
    }

    void paintSnapshot (juce::Graphics& g, juce::Component& component, juce::Point<int> at)
    {
        g.drawImageAt (component.createComponentSnapshot (component.getLocalBounds()), at.x, at.y);
    }

    juce::Image renderGallery (float scale)
    {
        constexpr int width = 760;
        constexpr int height = 330;

        Look look;
        HoveredLook hoveredLook;
        look.fontSize = hoveredLook.fontSize = 12.0f;

        juce::Image image (juce::Image::RGB, juce::roundToInt (width * scale), juce::roundToInt (height * scale), true);
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        paintBackground (g, { 0, 0, width, height });

        paintMenu (g, look, { 10, 10, 200, 150 });

        g.setColour (juce::Colours::white);
        g.setFont (juce::Font (juce::FontOptions (12.0f)));

        for (auto [caption, x] : { std::pair { "normal", 240 }, { "hovered", 400 }, { "disabled", 560 } })
            g.drawText (caption, x, 4, 140, 16, juce::Justification::centred);

        juce::ComboBox combo;
        combo.addItem ("LUFS short-term", 1);
        combo.setSelectedId (1, juce::dontSendNotification);
        combo.setSize (140, 30);

        for (auto [lookAndFeel, x, enabled] : { std::tuple<Look*, int, bool> { &look, 240, true },
                                                { &hoveredLook, 400, true },
                                                { &look, 560, false } })
        {
            combo.setLookAndFeel (lookAndFeel);
            combo.setEnabled (enabled);
            paintSnapshot (g, combo, { x, 24 });

            juce::Slider linear (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
            linear.setLookAndFeel (lookAndFeel);
            linear.setRange (0.0, 10.0);
            linear.setValue (6.0, juce::dontSendNotification);
            linear.setEnabled (enabled);
            linear.setSize (40, 240);
            paintSnapshot (g, linear, { x, 70 });

            juce::Slider rotary (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::TextBoxBelow);
            rotary.setLookAndFeel (lookAndFeel);
            rotary.setRange (-12.0, 12.0, 0.1);
            rotary.setValue (3.5, juce::dontSendNotification);
            rotary.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 80, 24);
            rotary.setEnabled (enabled);
            rotary.setSize (100, 124);
            paintSnapshot (g, rotary, { x + 45, 90 });

            rotary.setLookAndFeel (nullptr);
            linear.setLookAndFeel (nullptr);
        }

        combo.setLookAndFeel (nullptr);
        return image;
    }
} // namespace

TEST (MenuSliderGallery, RendersMenuComboBoxAndSlidersInEveryLook)
{
    const auto gallery = renderGallery (1.0f);
    savePng (gallery, "menu-slider-gallery.png");
    savePng (renderGallery (3.0f), "menu-slider-gallery-3x.png");

    EXPECT_TRUE (outputFile ("menu-slider-gallery.png").existsAsFile());
    EXPECT_FALSE (isBlank (gallery));
}
