#pragma once

//==============================================================================
/*
    The small calculations of the audio path, kept apart so that they can be
    checked on their own. None of them allocates or blocks.
*/

/** Lowest and highest level a meter is given, in dBFS. */
constexpr float minimumLevelDb = -120.0f;
constexpr float maximumLevelDb = 10.0f;

/** The match gain never moves B further than this from its own loudness, in dB. */
constexpr float matchGainLimitDb = 30.0f;

/** Mixes numSamples of a crossfade into destination. Sample i gives the
    incoming side the weight t = (samplesPlayed + i + 1) / crossfadeLength,
    held at 1 once it gets there, and the outgoing side 1 - t. Past the fade's
    last sample, the one where t reaches 1, the incoming side is copied alone.
*/
void crossfade (float* destination, const float* fadingOut, const float* fadingIn,
                int numSamples, int samplesPlayed, int crossfadeLength) noexcept;

/** The largest magnitude among the samples: NaN if any of them is NaN, infinity
    if any is infinite (and none is NaN), 0 for no samples.
*/
float peakMagnitude (const float* samples, int numSamples) noexcept;

/** A peak magnitude as a meter level: 20 log10 (peak) plus offsetDb, held within
    minimumLevelDb ... maximumLevelDb. Silence and a NaN peak read minimumLevelDb.
*/
float peakLevelDb (float peak, float offsetDb) noexcept;

/** The match gain in dB for a short-term loudness difference, held within
    plus and minus matchGainLimitDb.
*/
float limitMatchGainDb (float loudnessDifference) noexcept;

/** A match gain in dB as a linear factor; anything at or below -100 dB mutes. */
float matchGainDbToLinear (float gainDb) noexcept;

/** Copies samples, putting silence where a sample is NaN or infinite. */
void copyReplacingNonFinite (float* destination, const float* source, int numSamples) noexcept;
