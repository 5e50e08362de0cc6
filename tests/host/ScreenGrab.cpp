#include "ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

juce::Image grabScreenArea (juce::Rectangle<int> area)
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr || area.isEmpty())
        return {};

    juce::Image result;

    if (auto* xImage = XGetImage (display, DefaultRootWindow (display),
                                  area.getX(), area.getY(),
                                  (unsigned int) area.getWidth(), (unsigned int) area.getHeight(),
                                  AllPlanes, ZPixmap))
    {
        result = juce::Image (juce::Image::RGB, area.getWidth(), area.getHeight(), false);

        for (int y = 0; y < area.getHeight(); ++y)
            for (int x = 0; x < area.getWidth(); ++x)
            {
                const auto pixel = XGetPixel (xImage, x, y);
                result.setPixelAt (x, y, juce::Colour ((juce::uint8) ((pixel >> 16) & 0xff),
                                                       (juce::uint8) ((pixel >> 8) & 0xff),
                                                       (juce::uint8) (pixel & 0xff)));
            }

        XDestroyImage (xImage);
    }

    XCloseDisplay (display);
    return result;
}

bool isXDisplayAvailable()
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return false;

    XCloseDisplay (display);
    return true;
}

void ignoreXErrors()
{
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
}
