#pragma once

#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_graphics/juce_graphics.h>

/** What every suite needs: bus layouts to offer the processor, and a place in
    the build tree for the images that a person looks at.
*/
namespace TestSupport
{
    inline juce::AudioProcessor::BusesLayout makeLayout (const juce::AudioChannelSet& inputA,
                                                         const juce::AudioChannelSet& inputB,
                                                         const juce::AudioChannelSet& output)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (inputA);
        layout.inputBuses.add (inputB);
        layout.outputBuses.add (output);
        return layout;
    }

    /** A layout whose output matches its main input, as the processor requires. */
    inline juce::AudioProcessor::BusesLayout makeLayout (const juce::AudioChannelSet& main,
                                                         const juce::AudioChannelSet& inputB)
    {
        return makeLayout (main, inputB, main);
    }

    inline juce::File outputFile (const juce::String& name)
    {
        return juce::File (QUORVANE_TEST_OUTPUT_DIR).getChildFile (name);
    }

    inline void savePng (const juce::Image& image, const juce::String& name)
    {
        auto file = outputFile (name);
        file.deleteFile();

        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, stream));
    }
} // namespace TestSupport
