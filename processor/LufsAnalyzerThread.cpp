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

    publicationInterval = juce::jmax (1, (int) (publicationIntervalSeconds * sampleRate));
    framesSincePublicationA = 0;
    framesSincePublicationB = 0;

    // Stopped, the thread reads nothing; once started again it reads the FIFOs
    // unless the audio thread takes them over.
    reader.store (Reader::analyserThread, std::memory_order_release);
}

bool LufsAnalyzerThread::takeOverAnalysis (int maxWaitMilliseconds)
{
    if (reader.load (std::memory_order_acquire) == Reader::audioThread)
        return true;

    // A thread that is not running reads nothing, so there is no one to wait for.
    if (! isThreadRunning())
    {
        reader.store (Reader::audioThread, std::memory_order_release);
        return true;
    }

    auto expected = Reader::analyserThread;
    reader.compare_exchange_strong (expected, Reader::handOverAsked, std::memory_order_relaxed);

    if (maxWaitMilliseconds <= 0)
        return reader.load (std::memory_order_acquire) == Reader::audioThread;

    // Wakes the thread from its idle wait, so that it sees the request at once.
    notify();

    const auto deadline = juce::Time::getMillisecondCounterHiRes() + maxWaitMilliseconds;

    while (reader.load (std::memory_order_acquire) != Reader::audioThread)
    {
        const auto remaining = (int) std::ceil (deadline - juce::Time::getMillisecondCounterHiRes());

        if (remaining <= 0)
            return false;

        stoodAside.wait (remaining);
    }

    return true;
}

void LufsAnalyzerThread::handBackAnalysis() noexcept
{
    if (reader.load (std::memory_order_relaxed) != Reader::analyserThread)
        reader.store (Reader::analyserThread, std::memory_order_release);
}

bool LufsAnalyzerThread::holdsTheReading()
{
    auto current = reader.load (std::memory_order_acquire);

    // The exchange publishes everything this thread wrote in its last pass to
    // the audio thread that takes over. It fails only when the request was
    // withdrawn meanwhile, and then the reading is this thread's again.
    if (current == Reader::handOverAsked
        && reader.compare_exchange_strong (current, Reader::audioThread, std::memory_order_acq_rel))
    {
        stoodAside.signal();
        return false;
    }

    return current == Reader::analyserThread;
}

void LufsAnalyzerThread::restartAnalysis()
{
    fifoA.reset();
    fifoB.reset();

    // A measurement cannot be emptied in place, so one that has heard anything
    // is replaced. One that has not is as good as new, and keeping it keeps an
    // offline render prepared as such free of allocation.
    for (auto* analyzer : { &analyzerA, &analyzerB })
        if (*analyzer != nullptr && (*analyzer)->hasAnalysed())
            *analyzer = std::make_unique<LoudnessAnalyzer> ((*analyzer)->getNumChannels(), (*analyzer)->getSampleRate(),
                                                            (*analyzer)->getBlockSize());

    framesSincePublicationA = 0;
    framesSincePublicationB = 0;

    const LoudnessAnalyzer::MomentaryReading nothingYet { LoudnessAnalyzer::noMeasurement, false };

    for (const auto& published : { publishedA(), publishedB() })
        published.store (nothingYet, LoudnessAnalyzer::noMeasurement);
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
    // The idle waits end early when the audio thread asks for the reading.
    while (! threadShouldExit())
    {
        if (! holdsTheReading() || ! analyseNextBlocks())
            wait (idleSleepMilliseconds);
    }
}

bool LufsAnalyzerThread::analyseNextBlocks()
{
    const auto analysedA = analyseBlockFrom (fifoA, fifoBufferA, analyzerA.get(),
                                             publishedA(),
                                             framesSincePublicationA);

    const auto analysedB = analyseBlockFrom (fifoB, fifoBufferB, analyzerB.get(),
                                             publishedB(),
                                             framesSincePublicationB);

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
                                           PublishedValues published,
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

        // The flag comes from the same momentary value: a second query would
        // cost as much again and could only ever agree with the first.
        published.store (analyzer->getMomentaryReading(), analyzer->getShortTermLoudness());
    }

    return true;
}
