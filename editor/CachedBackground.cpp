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
        picture = juce::Image (juce::Image::ARGB, juce::jmax (1, pixels.getWidth()), juce::jmax (1, pixels.getHeight()),
                               true, juce::SoftwareImageType());

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
            copyPicture (g, area);
        }

        g.excludeClipRegion (area);
    }

    // Whatever lies between the children.
    if (! g.isClipEmpty())
        copyPicture (g, window.getLocalBounds());
}

void CachedBackground::copyPicture (juce::Graphics& g, juce::Rectangle<int> area) const
{
    if (paintedScale == 1.0f)
    {
        const auto inside = area.getIntersection (picture.getBounds());
        g.drawImageAt (picture.getClippedImage (inside), inside.getX(), inside.getY());
        return;
    }

    // Undoes the scale the picture was painted at, so that on the display it
    // lands pixel for pixel where painting it directly would have.
    g.drawImageTransformed (picture, juce::AffineTransform::scale (1.0f / paintedScale));
}
