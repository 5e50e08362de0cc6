#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/*  Where the look-and-feel puts the parts of a button: which skin shape a
    button of a given size takes and how the skin image is cut and stretched
    onto it, the hover highlight, the text box of a text button, and where an
    image button's icon and the logo land. Sizes are the button's width w and
    height h and the skin or icon image's pixel size; coordinates are the
    button's own, (0, 0) being its top-left corner.
*/

//==============================================================================
/** The skin a text button gets, tested in this order. */
enum class SkinShape
{
    square,                   // w == h
    nearTwoToOne,             // 2h - 2 < w < 2h + 2: the 2:1 skin stretched over the button
    wide,                     // w > 2h: three-slice skin, caps of h x h and a stretched middle
    betweenSquareAndTwoToOne, // h < w <= 2h - 2: half caps and a stretched middle
    none                      // taller than wide
};

SkinShape skinShapeFor (int w, int h);

/** One piece of a skin image (source) and where it is stretched to (destination). */
struct ImageSlice
{
    juce::Rectangle<int> source;
    juce::Rectangle<int> destination;
};

/** The pieces of a skin, in drawing order; at most three. */
struct SkinSlices
{
    std::array<ImageSlice, 3> slices;
    int count = 0;
};

/** How a text button's skin of imageWidth x imageHeight pixels is drawn onto a
    w x h button. A source may reach past the image's right edge (the right
    half cap between square and 2:1); only its part inside the image is drawn. */
SkinSlices textButtonSkinSlices (int w, int h, int imageWidth, int imageHeight);

/** An image button's skin, stretched whole over the whole button: the square
    skin on a square button, the 2:1 skin on any other. */
ImageSlice imageButtonSkinSlice (int w, int h, int imageWidth, int imageHeight);

//==============================================================================
struct RoundedBox
{
    juce::Rectangle<float> bounds;
    float cornerSize = 0.0f;
};

/** The translucent highlight over a hovered, enabled button. */
RoundedBox hoverHighlightFor (int w, int h);

//==============================================================================
/** The font height and text box of a text button. The box sits one pixel lower
    than centred; indents shrink on edges connected to a neighbour. */
struct TextButtonTextLayout
{
    float fontHeight = 0.0f;
    int yIndent = 0;
    int cornerSize = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    juce::Rectangle<int> textBox;

    /** No text is drawn when the indents leave no width. */
    bool drawsText() const noexcept { return textBox.getWidth() > 0; }
};

TextButtonTextLayout textButtonTextLayout (int w, int h, bool connectedOnLeft, bool connectedOnRight);

//==============================================================================
/** Maps an icon of imageWidth x imageHeight, which the image button placed in
    imageBounds, to 40 % of that size about the button's centre region: a point
    p goes to 0.4 T(p) + (0.3 w, 0.3 h), T stretching the image onto imageBounds. */
juce::AffineTransform imageButtonIconTransform (int imageWidth, int imageHeight,
                                                juce::Rectangle<int> imageBounds, int w, int h);

/** The icon's opacity: dimmed to 30 % on a disabled button. */
float imageButtonIconOpacity (float imageOpacity, bool enabled);

/** Where the logo is drawn: the whole button, or inset while the mouse is over it. */
juce::Rectangle<int> logoDestination (int w, int h, bool hovered);
