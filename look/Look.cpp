#include "look/Look.h"

//==============================================================================
Look::Look()
{
    setDefaultLookAndFeel (this);
}

Look::~Look() = default;

//==============================================================================
void Look::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                 bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    LookAndFeel_V4::drawButtonBackground (g, button, backgroundColour, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
}

void Look::drawButtonText (juce::Graphics& g, juce::TextButton& button,
                           bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    LookAndFeel_V4::drawButtonText (g, button, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
}

void Look::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    LookAndFeel_V4::drawPopupMenuBackground (g, width, height);
}

void Look::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                              bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                              const juce::String& text, const juce::String& shortcutKeyText,
                              const juce::Drawable* icon, const juce::Colour* textColour)
{
    LookAndFeel_V4::drawPopupMenuItem (g, area, isSeparator, isActive, isHighlighted, isTicked, hasSubMenu,
                                       text, shortcutKeyText, icon, textColour);
}

void Look::drawPopupMenuSectionHeader (juce::Graphics& g, const juce::Rectangle<int>& area,
                                       const juce::String& sectionName)
{
    LookAndFeel_V4::drawPopupMenuSectionHeader (g, area, sectionName);
}

void Look::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                         int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& box)
{
    LookAndFeel_V4::drawComboBox (g, width, height, isButtonDown, buttonX, buttonY, buttonW, buttonH, box);
}

juce::Font Look::getLabelFont (juce::Label& label)
{
    return LookAndFeel_V4::getLabelFont (label);
}

void Look::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                             float sliderPos, float minSliderPos, float maxSliderPos,
                             juce::Slider::SliderStyle style, juce::Slider& slider)
{
    LookAndFeel_V4::drawLinearSlider (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

void Look::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                             float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                             juce::Slider& slider)
{
    LookAndFeel_V4::drawRotarySlider (g, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, slider);
}

juce::Label* Look::createSliderTextBox (juce::Slider& slider)
{
    return LookAndFeel_V4::createSliderTextBox (slider);
}

void Look::drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW, int imageH,
                            const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton& button)
{
    LookAndFeel_V4::drawImageButton (g, image, imageX, imageY, imageW, imageH, overlayColour, imageOpacity, button);
}
