#pragma once

#include <juce_graphics/juce_graphics.h>

/** Reads back what the X server shows in an area of the screen.

    A hosted editor draws into its own embedded native window, which a component
    snapshot of the host side cannot see; only the server has the real picture.
*/
juce::Image grabScreenArea (juce::Rectangle<int> areaInPhysicalPixels);

/** True when an X server answers on the display that DISPLAY names.

    The framework's window embedding crashes without one instead of failing,
    so a test that opens a hosted window asks first.
*/
bool isXDisplayAvailable();

/** Makes X protocol errors non-fatal for the rest of the run.

    Without a window manager some window-manager atoms don't exist, and the
    framework's queries for them fail harmlessly; the host's and the plug-in's
    copies of the framework each install and remove error handlers of their own,
    so the test installs one last that only ignores such errors.
*/
void ignoreXErrors();
