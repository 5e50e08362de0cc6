#include "OfflineLoudness.h"
#include "AudioPathMath.h"
#include "LufsAnalyzerThread.h"

namespace
{
    /** How many of the first numFrames frames are silent on both channels. */
    int leadingSilentFrames (const juce::AudioBuffer<float>& buffer, int numFrames) noexcept
    {
        const auto* left = buffer.getReadPointer (0);
        const auto* right = buffer.getReadPointer (1);

        for (int i = 0; i < numFrames; ++i)
            if (left[i] != 0.0f || right[i] != 0.0f)
                return i;

        return numFrames;
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
    publicationInterval = LufsAnalyzerThread::publicationIntervalFrames (newSampleRate);

    heardA.setSize (2, blockSize, false, false, false);
    heardB.setSize (2, blockSize, false, false, false);

    // Analysers made for another rate would measure wrongly; a real-time
    // session frees their memory until a render needs them.
    analyzerA = makeAnalysersNow ? makeAnalyzer() : nullptr;
    analyzerB = makeAnalysersNow ? makeAnalyzer() : nullptr;

    readingA = {};
    readingB = {};
    framesSincePublication = 0;
    heardSound = false;
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

    readingA = {};
    readingB = {};
    framesSincePublication = 0;
    heardSound = false;
}

bool OfflineLoudness::analyse (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>* b, int numFrames)
{
    if (analyzerA == nullptr || analyzerB == nullptr || numFrames > blockSize)
        return false;

    for (int ch = 0; ch < 2; ++ch)
    {
        copyReplacingNonFinite (heardA.getWritePointer (ch), a.getReadPointer (ch), numFrames);

        if (b != nullptr)
            copyReplacingNonFinite (heardB.getWritePointer (ch), b->getReadPointer (ch), numFrames);
    }

    auto start = 0;

    // The K-weighting filters and the loudness windows of a fresh measurement
    // start from silence, so leaving out the silence before the first sound
    // changes nothing that is measured; it only makes the publications fall
    // at the same places in the audio however long the silence was.
    if (! heardSound)
    {
        start = leadingSilentFrames (heardA, numFrames);

        if (b != nullptr)
            start = juce::jmin (start, leadingSilentFrames (heardB, numFrames));

        heardSound = start < numFrames;
    }

    auto renewed = false;

    while (start < numFrames)
    {
        const auto length = juce::jmin (numFrames - start, publicationInterval - framesSincePublication);

        feed (*analyzerA, heardA, start, length);

        if (b != nullptr)
            feed (*analyzerB, heardB, start, length);

        start += length;
        framesSincePublication += length;

        if (framesSincePublication == publicationInterval)
        {
            framesSincePublication = 0;
            readingA = analyzerA->getReading();

            if (b != nullptr)
                readingB = analyzerB->getReading();

            renewed = true;
        }
    }

    return renewed;
}
