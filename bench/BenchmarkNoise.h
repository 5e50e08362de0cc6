#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The same noise for every benchmark run: A's two channels at twice the
    amplitude of B's, so that both sources measure as active and the match
    gain has somewhere to go.
*/
inline void fillWithNoise (juce::AudioBuffer<float>& buffer)
{
    juce::Random random (1);

    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (ch, i, (random.nextFloat() - 0.5f) * (ch < 2 ? 0.5f : 0.25f));
}
