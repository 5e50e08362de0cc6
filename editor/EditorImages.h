#pragma once

#include <juce_graphics/juce_graphics.h>

/** The window's own images, decoded from the embedded resources through the
    framework's image cache, so a re-opened window reuses the decoded copies. */
struct EditorImages
{
    juce::Image aButton, aButtonDown;
    juce::Image bButton, bButtonDown;
    juce::Image blindTestButton, blindTestButtonDown;
    juce::Image powerButton, powerButtonDown;
    juce::Image backgroundTile;
    juce::Image logo;
};

EditorImages loadEditorImages();
