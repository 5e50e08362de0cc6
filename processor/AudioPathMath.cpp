#include "AudioPathMath.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

float peakMagnitude (const float* samples, int numSamples) noexcept
{
    // Magnitudes are compared as bit patterns: for non-negative floats these
    // order like the values, infinity sits above every finite value and NaN
    // above infinity. So a NaN cannot slip through the comparison the way it
    // does with a float max, and the loop vectorises as plain integer work.
    std::int32_t largest = 0;

    for (int i = 0; i < numSamples; ++i)
    {
        std::int32_t bits;
        std::memcpy (&bits, samples + i, sizeof (bits));
        largest = std::max (largest, (std::int32_t) (bits & 0x7fffffff));
    }

    float peak;
    std::memcpy (&peak, &largest, sizeof (peak));
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
