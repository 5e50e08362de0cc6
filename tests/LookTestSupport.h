#pragma once

#include "HeadlessPeer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/*  Drawing helpers shared by the look-and-feel suites: rendering into a
    transparent image, stand-in images whose colours say which part of a skin
    landed where, pixel checks, and PNG output into the build tree.
*/
namespace LookTestSupport
{
    inline juce::Image render (int width, int height, const std::function<void (juce::Graphics&)>& draw)
    {
        juce::Image image (juce::Image::ARGB, width, height, true);
        juce::Graphics g (image);
        draw (g);
        return image;
    }

    inline juce::Image solidImage (int width, int height, juce::Colour colour)
    {
        juce::Image image (juce::Image::ARGB, width, height, false);
        image.clear (image.getBounds(), colour);
        return image;
    }

    const auto leftCapColour = juce::Colour (0xff0000ff);
    const auto middleColour = juce::Colour (0xffffff00);
    const auto rightCapColour = juce::Colour (0xffff00ff);

    /** A stand-in for a three-slice skin: its left half square blue, its right
        half square magenta, everything between yellow. */
    inline juce::Image threeColourSkin (int width, int height)
    {
        auto image = solidImage (width, height, middleColour);
        image.clear ({ 0, 0, height / 2, height }, leftCapColour);
        image.clear ({ width - height / 2, 0, height / 2, height }, rightCapColour);
        return image;
    }

    inline bool near (juce::Colour actual, juce::Colour expected, int tolerance = 2)
    {
        return std::abs ((int) actual.getAlpha() - (int) expected.getAlpha()) <= tolerance && std::abs ((int) actual.getRed() - (int) expected.getRed()) <= tolerance && std::abs ((int) actual.getGreen() - (int) expected.getGreen()) <= tolerance && std::abs ((int) actual.getBlue() - (int) expected.getBlue()) <= tolerance;
    }

    inline ::testing::AssertionResult pixelIs (const juce::Image& image, int x, int y,
                                               juce::Colour expected, int tolerance = 2)
    {
        const auto actual = image.getPixelAt (x, y);

        if (near (actual, expected, tolerance))
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                             << actual.toDisplayString (true) << ", expected "
                                             << expected.toDisplayString (true);
    }

    inline bool isBlank (const juce::Image& image)
    {
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() != 0)
                    return false;

        return true;
    }

    /** The smallest rectangle holding every pixel that is not fully transparent. */
    inline juce::Rectangle<int> paintedBounds (const juce::Image& image)
    {
        juce::Rectangle<int> bounds;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() != 0)
                    bounds = bounds.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1)
                                              : bounds.getUnion ({ x, y, 1, 1 });

        return bounds;
    }

    /** The painted pixel with the highest alpha: the colour text or a line was drawn in. */
    inline juce::Colour strongestPixel (const juce::Image& image)
    {
        juce::Colour strongest (0x00000000);

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() > strongest.getAlpha())
                    strongest = image.getPixelAt (x, y);

        return strongest;
    }

    //==============================================================================
    /** Puts a component on the desktop in a window that shows nothing, and moves
        and presses the mouse over it the way the system's window would report it,
        so the framework's own idea of hover and held buttons can be tested with
        or without a display.
    */
    class MouseOverWindow : private juce::Component
    {
    public:
        /** The component keeps its size and sits at the window's top-left corner. */
        explicit MouseOverWindow (juce::Component& content)
        {
            setSize (content.getWidth(), content.getHeight());
            addAndMakeVisible (content);
            content.setTopLeftPosition (0, 0);
            setVisible (true);
            addToDesktop (0);
        }

        ~MouseOverWindow() override
        {
            release();
            moveTo ({ -10.0f, -10.0f });
            removeFromDesktop();
            removeAllChildren();
        }

        void moveTo (juce::Point<float> position)
        {
            send (position, buttons);
        }

        /** Moves there and holds the left button down. */
        void pressAt (juce::Point<float> position)
        {
            send (position, {});
            buttons = juce::ModifierKeys::leftButtonModifier;
            send (position, buttons);
        }

        void release()
        {
            if (buttons.isAnyMouseButtonDown())
            {
                buttons = {};
                send (lastPosition, buttons);
            }
        }

    private:
        juce::ComponentPeer* createNewPeer (int, void*) override { return new TestSupport::HeadlessPeer (*this); }

        void send (juce::Point<float> position, juce::ModifierKeys mods)
        {
            lastPosition = position;
            getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, mods,
                                         juce::MouseInputSource::defaultPressure, 0.0f, time += 100);
        }

        juce::ModifierKeys buttons;
        juce::Point<float> lastPosition;
        juce::int64 time = juce::Time::currentTimeMillis();
    };

    using TestSupport::outputFile;
    using TestSupport::savePng;

    /** An opaque picture of width x height drawn at the given scale, for the galleries. */
    inline juce::Image renderScaled (int width, int height, float scale,
                                     const std::function<void (juce::Graphics&)>& draw)
    {
        juce::Image image (juce::Image::RGB, juce::roundToInt ((float) width * scale),
                           juce::roundToInt ((float) height * scale), true);
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        draw (g);
        return image;
    }

    /** Writes a gallery into the build tree as name.png and, three times larger,
        name-3x.png, for a person to look at; returns the first, for the checks
        on what it shows. */
    inline juce::Image saveGallery (const juce::String& name, const std::function<juce::Image (float scale)>& renderAt)
    {
        const auto gallery = renderAt (1.0f);
        savePng (gallery, name + ".png");
        savePng (renderAt (3.0f), name + "-3x.png");
        return gallery;
    }

    /** Whether two pictures differ anywhere in an area: a picture from the same
        picture without a part, say, shows that part. */
    inline ::testing::AssertionResult differWithin (const juce::Image& a, const juce::Image& b,
                                                    juce::Rectangle<int> area)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "the two are alike all over " << area.toString();
    }

    /** A nearest-neighbour enlargement, for looking at single pixels. */
    inline juce::Image enlarged (const juce::Image& image, int factor)
    {
        return image.rescaled (image.getWidth() * factor, image.getHeight() * factor,
                               juce::Graphics::lowResamplingQuality);
    }
} // namespace LookTestSupport
