#include "OfflineLoudness.h"
#include "AudioPathMath.h"

namespace
{
    /** The first frame from start on that is not silent on both channels, or end. */
    int firstSoundFrom (const juce::AudioBuffer<float>& buffer, int start, int end) noexcept
    {
        const auto* left = buffer.getReadPointer (0);
        const auto* right = buffer.getReadPointer (1);

        for (int i = start; i < end; ++i)
            if (left[i] != 0.0f || right[i] != 0.0f)
                return i;

        return end;
    }

    /** Feeds numFrames frames of both channels, from frame start on. */
    void feed (LoudnessAnalyzer& analyzer, juce::AudioBuffer<float>& heard, int start, int numFrames)
    {
        // Refers to the frames in place; a view of two channels allocates nothing.
        const juce::AudioBuffer<float> piece (heard.getArrayOfWritePointers(), 2, start, numFrames);
        analyzer.analyzeBuffer (piece);
    }
} // namespace

//==============================================================================
void OfflineLoudness::prepare (double newSampleRate, int newBlockSize, bool makeAnalysersNow)
{
    sampleRate = (int) newSampleRate;
    blockSize = newBlockSize;
    framesPerReading = LoudnessAnalyzer::publicationIntervalFrames (newSampleRate);

    heardA.setSize (2, blockSize, false, false, false);
    heardB.setSize (2, blockSize, false, false, false);

    // Analysers made for another rate would measure wrongly; a real-time
    // session frees their memory until a render needs them.
    analyzerA = makeAnalysersNow ? makeAnalyzer() : nullptr;
    analyzerB = makeAnalysersNow ? makeAnalyzer() : nullptr;

    forgetMeasurement();
    chunkFrames = 0;
    canMeasureChunk = false;
}

std::unique_ptr<LoudnessAnalyzer> OfflineLoudness::makeAnalyzer() const
{
    return std::make_unique<LoudnessAnalyzer> (2, sampleRate, blockSize);
}

void OfflineLoudness::startRender()
{
    // One that has heard nothing is as good as new, so a render the host
    // prepared for keeps the analysers the preparation made.
    for (auto* analyzer : { &analyzerA, &analyzerB })
        if (*analyzer == nullptr || (*analyzer)->hasAnalysed())
            *analyzer = makeAnalyzer();

    forgetMeasurement();
}

void OfflineLoudness::forgetMeasurement() noexcept
{
    readingA = {};
    readingB = {};
    framesSinceReading = 0;
    heardSound = false;
}

void OfflineLoudness::takeChunk (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>* b, int numFrames)
{
    chunkFrames = numFrames;
    chunkHasB = b != nullptr;

    // Without analysers, or with a chunk longer than the scratch buffers hold,
    // the chunk passes unmeasured rather than being written past their ends.
    canMeasureChunk = analyzerA != nullptr && analyzerB != nullptr && numFrames <= blockSize;

    if (! canMeasureChunk)
        return;

    for (int ch = 0; ch < 2; ++ch)
    {
        copyReplacingNonFinite (heardA.getWritePointer (ch), a.getReadPointer (ch), numFrames);

        if (chunkHasB)
            copyReplacingNonFinite (heardB.getWritePointer (ch), b->getReadPointer (ch), numFrames);
    }
}

OfflineLoudness::Piece OfflineLoudness::measureFrom (int start)
{
    const auto remaining = chunkFrames - start;

    if (! canMeasureChunk)
        return { remaining, false };

    auto from = start;

    // The K-weighting filters and the loudness windows of a fresh measurement
    // start from silence, so leaving out the silence before the first sound
    // changes nothing that is measured; it only makes the readings fall at the
    // same places in the audio however long the silence was.
    if (! heardSound)
    {
        from = firstSoundFrom (heardA, start, chunkFrames);

        if (chunkHasB)
            from = juce::jmin (from, firstSoundFrom (heardB, start, chunkFrames));

        heardSound = from < chunkFrames;

        if (! heardSound)
            return { remaining, false };
    }

    const auto length = juce::jmin (chunkFrames - from, framesPerReading - framesSinceReading);

    feed (*analyzerA, heardA, from, length);

    if (chunkHasB)
        feed (*analyzerB, heardB, from, length);

    framesSinceReading += length;
    const Piece piece { from + length - start, framesSinceReading == framesPerReading };

    if (piece.renewed)
    {
        framesSinceReading = 0;
        readingA = analyzerA->getReading();

        if (chunkHasB)
            readingB = analyzerB->getReading();
    }

    return piece;
}
