#pragma once

#include "TestSupport.h"

#include <juce_core/juce_core.h>

#include <pluginterfaces/base/ftypes.h>

/** The built bundle: the plug-in binary lives in Contents/<arch>/ inside it. */
inline juce::File getBuiltBundle()
{
    return juce::File (QUORVANE_PLUGIN_BINARY).getParentDirectory().getParentDirectory().getParentDirectory();
}

/** A string the plug-in hands over in the SDK's UTF-16. */
inline juce::String fromUtf16 (const Steinberg::char16* text)
{
    return juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (text)));
}
