#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <ebur128.h>

#include <vector>

//==============================================================================
/**
    One EBU R128 measurement of one source, fed a block at a time.

    Everything it needs is allocated by the constructor, so feeding and querying
    it never allocates. A library state that could not be made reads as "no
    measurement" (-70 LUFS) instead of failing.
*/
class LoudnessAnalyzer
{
public:
    /** The value that stands for "no measurement": nothing analysed, no state or a library error. */
    static constexpr float noMeasurement = -70.0f;

    /** A source carries audio while its momentary loudness is strictly above this. */
    static constexpr double audioActiveThreshold = -80.0;

    /** How often a measurement is read out: once this much audio has been
        added since the last reading. A meter needs no more than ten updates a
        second, and the match gain ramps over half a second anyway.
    */
    static constexpr double publicationIntervalSeconds = 0.1;

    /** That interval in frames at a sample rate: at least one. */
    static int publicationIntervalFrames (double sampleRate) noexcept
    {
        return juce::jmax (1, (int) (publicationIntervalSeconds * sampleRate));
    }

    LoudnessAnalyzer (int numChannels, int sampleRate, int blockSize);
    ~LoudnessAnalyzer();

    /** Adds one block: numChannels channels and at most the block size given at construction. */
    void analyzeBuffer (const juce::AudioBuffer<float>& buffer);

    /** What a measurement says at one moment. The defaults are "nothing measured yet". */
    struct Reading
    {
        float momentary = noMeasurement;
        float shortTerm = noMeasurement;
        bool audioActive = false;
    };

    /** Both loudness values, and from the same momentary value whether it counts
        as audio: one query of each window.
    */
    Reading getReading() const;

    /** Loudness of the last 400 ms in LUFS; minus infinity for digital silence. */
    float getMomentaryLoudness() const;

    /** Loudness of the last 3 s in LUFS; minus infinity for digital silence. */
    float getShortTermLoudness() const;

    /** True while the momentary loudness is strictly above -80 LUFS. */
    bool isAudioActive() const;

    /** True once a block has been added: the measurement is no longer as new. */
    bool hasAnalysed() const noexcept { return analysedAnything; }

    /** False when the library refused to create a measurement state. */
    bool hasState() const noexcept { return state != nullptr; }

    int getNumChannels() const noexcept { return numChannels; }
    int getSampleRate() const noexcept { return sampleRate; }
    int getBlockSize() const noexcept { return numChannels > 0 ? (int) interleavedBuffer.size() / numChannels : 0; }

private:
    ebur128_state* state = nullptr;
    int numChannels;
    int sampleRate;
    std::vector<float> interleavedBuffer;
    bool analysedAnything = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoudnessAnalyzer)
};
