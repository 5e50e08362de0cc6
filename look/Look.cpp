#include "look/Look.h"

#include "BinaryData.h"
#include "look/ButtonGeometry.h"
#include "look/FontOptions.h"
#include "look/MenuGeometry.h"
#include "look/SliderGeometry.h"

#include <algorithm>
#include <vector>

namespace
{
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

    /** Every Look alive, oldest first. Looks are made and destroyed on the
        message thread, as the framework's default look-and-feel must be set
        there, so the list needs no lock of its own. */
    std::vector<Look*>& liveLooks()
    {
        static std::vector<Look*> looks;
        return looks;
    }
} // namespace

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

    JUCE_ASSERT_MESSAGE_MANAGER_IS_LOCKED
    liveLooks().push_back (this);

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

    knobImage = juce::ImageCache::getFromMemory (BinaryData::knob_png, BinaryData::knob_pngSize);
    knobHoverImage = juce::ImageCache::getFromMemory (BinaryData::knob_hover_png, BinaryData::knob_hover_pngSize);
    thumbImage = juce::ImageCache::getFromMemory (BinaryData::slider_thumb_png, BinaryData::slider_thumb_pngSize);
    skin2to1 = juce::ImageCache::getFromMemory (BinaryData::skin_2to1_png, BinaryData::skin_2to1_pngSize);
    skin2to1On = juce::ImageCache::getFromMemory (BinaryData::skin_2to1_on_png, BinaryData::skin_2to1_on_pngSize);
    skinSquare = juce::ImageCache::getFromMemory (BinaryData::skin_square_png, BinaryData::skin_square_pngSize);
    skinSquareOn = juce::ImageCache::getFromMemory (BinaryData::skin_square_on_png, BinaryData::skin_square_on_pngSize);
    skinWide = juce::ImageCache::getFromMemory (BinaryData::skin_wide_png, BinaryData::skin_wide_pngSize);
    skinWideOn = juce::ImageCache::getFromMemory (BinaryData::skin_wide_on_png, BinaryData::skin_wide_on_pngSize);
}

// The images are released in the reverse of their declaration order, as members are.
Look::~Look()
{
    JUCE_ASSERT_MESSAGE_MANAGER_IS_LOCKED
    auto& looks = liveLooks();
    looks.erase (std::remove (looks.begin(), looks.end(), this), looks.end());

    // Left to the framework, the default would fall back to its own look-and-feel
    // while other windows are still open, and their text would leave the embedded
    // font. The newest other Look takes over instead; the last one to go leaves
    // the framework's default in place. The editor has detached this Look and
    // destroyed its controls by now, so the change, which the framework announces
    // to every window, finds none of the closing window's controls.
    if (! looks.empty() && &getDefaultLookAndFeel() == this)
        setDefaultLookAndFeel (looks.back());
}

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
    const auto& skin = squareSkin                         ? (state.on ? skinSquareOn : skinSquare)
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
void Look::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.setColour (findColour (juce::PopupMenu::backgroundColourId));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, 6.0f);
}

void Look::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                              bool isSeparator, bool isActive, bool isHighlighted, bool, bool hasSubMenu,
                              const juce::String& text, const juce::String& shortcutKeyText,
                              const juce::Drawable*, const juce::Colour* textColour)
{
    const auto w = area.getWidth();
    const auto h = area.getHeight();

    if (isSeparator)
    {
        g.setColour (whitePadVresk);
        g.drawLine (popupMenuSeparatorLine (w, h));
        return;
    }

    g.setColour (termsVresk);
    g.drawLine (popupMenuItemTopLine (w));

    auto colour = textColour != nullptr ? *textColour : findColour (juce::PopupMenu::textColourId);
    auto textBox = area;

    if (isHighlighted)
    {
        g.setColour (findColour (juce::PopupMenu::highlightedBackgroundColourId));
        g.fillRect (textBox);
        colour = findColour (juce::PopupMenu::highlightedTextColourId);
    }

    // Set after the line and the highlight, so an inactive item dims only its arrow and texts.
    g.setColour (colour);

    if (! isActive)
        g.setOpacity (0.3f);

    auto font = getPopupMenuFont();
    font.setHeight (popupMenuItemFontHeight (h));
    font.setBold (false);
    g.setFont (font);

    if (hasSubMenu)
    {
        const auto arrow = subMenuArrow (textBox, getPopupMenuFont().getAscent());
        textBox = arrow.remainingTextBox;
        g.fillPath (arrow.triangle);
    }

    g.drawFittedText (text, textBox, juce::Justification::centred, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (font.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, textBox, juce::Justification::centred, true);
    }
}

void Look::drawPopupMenuSectionHeader (juce::Graphics& g, const juce::Rectangle<int>& area,
                                       const juce::String& sectionName)
{
    g.setFont (getPopupMenuFont().boldened());
    g.setColour (findColour (juce::PopupMenu::headerTextColourId));
    g.drawFittedText (sectionName, area, juce::Justification::centred, 1);
}

//==============================================================================
void Look::drawComboBox (juce::Graphics& g, int width, int height, bool,
                         int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&)
{
    const auto body = comboBoxBody (width, height);

    g.setGradientFill (juce::ColourGradient (backgroundVreskL, body.gradient.getStart(),
                                             greyBlackVresk, body.gradient.getEnd(), false));
    g.fillRoundedRectangle (body.bounds, body.cornerSize);

    g.setColour (blackVresk);
    g.drawRoundedRectangle (body.bounds, body.cornerSize, 2.0f);

    g.setColour (whiteVresk);
    g.setFont (juce::Font (juce::FontOptions ((float) buttonW)));
    g.drawText (":", buttonX, buttonY, buttonW, buttonH, juce::Justification::left, true);
}

//==============================================================================
void Look::drawLinearSlider (juce::Graphics& g, int x, int, int width, int height,
                             float sliderPos, float minSliderPos, float maxSliderPos,
                             juce::Slider::SliderStyle, juce::Slider& slider)
{
    drawLinearSliderIn (g, x, width, height, sliderPos, minSliderPos, maxSliderPos,
                        slider.isEnabled(), slider.isMouseOverOrDragging());
}

void Look::drawLinearSliderIn (juce::Graphics& g, int x, int width, int height,
                               float sliderPos, float minSliderPos, float maxSliderPos,
                               bool enabled, bool hovered)
{
    const auto geometry = linearSliderGeometry (x, width, height, sliderPos, minSliderPos, maxSliderPos);

    g.setColour (blackVresk);
    g.drawRoundedRectangle (geometry.track, geometry.cornerSize, 2.0f);

    g.setGradientFill (juce::ColourGradient (greyVresk, geometry.trackGradient.getStart(),
                                             greyPlusVresk, geometry.trackGradient.getEnd(), false));
    g.fillRoundedRectangle (geometry.track, geometry.cornerSize);

    if (! enabled)
        return;

    g.setGradientFill (juce::ColourGradient (hovered ? blueVresk : orangeVresk, geometry.valueGradient.getStart(),
                                             hovered ? blueDarkVresk : orangeDarkVresk, geometry.valueGradient.getEnd(),
                                             false));
    g.fillRoundedRectangle (geometry.valueFill, geometry.cornerSize);

    const auto& thumb = geometry.thumb;
    g.drawImage (thumbImage, thumb.getX(), thumb.getY(), thumb.getWidth(), thumb.getHeight(),
                 0, 0, thumbImage.getWidth(), thumbImage.getHeight());

    if (hovered)
    {
        g.setColour (orangeVresk);
        g.drawEllipse (geometry.hoverRing, 3.0f);
    }
}

//==============================================================================
void Look::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                             float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                             juce::Slider& slider)
{
    const auto active = slider.isMouseOverOrDragging() && slider.isEnabled();
    const auto textColour = drawRotarySliderIn (g, x, y, width, height,
                                                sliderPosProportional, rotaryStartAngle, rotaryEndAngle,
                                                slider.getTextBoxWidth(), slider.getTextBoxHeight(), active);

    // The slider keeps this colour; its text box picks it up when it is rebuilt.
    slider.setColour (juce::Slider::textBoxTextColourId, textColour);
}

juce::Colour Look::drawRotarySliderIn (juce::Graphics& g, int x, int y, int width, int height,
                                       float proportion, float startAngle, float endAngle,
                                       int textBoxWidth, int textBoxHeight, bool active)
{
    const auto geometry = rotarySliderGeometry (x, y, width, height, proportion, startAngle, endAngle,
                                                textBoxWidth, textBoxHeight);

    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    const auto& knob = geometry.knob;
    g.drawImage (knobImage, knob.getX(), knob.getY(), knob.getWidth(), knob.getHeight(),
                 0, 0, knobImage.getWidth(), knobImage.getHeight());

    juce::Path pointer;
    pointer.addRectangle (geometry.pointer);
    pointer.applyTransform (geometry.pointerTransform);

    g.setColour (active ? orangeVresk : greyWhiteVresk);
    g.fillPath (pointer);

    if (active)
        g.drawImage (knobHoverImage, knob.getX(), knob.getY(), knob.getWidth(), knob.getHeight(),
                     0, 0, knobHoverImage.getWidth(), knobHoverImage.getHeight());

    g.setColour (active ? orangeorangeVresk : maskVresk);
    g.drawRoundedRectangle (geometry.textBoxFrame, geometry.textBoxCornerSize, 2.0f);

    g.setColour (maskTextBox);
    g.fillRoundedRectangle (geometry.textBoxFill, geometry.textBoxCornerSize);

    return sliderTextColour (active);
}

juce::Colour Look::sliderTextColour (bool hovered)
{
    return hovered ? orangeLightVresk : greyTextBoxVresk;
}

juce::Label* Look::createSliderTextBox (juce::Slider& slider)
{
    auto* label = LookAndFeel_V2::createSliderTextBox (slider);
    label->setColour (juce::Label::textColourId, sliderTextColour (slider.isMouseOverOrDragging()));
    label->setFont (juce::Font (juce::FontOptions (label->getFont().getHeight() - 2.0f)));
    return label;
}
