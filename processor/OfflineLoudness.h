#pragma once

#include "LoudnessAnalyzer.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <memory>

//==============================================================================
/**
    The loudness of both sources during an offline render, measured on the
    audio thread itself.

    A render runs faster than real time, so the analyser thread could not follow
    it, and what it measured would depend on when it got the CPU. Here the
    measurement follows the rendered audio alone: it starts afresh with every
    render, at the render's first sample that is not silence, and publishes
    after every tenth of a second of audio counted from there. A fresh
    measurement holds nothing but silence anyway, so however much silence a
    host rolls before the audio, the audio is measured the same.

    Only the audio thread uses it, and only while rendering offline, where
    making new analysers is allowed: a measurement of the library's cannot be
    emptied in place.
*/
class OfflineLoudness
{
public:
    OfflineLoudness() = default;

    /** Sizes everything for chunks of up to blockSize frames. With
        makeAnalysersNow, as when the host prepares for an offline render, the
        analysers are made here, so that the render allocates nothing; otherwise
        the first render makes them, and a real-time session never does.
    */
    void prepare (double sampleRate, int blockSize, bool makeAnalysersNow);

    /** A new render: nothing measured yet, and nothing heard. Replaces an
        analyser that has heard anything, which allocates.
    */
    void startRender();

    /** Takes the next chunk to measure: the first numFrames frames of both
        channels of each source, at most the prepared block size. b is null
        while input B has no channels, and B's readings then hold. measureFrom
        then measures it piece by piece.
    */
    void takeChunk (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>* b, int numFrames);

    /** What one call of measureFrom measured. */
    struct Piece
    {
        int numFrames = 0;    // frames of the chunk taken, from the first one asked for
        bool renewed = false; // the readings were renewed after the piece's last frame
    };

    /** Measures the chunk taken from frame start on, a frame within it, up to
        its end or up to the frame that closes a reading, whichever comes
        first. A reading thus always follows the audio up to the end of a
        piece, and whatever it changes can take effect from the very next
        frame, wherever the host's blocks happen to end.
    */
    Piece measureFrom (int start);

    /** The latest readings; "nothing measured" before the first. */
    const LoudnessAnalyzer::Reading& getReadingA() const noexcept { return readingA; }
    const LoudnessAnalyzer::Reading& getReadingB() const noexcept { return readingB; }

private:
    //==============================================================================
    std::unique_ptr<LoudnessAnalyzer> makeAnalyzer() const;

    /** Nothing measured and nothing heard, as at the start of a render. */
    void forgetMeasurement() noexcept;

    std::unique_ptr<LoudnessAnalyzer> analyzerA;
    std::unique_ptr<LoudnessAnalyzer> analyzerB;

    // The chunk as the analysers hear it: a NaN or an infinity would stay in
    // the loudness filters for good, so they hear silence in its place.
    juce::AudioBuffer<float> heardA;
    juce::AudioBuffer<float> heardB;

    LoudnessAnalyzer::Reading readingA;
    LoudnessAnalyzer::Reading readingB;

    int sampleRate = 0;
    int blockSize = 0;
    int framesPerReading = 1;
    int framesSinceReading = 0;
    bool heardSound = false;

    // The chunk taken: how long it is, whether B is part of it, and whether
    // there is anything to measure it with.
    int chunkFrames = 0;
    bool chunkHasB = false;
    bool canMeasureChunk = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OfflineLoudness)
};
