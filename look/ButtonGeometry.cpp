#include "look/ButtonGeometry.h"

namespace
{
    // Fractions of integer sizes are worked out in double precision and cut
    // toward zero where a whole pixel is needed.
    int truncated (double value)
    {
        return (int) value;
    }
} // namespace

//==============================================================================
SkinShape skinShapeFor (int w, int h)
{
    if (w == h)
        return SkinShape::square;

    if (2 * h - 2 < w && w < 2 * h + 2)
        return SkinShape::nearTwoToOne;

    if (w > 2 * h)
        return SkinShape::wide;

    if (h < w)
        return SkinShape::betweenSquareAndTwoToOne;

    return SkinShape::none;
}

SkinSlices textButtonSkinSlices (int w, int h, int imageWidth, int imageHeight)
{
    SkinSlices result;
    auto add = [&result] (juce::Rectangle<int> source, juce::Rectangle<int> destination)
    {
        result.slices[(size_t) result.count++] = { source, destination };
    };

    const auto wholeImage = juce::Rectangle<int> (0, 0, imageWidth, imageHeight);

    switch (skinShapeFor (w, h))
    {
    case SkinShape::square:
    case SkinShape::nearTwoToOne:
        add (wholeImage, { 0, 0, w, h });
        break;

    case SkinShape::wide:
        add ({ 0, 0, imageHeight, imageHeight }, { 0, 0, h, h });
        add ({ imageWidth - imageHeight, 0, imageHeight, imageHeight }, { w - h, 0, h, h });
        add ({ imageHeight, 0, truncated (0.5 * imageHeight), imageHeight }, { h, 0, w - 2 * h, h });
        break;

    case SkinShape::betweenSquareAndTwoToOne:
    {
        const auto halfImageHeight = truncated (0.5 * imageHeight);
        const auto halfHeight = truncated (0.5 * h);
        add ({ 0, 0, halfImageHeight, imageHeight }, { 0, 0, halfHeight, h });
        add ({ truncated (imageWidth - 0.5 * imageHeight), 0, imageHeight, imageHeight },
             { truncated (w - 0.5 * h), 0, h, h });
        add ({ halfImageHeight, 0, truncated (0.6 * imageHeight), imageHeight }, { halfHeight, 0, w - h, h });
        break;
    }

    case SkinShape::none:
        break;
    }

    return result;
}

ImageSlice imageButtonSkinSlice (int w, int h, int imageWidth, int imageHeight)
{
    return { { 0, 0, imageWidth, imageHeight }, { 0, 0, w, h } };
}

//==============================================================================
RoundedBox hoverHighlightFor (int w, int h)
{
    const auto width = (double) w;
    const auto height = (double) h;

    if (w == h)
        return { { (float) (0.1 * width), (float) (0.1 * width), (float) (0.8 * width), (float) (0.8 * width) },
                 (float) (0.5 * width) };

    const auto narrow = 2 * h + 3 > w;
    const auto x = narrow ? 0.05 * width : 0.03 * width;
    const auto boxWidth = narrow ? 0.9 * width : 0.94 * width;

    return { { (float) x, (float) (0.15 * height), (float) boxWidth, (float) (0.7 * height) },
             (float) (0.5 * height) };
}

//==============================================================================
TextButtonTextLayout textButtonTextLayout (int w, int h, bool connectedOnLeft, bool connectedOnRight)
{
    TextButtonTextLayout layout;
    layout.fontHeight = 0.3f * (float) h;

    // At least one pixel, so the indent divisions below are defined for any height.
    layout.yIndent = juce::jmax (1, juce::roundToInt (0.1f * (float) h));
    layout.cornerSize = juce::jmin (w, h) / 2;
    layout.leftIndent = layout.cornerSize / (connectedOnLeft ? 2 * layout.yIndent : layout.yIndent);
    layout.rightIndent = layout.cornerSize / (connectedOnRight ? 2 * layout.yIndent : layout.yIndent);

    const auto textWidth = w - layout.leftIndent - layout.rightIndent;
    layout.textBox = { layout.leftIndent, layout.yIndent + 1, juce::jmax (0, textWidth), h - 2 * layout.yIndent };
    return layout;
}

//==============================================================================
juce::AffineTransform imageButtonIconTransform (int imageWidth, int imageHeight,
                                                juce::Rectangle<int> imageBounds, int w, int h)
{
    const auto fit = juce::RectanglePlacement (juce::RectanglePlacement::stretchToFit)
                         .getTransformToFit (juce::Rectangle<float> (0.0f, 0.0f, (float) imageWidth, (float) imageHeight),
                                             imageBounds.toFloat());

    return fit.scaled (0.4f).translated ((float) (0.3 * w), (float) (0.3 * h));
}

float imageButtonIconOpacity (float imageOpacity, bool enabled)
{
    return enabled ? imageOpacity : imageOpacity * 0.3f;
}

juce::Rectangle<int> logoDestination (int w, int h, bool hovered)
{
    if (hovered)
        return { 6, 2, w - 12, h - 4 };

    return { 0, 0, w, h };
}
