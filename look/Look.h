#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "look/ColourPalette.h"

//==============================================================================
/** What the look-and-feel reads from a button's state when it draws it. */
struct ButtonLookState
{
    bool on = false;      // toggled on, or a mouse button held down on it
    bool hovered = false; // the mouse is over it or drags on it
    bool enabled = true;

    static ButtonLookState of (const juce::Button&);
};

/** The plug-in's look-and-feel: bitmap skins for text and image buttons chosen
    by the button's shape and state, a translucent hover highlight, the embedded
    font, the palette's colours for the framework's widgets, and the styling of
    popup menus, combo boxes and sliders.

    Constructing a Look makes the embedded font the default sans-serif typeface
    and makes this Look the process-wide default look-and-feel. When the default
    Look is destroyed, the newest other Look still alive becomes the default, so
    the windows still open keep the embedded font; only the last Look leaves the
    framework's own default. Looks are made and destroyed on the message thread.
*/
class Look : public juce::LookAndFeel_V4
{
public:
    Look();
    ~Look() override;

    //==============================================================================
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area,
                            bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                            const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;

    void drawPopupMenuSectionHeader (juce::Graphics&, const juce::Rectangle<int>& area,
                                     const juce::String& sectionName) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    juce::Font getLabelFont (juce::Label&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider&) override;

    juce::Label* createSliderTextBox (juce::Slider&) override;

    void drawImageButton (juce::Graphics&, juce::Image*, int imageX, int imageY, int imageW, int imageH,
                          const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton&) override;

    //==============================================================================
    /** drawButtonBackground for a w x h button of the given button colour and
        state: the skin for its shape, then the hover highlight. */
    void drawTextButtonSkin (juce::Graphics&, int w, int h, juce::Colour buttonColour, ButtonLookState);

    /** drawImageButton for a w x h button of the given button colour and state. */
    void drawImageButtonIn (juce::Graphics&, const juce::Image&, juce::Rectangle<int> imageBounds,
                            juce::Colour overlayColour, float imageOpacity,
                            int w, int h, juce::Colour buttonColour, ButtonLookState);

    /** The translucent highlight of a hovered, enabled button. */
    static void drawHoverHighlight (juce::Graphics&, int w, int h, ButtonLookState);

    /** drawLinearSlider for a slider that is or is not enabled and hovered. */
    void drawLinearSliderIn (juce::Graphics&, int x, int width, int height,
                             float sliderPos, float minSliderPos, float maxSliderPos,
                             bool enabled, bool hovered);

    /** drawRotarySlider for a slider that is or is not active (hovered and
        enabled), with its text box of the given size. Returns the colour the
        slider's text box text takes. */
    juce::Colour drawRotarySliderIn (juce::Graphics&, int x, int y, int width, int height,
                                     float proportion, float startAngle, float endAngle,
                                     int textBoxWidth, int textBoxHeight, bool active);

    /** The slider text colour: orange while the mouse is over it or drags it. */
    static juce::Colour sliderTextColour (bool hovered);

    //==============================================================================
    juce::Image thumbImage;
    juce::Image knobImage;
    juce::Image knobHoverImage;
    juce::Image skin2to1;
    juce::Image skin2to1On;
    juce::Image skinSquare;
    juce::Image skinSquareOn;
    juce::Image skinWide;
    juce::Image skinWideOn;

    /** Height of every label's font; the editor's layout sets it from the window width. */
    float fontSize = 16.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Look)
};
