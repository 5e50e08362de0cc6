#include "look/Look.h"

#include "BinaryData.h"
#include "look/ButtonGeometry.h"
#include "look/FontOptions.h"

namespace
{
    juce::Image loadImage (const char* data, int size)
    {
        return juce::ImageCache::getFromMemory (data, size);
    }

    void drawSlice (juce::Graphics& g, const juce::Image& image, const ImageSlice& slice)
    {
        const auto& d = slice.destination;
        const auto& s = slice.source;
        g.drawImage (image, d.getX(), d.getY(), d.getWidth(), d.getHeight(),
                     s.getX(), s.getY(), s.getWidth(), s.getHeight(), false);
    }

    bool marksButtonWithoutSkin (juce::Colour buttonColour)
    {
        return buttonColour.getARGB() == transparentVresk.getARGB();
    }
}

//==============================================================================
ButtonLookState ButtonLookState::of (const juce::Button& button)
{
    return { button.getToggleState() || button.isMouseButtonDown(),
             button.isMouseOverOrDragging(),
             button.isEnabled() };
}

//==============================================================================
Look::Look()
{
    auto typeface = juce::Typeface::createSystemTypefaceFor (BinaryData::spartan_medium_ttf,
                                                             (size_t) BinaryData::spartan_medium_ttfSize);
    setDefaultSansSerifTypeface (typeface);

    // Fonts find their typeface through the process-wide default look-and-feel,
    // so this is what puts every default-font text in the embedded font.
    setDefaultLookAndFeel (this);

    setColour (juce::Label::textColourId, greyWhiteVresk);
    setColour (juce::PopupMenu::textColourId, greyWhiteVresk);
    setColour (juce::PopupMenu::backgroundColourId, greyOpacityVresk);
    setColour (juce::PopupMenu::headerTextColourId, orangeVresk);
    setColour (juce::PopupMenu::highlightedTextColourId, whiteVresk);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, orangeDarkVresk);
    setColour (juce::ProgressBar::backgroundColourId, orangeVresk);
    setColour (juce::ProgressBar::foregroundColourId, whiteVresk);
    setColour (juce::AlertWindow::textColourId, whiteVresk);
    setColour (juce::AlertWindow::backgroundColourId, greyOpacityVresk);
    setColour (juce::AlertWindow::outlineColourId, orangeVresk);
    setColour (juce::TextButton::buttonColourId, whiteVresk);
    setColour (juce::TextButton::buttonOnColourId, orangeDarkVresk);
    setColour (juce::TextButton::textColourOffId, backgroundVresk2);
    setColour (juce::TextButton::textColourOnId, orangeVresk);
    setColour (juce::ComboBox::outlineColourId, whiteLightVresk);
    setColour (juce::ScrollBar::thumbColourId, whiteVresk);
    setColour (juce::ScrollBar::backgroundColourId, orangeVresk);
    setColour (juce::ScrollBar::trackColourId, orangeVresk);
    setColour (juce::TextEditor::backgroundColourId, greyBlackVresk);
    setColour (juce::TextEditor::highlightColourId, orangeVresk);
    setColour (juce::TextEditor::focusedOutlineColourId, orangeTransTarn);
    setColour (juce::TextEditor::outlineColourId, greyWhiteVresk);
    setColour (juce::TextEditor::textColourId, whiteVresk);
    setColour (juce::TextEditor::shadowColourId, blackVresk);
    setColour (juce::ListBox::outlineColourId, whiteVresk);
    setColour (juce::ListBox::backgroundColourId, blackVresk);
    setColour (juce::TableHeaderComponent::backgroundColourId, blackVresk);
    setColour (juce::TableHeaderComponent::textColourId, whiteVresk);
    setColour (juce::TableHeaderComponent::outlineColourId, blackVresk);
    setColour (juce::TableHeaderComponent::highlightColourId, blackVresk);
    setColour (juce::FileChooserDialogBox::titleTextColourId, whiteVresk);
    setColour (juce::TooltipWindow::backgroundColourId, blackVresk);
    setColour (juce::AlertWindow::textColourId, whiteVresk);
    setColour (juce::AlertWindow::outlineColourId, whiteVresk);
    setColour (juce::AlertWindow::backgroundColourId, greyDownVresk);
    setColour (juce::FileBrowserComponent::currentPathBoxTextColourId, whiteVresk);
    setColour (juce::FileBrowserComponent::currentPathBoxArrowColourId, whiteVresk);
    setColour (juce::FileBrowserComponent::filenameBoxBackgroundColourId, blackVresk);
    setColour (juce::FileBrowserComponent::filenameBoxTextColourId, whiteVresk);
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000));

    knobImage = loadImage (BinaryData::knob_png, BinaryData::knob_pngSize);
    knobHoverImage = loadImage (BinaryData::knob_hover_png, BinaryData::knob_hover_pngSize);
    thumbImage = loadImage (BinaryData::slider_thumb_png, BinaryData::slider_thumb_pngSize);
    skin2to1 = loadImage (BinaryData::skin_2to1_png, BinaryData::skin_2to1_pngSize);
    skin2to1On = loadImage (BinaryData::skin_2to1_on_png, BinaryData::skin_2to1_on_pngSize);
    skinSquare = loadImage (BinaryData::skin_square_png, BinaryData::skin_square_pngSize);
    skinSquareOn = loadImage (BinaryData::skin_square_on_png, BinaryData::skin_square_on_pngSize);
    skinWide = loadImage (BinaryData::skin_wide_png, BinaryData::skin_wide_pngSize);
    skinWideOn = loadImage (BinaryData::skin_wide_on_png, BinaryData::skin_wide_on_pngSize);
}

// The images are released in the reverse of their declaration order, as members are.
Look::~Look() = default;

//==============================================================================
void Look::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool, bool)
{
    drawTextButtonSkin (g, button.getWidth(), button.getHeight(),
                        button.findColour (juce::TextButton::buttonColourId), ButtonLookState::of (button));
}

void Look::drawTextButtonSkin (juce::Graphics& g, int w, int h, juce::Colour buttonColour, ButtonLookState state)
{
    if (marksButtonWithoutSkin (buttonColour))
        return;

    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    const auto shape = skinShapeFor (w, h);
    const auto squareSkin = shape == SkinShape::square;
    const auto& skin = squareSkin ? (state.on ? skinSquareOn : skinSquare)
                     : shape == SkinShape::nearTwoToOne ? (state.on ? skin2to1On : skin2to1)
                                                        : (state.on ? skinWideOn : skinWide);

    const auto slices = textButtonSkinSlices (w, h, skin.getWidth(), skin.getHeight());

    for (int i = 0; i < slices.count; ++i)
        drawSlice (g, skin, slices.slices[(size_t) i]);

    drawHoverHighlight (g, w, h, state);
}

void Look::drawHoverHighlight (juce::Graphics& g, int w, int h, ButtonLookState state)
{
    if (! (state.hovered && state.enabled))
        return;

    const auto box = hoverHighlightFor (w, h);
    g.setColour (lightVresk2);
    g.fillRoundedRectangle (box.bounds, box.cornerSize);
}

void Look::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto layout = textButtonTextLayout (button.getWidth(), button.getHeight(),
                                              button.isConnectedOnLeft(), button.isConnectedOnRight());

    g.setFont (juce::Font (juce::FontOptions (layout.fontHeight)));

    const auto colour = button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId
                                                                   : juce::TextButton::textColourOffId);
    g.setColour (colour.withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    if (layout.drawsText())
        g.drawFittedText (button.getButtonText(), layout.textBox, juce::Justification::centred, 2, 0.5f);
}

//==============================================================================
juce::Font Look::getLabelFont (juce::Label& label)
{
    label.setFont (juce::Font (juce::FontOptions (fontSize, juce::Font::plain)));
    return label.getFont();
}

//==============================================================================
void Look::drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW, int imageH,
                            const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton& button)
{
    if (image == nullptr)
        return;

    drawImageButtonIn (g, *image, { imageX, imageY, imageW, imageH }, overlayColour, imageOpacity,
                       button.getWidth(), button.getHeight(),
                       button.findColour (juce::TextButton::buttonColourId), ButtonLookState::of (button));
}

void Look::drawImageButtonIn (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> imageBounds,
                              juce::Colour overlayColour, float imageOpacity,
                              int w, int h, juce::Colour buttonColour, ButtonLookState state)
{
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    // The logo: the whole image over the button, a little smaller while hovered
    // (enabled or not); no skin, opacity, overlay or highlight.
    if (marksButtonWithoutSkin (buttonColour))
    {
        const auto destination = logoDestination (w, h, state.hovered);
        g.drawImage (image, destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                     0, 0, image.getWidth(), image.getHeight(), false);
        return;
    }

    const auto& skin = w == h ? (state.on ? skinSquareOn : skinSquare)
                              : (state.on ? skin2to1On : skin2to1);
    drawSlice (g, skin, imageButtonSkinSlice (w, h, skin.getWidth(), skin.getHeight()));

    const auto iconTransform = imageButtonIconTransform (image.getWidth(), image.getHeight(), imageBounds, w, h);
    const auto opacity = imageButtonIconOpacity (imageOpacity, state.enabled);

    if (overlayColour.getAlpha() != 255)
    {
        g.setOpacity (opacity);
        g.drawImageTransformed (image, iconTransform, false);
    }

    if (overlayColour.getAlpha() != 0)
    {
        g.setColour (overlayColour);
        g.drawImageTransformed (image, iconTransform, true);
    }

    drawHoverHighlight (g, w, h, state);
}

//==============================================================================
// Menus, combo boxes and sliders keep the framework's drawing for now.
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
