#include "LufsAnalyzerThread.h"
#include "AudioPathMath.h"

LufsAnalyzerThread::LufsAnalyzerThread()
    : juce::Thread ("LUFS Analyzer Thread")
{
}

LufsAnalyzerThread::~LufsAnalyzerThread()
{
    // The analysers and stores are members, so the thread has to be gone before they are.
    stopThread (1000);
}

void LufsAnalyzerThread::prepare (double sampleRate, int samplesPerBlock)
{
    // Nothing below may change while the loop runs; stopping first is what
    // keeps the two threads apart without a lock.
    stopThread (500);

    blockSize = samplesPerBlock;

    const auto capacity = (int) sampleRate + samplesPerBlock;
    fifoA.setTotalSize (capacity);
    fifoB.setTotalSize (capacity);
    fifoBufferA.setSize (2, capacity, false, false, false);
    fifoBufferB.setSize (2, capacity, false, false, false);
    fifoBufferA.clear();
    fifoBufferB.clear();
    readBuffer.setSize (2, samplesPerBlock, false, false, false);

    analyzerA = std::make_unique<LoudnessAnalyzer> (2, (int) sampleRate, samplesPerBlock);
    analyzerB = std::make_unique<LoudnessAnalyzer> (2, (int) sampleRate, samplesPerBlock);

    publicationInterval = LoudnessAnalyzer::publicationIntervalFrames (sampleRate);
    framesSincePublicationA = 0;
    framesSincePublicationB = 0;

    // Stopped, the thread has no render to follow; it shows its own measurement.
    publisher.store (Publisher::analyzerThread, std::memory_order_release);
}

//==============================================================================
void LufsAnalyzerThread::showRenderReadings (const LoudnessAnalyzer::Reading& a, const LoudnessAnalyzer::Reading& b) noexcept
{
    renderReadingA.atomics().store (a);
    renderReadingB.atomics().store (b);

    // Release: the thread that sees the render also sees its readings.
    publisher.store (Publisher::offlineRender, std::memory_order_release);
}

void LufsAnalyzerThread::showOwnReadingsAgain() noexcept
{
    auto expected = Publisher::offlineRender;
    publisher.compare_exchange_strong (expected, Publisher::handingBack, std::memory_order_relaxed);
}

bool LufsAnalyzerThread::publishesOwnReadings() const noexcept
{
    return publisher.load (std::memory_order_acquire) == Publisher::analyzerThread;
}

LoudnessAnalyzer::Reading LufsAnalyzerThread::readPublishedA() const noexcept
{
    return loadReading (lufsMomentaryA, lufsShortTermA, audioActiveA);
}

LoudnessAnalyzer::Reading LufsAnalyzerThread::readPublishedB() const noexcept
{
    return loadReading (lufsMomentaryB, lufsShortTermB, audioActiveB);
}

void LufsAnalyzerThread::followPublisher()
{
    auto current = publisher.load (std::memory_order_acquire);

    if (current == Publisher::offlineRender)
    {
        publishedA().store (renderReadingA.load());
        publishedB().store (renderReadingB.load());
    }
    else if (current == Publisher::handingBack)
    {
        publishedA().store (ownReadingA);
        publishedB().store (ownReadingB);

        // Release: an audio thread that sees the thread's own readings shown
        // again also sees them in the published values. Should a new render
        // have begun meanwhile, the exchange fails and that render is shown.
        publisher.compare_exchange_strong (current, Publisher::analyzerThread, std::memory_order_acq_rel);
    }
}

void LufsAnalyzerThread::writeFrames (juce::AbstractFifo& fifo, juce::AudioBuffer<float>& store,
                                      const juce::AudioBuffer<float>& source, int numFrames) noexcept
{
    // The write is committed when the regions go out of scope, after the copy.
    const auto regions = fifo.write (numFrames);

    // A single NaN or infinity would stay in the loudness filters for good and
    // the measurement would never come back, so the analyser hears silence in
    // its place.
    for (int ch = 0; ch < 2; ++ch)
    {
        if (regions.blockSize1 > 0)
            copyReplacingNonFinite (store.getWritePointer (ch, regions.startIndex1), source.getReadPointer (ch, 0), regions.blockSize1);

        if (regions.blockSize2 > 0)
            copyReplacingNonFinite (store.getWritePointer (ch, regions.startIndex2), source.getReadPointer (ch, regions.blockSize1), regions.blockSize2);
    }
}

void LufsAnalyzerThread::copyReadFrames (const juce::AbstractFifo::ScopedRead& regions,
                                         const juce::AudioBuffer<float>& store,
                                         juce::AudioBuffer<float>& destination) noexcept
{
    // The store is read by pointer: copyFrom would also read the store's
    // "cleared" flag, which the writing thread sets on every write.
    for (int ch = 0; ch < 2; ++ch)
    {
        if (regions.blockSize1 > 0)
            juce::FloatVectorOperations::copy (destination.getWritePointer (ch, 0), store.getReadPointer (ch, regions.startIndex1), regions.blockSize1);

        if (regions.blockSize2 > 0)
            juce::FloatVectorOperations::copy (destination.getWritePointer (ch, regions.blockSize1), store.getReadPointer (ch, regions.startIndex2), regions.blockSize2);
    }
}

void LufsAnalyzerThread::run()
{
    while (! threadShouldExit())
    {
        followPublisher();

        if (! analyseNextBlocks())
            wait (idleSleepMilliseconds);
    }
}

bool LufsAnalyzerThread::analyseNextBlocks()
{
    const auto analysedA = analyseBlockFrom (fifoA, fifoBufferA, analyzerA.get(), publishedA(),
                                             ownReadingA, framesSincePublicationA);

    const auto analysedB = analyseBlockFrom (fifoB, fifoBufferB, analyzerB.get(), publishedB(),
                                             ownReadingB, framesSincePublicationB);

    return analysedA || analysedB;
}

void LufsAnalyzerThread::analyseWaitingBlocks()
{
    while (analyseNextBlocks())
    {
    }
}

bool LufsAnalyzerThread::analyseBlockFrom (juce::AbstractFifo& fifo,
                                           const juce::AudioBuffer<float>& store,
                                           LoudnessAnalyzer* analyzer,
                                           ReadingAtomics published,
                                           LoudnessAnalyzer::Reading& ownReading,
                                           int& framesSincePublication)
{
    if (analyzer == nullptr || blockSize <= 0 || fifo.getNumReady() < blockSize)
        return false;

    // The read is committed when this goes out of scope, after publication, so
    // the writer never reuses frames that are still being copied.
    const auto regions = fifo.read (blockSize);

    copyReadFrames (regions, store, readBuffer);
    analyzer->analyzeBuffer (readBuffer);

    framesSincePublication += blockSize;

    if (framesSincePublication >= publicationInterval)
    {
        framesSincePublication = 0;
        ownReading = analyzer->getReading();

        // While a render is shown its readings stay in place; this one waits
        // in ownReading until real time resumes.
        if (publisher.load (std::memory_order_relaxed) == Publisher::analyzerThread)
            published.store (ownReading);
    }

    return true;
}
