#include "LoudnessAnalyzer.h"

#include <ebur128.h>

#include <optional>

namespace
{
    using LoudnessQuery = int (*) (ebur128_state*, double*);

    /** The library's answer, or nothing when there is no state or the query failed. */
    std::optional<double> queryLoudness (ebur128_state* state, LoudnessQuery query)
    {
        double loudness = 0.0;

        if (state == nullptr || query (state, &loudness) != EBUR128_SUCCESS)
            return std::nullopt;

        return loudness;
    }

    /** Minus infinity is the library's answer for a window of pure silence; it
        is passed on as it is, so that "silent" and "not measured" stay apart.
    */
    float asLufs (std::optional<double> loudness)
    {
        return (float) loudness.value_or (LoudnessAnalyzer::noMeasurement);
    }

    /** The library's momentary value as a flag. "Strictly above" makes NaN and
        minus infinity both read as no audio; no answer at all is no audio either.
    */
    bool countsAsAudio (std::optional<double> momentaryLoudness)
    {
        return momentaryLoudness.has_value() && *momentaryLoudness > LoudnessAnalyzer::audioActiveThreshold;
    }
} // namespace

//==============================================================================
LoudnessAnalyzer::LoudnessAnalyzer (int numChannelsToUse, int sampleRateToUse, int blockSize)
    : numChannels (numChannelsToUse)
    , sampleRate (sampleRateToUse)
    , interleavedBuffer ((size_t) juce::jmax (0, numChannelsToUse * blockSize), 0.0f)
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
    analysedAnything = true;
}

LoudnessAnalyzer::Reading LoudnessAnalyzer::getReading() const
{
    // The flag comes from the same momentary value: a second query would cost
    // as much again and could only ever agree with the first.
    const auto momentary = queryLoudness (state, ebur128_loudness_momentary);
    return { asLufs (momentary), getShortTermLoudness(), countsAsAudio (momentary) };
}

float LoudnessAnalyzer::getMomentaryLoudness() const
{
    return asLufs (queryLoudness (state, ebur128_loudness_momentary));
}

float LoudnessAnalyzer::getShortTermLoudness() const
{
    return asLufs (queryLoudness (state, ebur128_loudness_shortterm));
}

bool LoudnessAnalyzer::isAudioActive() const
{
    return countsAsAudio (queryLoudness (state, ebur128_loudness_momentary));
}
