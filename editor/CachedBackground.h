#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

//==============================================================================
/**
    A picture of what a window paints beneath its children: painted once, then
    copied, until the window's size, the display's pixel scale or the variant of
    the picture differ from those it was painted for.

    Every repaint of a child that is not opaque repaints the window beneath it,
    so a meter moving at every poll would otherwise paint the window's gradients,
    textures and outlines again each time, only to show the same pixels.

    The picture is painted from the window's top-left corner at the display's
    pixel scale, so the copy is exactly what painting the background directly
    would draw. At a fractional scale the background is painted directly.
*/
class CachedBackground
{
public:
    using PaintFunction = std::function<void (juce::Graphics&)>;

    /** Covers the area that g repaints with the picture of the window, first
        painting the picture anew with paintBackground when it was painted for
        another size, scale or variant. A variant is any number that stands for
        what else the picture shows. */
    void draw (juce::Graphics& g, const juce::Component& window, int variant, const PaintFunction& paintBackground);

private:
    void copyPicture (juce::Graphics&) const;

    juce::Image picture;
    int paintedWidth = 0, paintedHeight = 0;
    float paintedScale = 0.0f;
    int paintedVariant = -1;
};
