#include "AudioPathMath.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

void crossfade (float* destination, const float* fadingOut, const float* fadingIn,
                int numSamples, int samplesPlayed, int crossfadeLength) noexcept
{
    // The rising part and the part past the fade are loops without a
    // comparison per sample, so both vectorise. Between them lies at most the
    // fade's last sample, held at 1, where the outgoing side still counts with
    // weight 0, as a NaN there still shows. Past the fade the incoming side
    // plays alone, exactly as in a later chunk: a sample never depends on
    // where the chunk that holds it ends, not even in the sign of a zero.
    const auto rising = juce::jlimit (0, numSamples, crossfadeLength - samplesPlayed - 1);
    const auto fading = juce::jlimit (0, numSamples, crossfadeLength - samplesPlayed);

    for (int i = 0; i < rising; ++i)
    {
        const auto t = (float) (samplesPlayed + i + 1) / (float) crossfadeLength;
        destination[i] = fadingOut[i] * (1.0f - t) + fadingIn[i] * t;
    }

    for (int i = rising; i < fading; ++i)
        destination[i] = fadingOut[i] * 0.0f + fadingIn[i];

    std::copy (fadingIn + fading, fadingIn + numSamples, destination + fading);
}

float peakMagnitude (const float* samples, int numSamples) noexcept
{
    // Magnitudes are compared as bit patterns: for non-negative floats these
    // order like the values, infinity sits above every finite value and NaN
    // above infinity. So a NaN cannot slip through the comparison the way it
    // does with a float max, and the loop vectorises as plain integer work.
    auto magnitudeBits = [samples] (int i)
    {
        std::int32_t bits;
        std::memcpy (&bits, samples + i, sizeof (bits));
        return (std::int32_t) (bits & 0x7fffffff);
    };

    // Several independent running maxima, so that the vector units are not
    // kept waiting on one long chain of comparisons.
    constexpr int lanes = 16;
    std::int32_t largest[lanes] {};
    int i = 0;

    for (; i + lanes <= numSamples; i += lanes)
        for (int lane = 0; lane < lanes; ++lane)
            largest[lane] = std::max (largest[lane], magnitudeBits (i + lane));

    for (; i < numSamples; ++i)
        largest[0] = std::max (largest[0], magnitudeBits (i));

    const auto overall = *std::max_element (std::begin (largest), std::end (largest));

    float peak;
    std::memcpy (&peak, &overall, sizeof (peak));
    return peak;
}

float peakLevelDb (float peak, float offsetDb) noexcept
{
    const auto level = 20.0f * std::log10 (peak) + offsetDb;

    if (std::isnan (level))
        return minimumLevelDb;

    return juce::jlimit (minimumLevelDb, maximumLevelDb, level);
}

float limitMatchGainDb (float loudnessDifference) noexcept
{
    return juce::jlimit (-matchGainLimitDb, matchGainLimitDb, loudnessDifference);
}

float matchGainDbToLinear (float gainDb) noexcept
{
    return gainDb > -100.0f ? std::pow (10.0f, 0.05f * gainDb) : 0.0f;
}

void copyReplacingNonFinite (float* destination, const float* source, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        destination[i] = std::isfinite (source[i]) ? source[i] : 0.0f;
}
