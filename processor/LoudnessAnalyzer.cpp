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

LoudnessAnalyzer::MomentaryReading LoudnessAnalyzer::getMomentaryReading() const
{
    const auto loudness = queryLoudness (state, ebur128_loudness_momentary);

    if (! loudness.has_value())
        return { noMeasurement, false };

    // Minus infinity is the library's answer for a window of pure silence; it
    // is passed on as it is, so that "silent" and "not measured" stay apart.
    // "Strictly above" makes NaN and minus infinity both read as no audio.
    return { (float) *loudness, *loudness > audioActiveThreshold };
}

float LoudnessAnalyzer::getMomentaryLoudness() const
{
    return getMomentaryReading().loudness;
}

float LoudnessAnalyzer::getShortTermLoudness() const
{
    return (float) queryLoudness (state, ebur128_loudness_shortterm).value_or (noMeasurement);
}

bool LoudnessAnalyzer::isAudioActive() const
{
    return getMomentaryReading().audioActive;
}
