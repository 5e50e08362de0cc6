#include "LookTestSupport.h"

#include "look/FontOptions.h"
#include "look/Look.h"

#include <tuple>
#include <vector>

using namespace LookTestSupport;

/*  Renders a popup menu, combo boxes, and linear and rotary sliders in their
    normal, hovered and disabled looks into menu-slider-gallery.png (and a
    three times larger copy) in the build tree, for a person to look at. The
    test checks only that every part shows and that the looks differ; how they
    look is for the person.
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

    constexpr int galleryWidth = 760;
    constexpr int galleryHeight = 330;
    const auto menuArea = juce::Rectangle<int> (10, 10, 200, 150);

    /** One widget drawn by one of the looks, and where the gallery shows it. */
    struct Shown
    {
        juce::String name;
        juce::Image snapshot;
        juce::Point<int> at;

        juce::Rectangle<int> area() const { return snapshot.getBounds() + at; }
    };

    /** The combo box, the linear and the rotary slider in each look: normal,
        hovered and disabled, column by column. */
    std::vector<Shown> widgetsInEveryLook (Look& look, HoveredLook& hoveredLook)
    {
        std::vector<Shown> shown;

        juce::ComboBox combo;
        combo.addItem ("LUFS short-term", 1);
        combo.setSelectedId (1, juce::dontSendNotification);
        combo.setSize (140, 30);

        const auto snapshot = [] (juce::Component& component)
        { return component.createComponentSnapshot (component.getLocalBounds()); };

        for (auto [lookAndFeel, caption, x, enabled] : { std::tuple<Look*, const char*, int, bool> { &look, "normal", 240, true },
                                                         { &hoveredLook, "hovered", 400, true },
                                                         { &look, "disabled", 560, false } })
        {
            const auto name = [caption = caption] (const char* widget)
            { return juce::String (widget) + ", " + caption; };

            combo.setLookAndFeel (lookAndFeel);
            combo.setEnabled (enabled);
            shown.push_back ({ name ("combo box"), snapshot (combo), { x, 24 } });

            juce::Slider linear (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
            linear.setLookAndFeel (lookAndFeel);
            linear.setRange (0.0, 10.0);
            linear.setValue (6.0, juce::dontSendNotification);
            linear.setEnabled (enabled);
            linear.setSize (40, 240);
            shown.push_back ({ name ("linear slider"), snapshot (linear), { x, 70 } });

            juce::Slider rotary (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::TextBoxBelow);
            rotary.setLookAndFeel (lookAndFeel);
            rotary.setRange (-12.0, 12.0, 0.1);
            rotary.setValue (3.5, juce::dontSendNotification);
            rotary.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 80, 24);
            rotary.setEnabled (enabled);
            rotary.setSize (100, 124);
            shown.push_back ({ name ("rotary slider"), snapshot (rotary), { x + 45, 90 } });

            rotary.setLookAndFeel (nullptr);
            linear.setLookAndFeel (nullptr);
        }

        combo.setLookAndFeel (nullptr);
        return shown;
    }

    void paintGalleryBackground (juce::Graphics& g)
    {
        paintBackground (g, { 0, 0, galleryWidth, galleryHeight });
    }

    juce::Image renderGallery (float scale, std::vector<Shown>* widgets = nullptr)
    {
        Look look;
        HoveredLook hoveredLook;
        look.fontSize = hoveredLook.fontSize = 12.0f;

        const auto shown = widgetsInEveryLook (look, hoveredLook);

        if (widgets != nullptr)
            *widgets = shown;

        return renderScaled (galleryWidth, galleryHeight, scale, [&] (juce::Graphics& g)
                             {
            paintGalleryBackground (g);
            paintMenu (g, look, menuArea);

            g.setColour (juce::Colours::white);
            g.setFont (juce::Font (juce::FontOptions (12.0f)));

            for (auto [caption, x] : { std::pair { "normal", 240 }, { "hovered", 400 }, { "disabled", 560 } })
                g.drawText (caption, x, 4, 140, 16, juce::Justification::centred);

            for (const auto& widget : shown)
                g.drawImageAt (widget.snapshot, widget.at.x, widget.at.y); });
    }
} // namespace

TEST (MenuSliderGallery, RendersMenuComboBoxAndSlidersInEveryLook)
{
    std::vector<Shown> widgets;
    const auto gallery = saveGallery ("menu-slider-gallery", [&] (float scale)
                                      { return renderGallery (scale, scale == 1.0f ? &widgets : nullptr); });

    // Every part shows over the background.
    const auto background = renderScaled (galleryWidth, galleryHeight, 1.0f, paintGalleryBackground);
    EXPECT_TRUE (differWithin (gallery, background, menuArea)) << "the menu";

    for (const auto& widget : widgets)
        EXPECT_TRUE (differWithin (gallery, background, widget.area())) << widget.name;

    // Each look is its own: a disabled widget looks unlike a normal one, and a
    // hovered slider unlike a slider away from the mouse (a combo box has no
    // hovered look). The widgets come three to a look: combo box, linear and
    // rotary slider.
    ASSERT_EQ (widgets.size(), 9u);
    const auto& normal = widgets;
    const auto* hovered = widgets.data() + 3;
    const auto* disabled = widgets.data() + 6;

    for (size_t kind = 0; kind < 3; ++kind)
    {
        const auto& plain = normal[kind].snapshot;
        EXPECT_TRUE (differWithin (plain, disabled[kind].snapshot, plain.getBounds())) << disabled[kind].name;

        if (kind > 0)
        {
            EXPECT_TRUE (differWithin (plain, hovered[kind].snapshot, plain.getBounds())) << hovered[kind].name;
        }
    }
}
