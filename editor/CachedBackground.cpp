#include "editor/CachedBackground.h"

void CachedBackground::draw (juce::Graphics& g, const juce::Component& window, int variant, const PaintFunction& paintBackground)
{
    const auto width = window.getWidth();
    const auto height = window.getHeight();
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    if (picture.isNull() || width != paintedWidth || height != paintedHeight || scale != paintedScale || variant != paintedVariant)
    {
        const auto pixelWidth = juce::jmax (1, juce::roundToInt ((float) width * scale));
        const auto pixelHeight = juce::jmax (1, juce::roundToInt ((float) height * scale));
        picture = juce::Image (juce::Image::ARGB, pixelWidth, pixelHeight, true, juce::SoftwareImageType());

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

    g.drawImageTransformed (picture, juce::AffineTransform::scale ((float) paintedWidth / (float) picture.getWidth(),
                                                                   (float) paintedHeight / (float) picture.getHeight()));
}
