#include "editor/CachedBackground.h"

#include <cmath>

void CachedBackground::draw (juce::Graphics& g, const juce::Component& window, int variant, const PaintFunction& paintBackground)
{
    const auto width = window.getWidth();
    const auto height = window.getHeight();
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    // At a fractional scale the window can be stretched a little differently
    // along each axis, which one picture could not match pixel for pixel.
    if (scale != std::round (scale))
    {
        juce::Graphics::ScopedSaveState direct (g);
        paintBackground (g);
        return;
    }

    if (picture.isNull() || width != paintedWidth || height != paintedHeight || scale != paintedScale || variant != paintedVariant)
    {
        const auto pixels = (juce::Rectangle<float> ((float) width, (float) height) * scale).getSmallestIntegerContainer();
        // Native, because on macOS the renderer keeps its own copy only of a
        // native image and copies any other whole at every draw.
        picture = juce::Image (juce::Image::ARGB, juce::jmax (1, pixels.getWidth()), juce::jmax (1, pixels.getHeight()),
                               true, juce::NativeImageType());

        juce::Graphics pictureGraphics (picture);
        pictureGraphics.addTransform (juce::AffineTransform::scale (scale));
        paintBackground (pictureGraphics);

        paintedWidth = width;
        paintedHeight = height;
        paintedScale = scale;
        paintedVariant = variant;
    }

    // Nearly every repaint is of a few children's areas at once. Copied one
    // child's area at a time, the picture goes over in whole rows; copied whole,
    // it would first be cut to the list of areas, which costs more than the copy.
    juce::Graphics::ScopedSaveState wholeRepaint (g);

    for (auto* child : window.getChildren())
    {
        const auto area = child->getBoundsInParent();

        if (g.clipRegionIntersects (area))
        {
            juce::Graphics::ScopedSaveState childRepaint (g);
            g.reduceClipRegion (area);
            copyPicture (g);
        }

        g.excludeClipRegion (area);
    }

    // Whatever lies between the children.
    if (! g.isClipEmpty())
        copyPicture (g);
}

void CachedBackground::copyPicture (juce::Graphics& g) const
{
    // The whole picture under the clip, never a part cut from it: a part is not a
    // native image, so the macOS renderer would copy it at every repaint.
    // The transform undoes the scale the picture was painted at, so that on the
    // display it lands pixel for pixel where painting it directly would have.
    g.drawImageTransformed (picture, juce::AffineTransform::scale (1.0f / paintedScale));
}
