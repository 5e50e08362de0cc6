#include "LoudnessAnalyzer.h"

#include <ebur128.h>

namespace
{
    using LoudnessQuery = int (*) (ebur128_state*, double*);

    float queryLoudness (ebur128_state* state, LoudnessQuery query)
    {
        if (state == nullptr)
            return LoudnessAnalyzer::noMeasurement;

        double loudness = 0.0;

        if (query (state, &loudness) != EBUR128_SUCCESS)
            return LoudnessAnalyzer::noMeasurement;

        // Minus infinity is the library's answer for a window of pure silence; it
        // is passed on as it is, so that "silent" and "not measured" stay apart.
        return (float) loudness;
    }
}

//==============================================================================
LoudnessAnalyzer::LoudnessAnalyzer (int numChannelsToUse, int sampleRateToUse, int blockSize)
    : numChannels (numChannelsToUse),
      sampleRate (sampleRateToUse),
      interleavedBuffer ((size_t) juce::jmax (0, numChannelsToUse * blockSize), 0.0f)
{
    if (numChannels > 0 && sampleRate > 0)
        state = ebur128_init ((unsigned int) numChannels, (unsigned long) sampleRate, EBUR128_MODE_S);
}

LoudnessAnalyzer::~LoudnessAnalyzer()
{
    if (state != nullptr)
        ebur128_destroy (&state);
}

void LoudnessAnalyzer::analyzeBuffer (const juce::AudioBuffer<float>& buffer)
{
    if (state == nullptr)
        return;

    const auto channels = buffer.getNumChannels();
    const auto frames = juce::jmin (buffer.getNumSamples(),
                                    channels > 0 ? (int) interleavedBuffer.size() / channels : 0);

    for (int c = 0; c < channels; ++c)
    {
        const auto* source = buffer.getReadPointer (c);

        for (int f = 0; f < frames; ++f)
            interleavedBuffer[(size_t) (f * channels + c)] = source[f];
    }

    ebur128_add_frames_float (state, interleavedBuffer.data(), (size_t) frames);
}

float LoudnessAnalyzer::getMomentaryLoudness() const
{
    return queryLoudness (state, ebur128_loudness_momentary);
}

float LoudnessAnalyzer::getShortTermLoudness() const
{
    return queryLoudness (state, ebur128_loudness_shortterm);
}

bool LoudnessAnalyzer::isAudioActive() const
{
    if (state == nullptr)
        return false;

    double loudness = 0.0;

    // Written as "strictly above" so that NaN and minus infinity both read as no audio.
    return ebur128_loudness_momentary (state, &loudness) == EBUR128_SUCCESS
        && loudness > audioActiveThreshold;
}
