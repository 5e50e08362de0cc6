#include "processor/LufsAnalyzerThread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
    constexpr float minusInfinity = -std::numeric_limits<float>::infinity();

    /** A stereo 1 kHz sine whose peak sits at the given level on both channels. */
    juce::AudioBuffer<float> makeSine (double sampleRate, int numFrames, float peakDbfs, int startFrame = 0)
    {
        juce::AudioBuffer<float> buffer (2, numFrames);
        const auto amplitude = juce::Decibels::decibelsToGain (peakDbfs);

        for (int i = 0; i < numFrames; ++i)
        {
            const auto phase = juce::MathConstants<double>::twoPi * 1000.0 * (startFrame + i) / sampleRate;
            buffer.setSample (0, i, amplitude * (float) std::sin (phase));
            buffer.setSample (1, i, amplitude * (float) std::sin (phase));
        }

        return buffer;
    }

    juce::AudioBuffer<float> makeNoise (int numFrames, juce::int64 seed)
    {
        juce::Random random (seed);
        juce::AudioBuffer<float> buffer (2, numFrames);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numFrames; ++i)
                buffer.setSample (ch, i, random.nextFloat() - 0.5f);

        return buffer;
    }

    juce::AudioBuffer<float> slice (const juce::AudioBuffer<float>& source, int start, int numFrames)
    {
        juce::AudioBuffer<float> part (2, numFrames);

        for (int ch = 0; ch < 2; ++ch)
            part.copyFrom (ch, 0, source, ch, start, numFrames);

        return part;
    }

    void writeA (LufsAnalyzerThread& thread, const juce::AudioBuffer<float>& frames)
    {
        LufsAnalyzerThread::writeFrames (thread.fifoA, thread.fifoBufferA, frames, frames.getNumSamples());
    }

    void writeB (LufsAnalyzerThread& thread, const juce::AudioBuffer<float>& frames)
    {
        LufsAnalyzerThread::writeFrames (thread.fifoB, thread.fifoBufferB, frames, frames.getNumSamples());
    }

    int drain (LufsAnalyzerThread& thread)
    {
        int passes = 0;

        while (thread.analyseNextBlocks())
            ++passes;

        return passes;
    }

    /** Feeds a signal through the FIFO a second at a time, as the audio thread would,
        with the loop's passes run here instead of on the thread.
    */
    void feedA (LufsAnalyzerThread& thread, const juce::AudioBuffer<float>& signal)
    {
        const auto chunk = thread.fifoA.getTotalSize() / 2;

        for (int start = 0; start < signal.getNumSamples(); start += chunk)
        {
            writeA (thread, slice (signal, start, juce::jmin (chunk, signal.getNumSamples() - start)));
            drain (thread);
        }
    }
} // namespace

//==============================================================================
TEST (LoudnessMeasurement, SinesReadTheirLevelInBothWindowsAndTheThreadPublishesIt)
{
    for (const auto level : { -23.0f, -33.0f })
    {
        LoudnessAnalyzer analyzer (2, 48000, 4800);
        const auto sine = makeSine (48000.0, 48000 * 4, level);

        for (int start = 0; start < sine.getNumSamples(); start += 4800)
            analyzer.analyzeBuffer (slice (sine, start, 4800));

        EXPECT_NEAR (analyzer.getMomentaryLoudness(), level, 0.1f);
        EXPECT_NEAR (analyzer.getShortTermLoudness(), level, 0.1f);
        EXPECT_TRUE (analyzer.isAudioActive());

        LufsAnalyzerThread thread;
        thread.prepare (44100.0, 441);
        feedA (thread, makeSine (44100.0, 44100 * 4, level));

        EXPECT_NEAR (thread.lufsMomentaryA.load(), level, 0.1f);
        EXPECT_NEAR (thread.lufsShortTermA.load(), level, 0.1f);
        EXPECT_TRUE (thread.audioActiveA.load());

        // B was never written, so it still reads "no measurement".
        EXPECT_FLOAT_EQ (thread.lufsShortTermB.load(), LoudnessAnalyzer::noMeasurement);
        EXPECT_FALSE (thread.audioActiveB.load());
    }
}

TEST (LoudnessMeasurement, DigitalSilencePublishesMinusInfinityAndNoAudio)
{
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 480);
    thread.audioActiveA = true;

    juce::AudioBuffer<float> silence (2, 48000 * 4);
    silence.clear();
    feedA (thread, silence);

    EXPECT_EQ (thread.lufsMomentaryA.load(), minusInfinity);
    EXPECT_EQ (thread.lufsShortTermA.load(), minusInfinity);
    EXPECT_FALSE (thread.audioActiveA.load());
}

TEST (LoudnessMeasurement, TheAudioFlagFlipsAtMinus80Lufs)
{
    for (const auto& [level, active] : { std::pair { -79.6f, true }, std::pair { -80.4f, false } })
    {
        LoudnessAnalyzer analyzer (2, 48000, 480);
        const auto sine = makeSine (48000.0, 48000, level);

        for (int start = 0; start < sine.getNumSamples(); start += 480)
            analyzer.analyzeBuffer (slice (sine, start, 480));

        ASSERT_NEAR (analyzer.getMomentaryLoudness(), level, 0.1f);
        EXPECT_EQ (analyzer.isAudioActive(), active) << level << " LUFS";

        // The thread publishes the flag that its own momentary value gives.
        LufsAnalyzerThread thread;
        thread.prepare (48000.0, 480);
        feedA (thread, sine);
        ASSERT_NEAR (thread.lufsMomentaryA.load(), level, 0.1f);
        EXPECT_EQ (thread.audioActiveA.load(), active) << level << " LUFS, published";
    }
}

TEST (LoudnessMeasurement, AnAnalyserWithoutLibraryStateReadsNoMeasurement)
{
    // The library refuses sample rates this low, so the analyser has no state.
    LufsAnalyzerThread thread;
    thread.prepare (5.0, 4);
    ASSERT_FALSE (thread.analyzerA->hasState());

    thread.lufsMomentaryA = -12.0f;
    thread.lufsShortTermA = -12.0f;
    thread.audioActiveA = true;

    writeA (thread, makeNoise (8, 1));
    EXPECT_EQ (drain (thread), 2) << "the FIFO is still drained block by block";

    EXPECT_FLOAT_EQ (thread.lufsMomentaryA.load(), -70.0f);
    EXPECT_FLOAT_EQ (thread.lufsShortTermA.load(), -70.0f);
    EXPECT_FALSE (thread.audioActiveA.load());
}

//==============================================================================
TEST (AnalyserLoop, WaitsForAWholeBlock)
{
    // A block of 100 ms, so that every block analysed is also published.
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 4800);
    thread.lufsMomentaryA = 1.0f;

    writeA (thread, makeNoise (4799, 2));
    EXPECT_FALSE (thread.analyseNextBlocks());
    EXPECT_FLOAT_EQ (thread.lufsMomentaryA.load(), 1.0f);
    EXPECT_EQ (thread.fifoA.getNumReady(), 4799);

    writeA (thread, makeNoise (1, 3));
    EXPECT_TRUE (thread.analyseNextBlocks());
    EXPECT_FALSE (thread.analyseNextBlocks());
    EXPECT_NE (thread.lufsMomentaryA.load(), 1.0f);
    EXPECT_EQ (thread.fifoA.getNumReady(), 0);
}

TEST (AnalyserLoop, WorksOffABacklogOneBlockPerSourceAndPass)
{
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 480);

    writeA (thread, makeNoise (3 * 480, 4));
    writeB (thread, makeNoise (480, 5));

    // Every pass that finds a block returns at once for the next one; the loop
    // only sleeps after a pass that found nothing.
    EXPECT_TRUE (thread.analyseNextBlocks());
    EXPECT_EQ (thread.fifoA.getNumReady(), 2 * 480);
    EXPECT_EQ (thread.fifoB.getNumReady(), 0);
    EXPECT_TRUE (thread.analyseNextBlocks());
    EXPECT_TRUE (thread.analyseNextBlocks());
    EXPECT_FALSE (thread.analyseNextBlocks());
}

TEST (AnalyserLoop, ABlockThatWrapsTheRingIsAnalysedAsOneContinuousBlock)
{
    // At 8 kHz with blocks of 1024 the ring holds 9024 frames, so the ninth block
    // written lies partly at the end of the ring and partly at its start.
    constexpr int blockSize = 1024;
    LufsAnalyzerThread thread;
    thread.prepare (8000.0, blockSize);

    LoudnessAnalyzer reference (2, 8000, blockSize);
    const auto signal = makeNoise (10 * blockSize, 6);

    writeA (thread, slice (signal, 0, 8 * blockSize));

    for (int block = 0; block < 8; ++block)
    {
        ASSERT_TRUE (thread.analyseNextBlocks());
        reference.analyzeBuffer (slice (signal, block * blockSize, blockSize));
    }

    writeA (thread, slice (signal, 8 * blockSize, 2 * blockSize));

    for (int block = 8; block < 10; ++block)
    {
        ASSERT_TRUE (thread.analyseNextBlocks());
        reference.analyzeBuffer (slice (signal, block * blockSize, blockSize));
        EXPECT_EQ (thread.lufsMomentaryA.load(), reference.getMomentaryLoudness()) << "block " << block;
    }
}

TEST (AnalyserLoop, PublishesEveryHundredMillisecondsOfAudioWithSmallBlocks)
{
    // 32-frame blocks at 48 kHz: the values are queried once per 4800 frames.
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 32);

    for (int publication = 0; publication < 2; ++publication)
    {
        thread.lufsMomentaryA = 1.0f;

        writeA (thread, makeNoise (149 * 32, 7 + publication));
        EXPECT_EQ (drain (thread), 149);
        EXPECT_FLOAT_EQ (thread.lufsMomentaryA.load(), 1.0f) << "publication " << publication;

        writeA (thread, makeNoise (32, 9 + publication));
        EXPECT_EQ (drain (thread), 1);
        EXPECT_NE (thread.lufsMomentaryA.load(), 1.0f) << "publication " << publication;
        EXPECT_TRUE (thread.audioActiveA.load());
    }
}

TEST (AnalyserLoop, PublishesAfterEveryBlockOfAHundredMillisecondsOrMore)
{
    for (const auto blockSize : { 4800, 6000 })
    {
        LufsAnalyzerThread thread;
        thread.prepare (48000.0, blockSize);

        for (int block = 0; block < 3; ++block)
        {
            thread.lufsMomentaryA = 1.0f;
            writeA (thread, makeNoise (blockSize, 11 + block));
            EXPECT_EQ (drain (thread), 1);
            EXPECT_NE (thread.lufsMomentaryA.load(), 1.0f) << "blocks of " << blockSize << ", block " << block;
        }
    }
}

TEST (AnalyserLoop, BStaysAsItWasWhileNothingIsWrittenForIt)
{
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 480);

    writeB (thread, makeSine (48000.0, 48000, -30.0f));
    drain (thread);
    const auto shortTermB = thread.lufsShortTermB.load();
    ASSERT_NEAR (thread.lufsMomentaryB.load(), -30.0f, 0.1f);

    feedA (thread, makeSine (48000.0, 48000 * 2, -20.0f));

    EXPECT_EQ (thread.lufsShortTermB.load(), shortTermB);
    EXPECT_TRUE (thread.audioActiveB.load());
}

//==============================================================================
TEST (AnalyserPreparation, DiscardsUnreadFramesAndKeepsPublishedValues)
{
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 480);
    feedA (thread, makeSine (48000.0, 48000, -20.0f));
    const auto published = thread.lufsShortTermA.load();

    writeA (thread, makeNoise (3 * 480, 10));
    writeB (thread, makeNoise (2 * 480, 11));

    thread.prepare (44100.0, 256);

    EXPECT_EQ (thread.fifoA.getNumReady(), 0);
    EXPECT_EQ (thread.fifoB.getNumReady(), 0);
    EXPECT_EQ (thread.lufsShortTermA.load(), published);
    EXPECT_EQ (thread.fifoBufferA.getNumSamples(), 44100 + 256);
    EXPECT_EQ (thread.fifoBufferA.getMagnitude (0, 0, thread.fifoBufferA.getNumSamples()), 0.0f);

    // The fresh measurement starts from nothing: its first publication, after
    // 100 ms of silence, reads as silence, not as the tail of the earlier sine.
    juce::AudioBuffer<float> silence (2, 18 * 256);
    silence.clear();
    writeA (thread, silence);
    drain (thread);
    EXPECT_EQ (thread.lufsMomentaryA.load(), minusInfinity);
}

TEST (AnalyserPreparation, TheRunningThreadDrainsTheFifosByItself)
{
    LufsAnalyzerThread thread;
    thread.prepare (48000.0, 480);
    thread.startThread (juce::Thread::Priority::normal);

    const auto sine = makeSine (48000.0, 48000 * 4, -23.0f);

    for (int start = 0; start < sine.getNumSamples(); start += 4800)
    {
        writeA (thread, slice (sine, start, 4800));

        for (int wait = 0; wait < 5000 && thread.fifoA.getNumReady() > 0; ++wait)
            juce::Thread::sleep (1);
    }

    EXPECT_NEAR (thread.lufsShortTermA.load(), -23.0f, 0.1f);
    EXPECT_TRUE (thread.stopThread (1000));
}
