#pragma once

#include <juce_core/juce_core.h>

/** The built bundle: the plug-in binary lives in Contents/<arch>/ inside it. */
inline juce::File getBuiltBundle()
{
    return juce::File (QUORVANE_PLUGIN_BINARY).getParentDirectory().getParentDirectory().getParentDirectory();
}

inline juce::File getTestOutputDirectory()
{
    return juce::File (QUORVANE_TEST_OUTPUT_DIR);
}
