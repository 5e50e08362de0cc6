/*
    The three threads that meet in the processor, at full speed for a few
    seconds: the host's audio thread running processBlock, the analyser thread
    draining the FIFOs, and an editor that writes the mode flags, flips the
    host switches and reads the measured fields the way its timer does.
    Built with ThreadSanitizer this finds any unsynchronised access among them.
*/

#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

namespace
{
    bool isLevel (float level)
    {
        return level >= -120.0f && level <= 10.0f;
    }

    bool isMatchGainDb (float gainDb)
    {
        return gainDb >= -30.0f && gainDb <= 30.0f;
    }

    /** What the editor thread saw; anything out of range is counted, not asserted
        on its own thread.
    */
    struct EditorObservations
    {
        int polls = 0;
        int levelsOutOfRange = 0;
        int matchGainsOutOfRange = 0;
        int channelCountsWrong = 0;
    };

    /** Plays numBlocks blocks of full-scale noise on both sources. */
    void playNoise (QuorvaneAudioProcessor& processor, int blockSize, int numBlocks, juce::Random& random)
    {
        juce::AudioBuffer<float> block (4, blockSize);
        juce::MidiBuffer midi;

        for (int i = 0; i < numBlocks; ++i)
        {
            for (int ch = 0; ch < 4; ++ch)
                for (int s = 0; s < blockSize; ++s)
                    block.setSample (ch, s, random.nextFloat() - 0.5f);

            processor.processBlock (block, midi);
        }
    }

    /** Plays blocks of random sizes until stopped. With blocksPerRenderMode above
        zero it also switches between real time and offline that often, as a
        host flags each call, with no new preparation.
    */
    void runAudioThread (QuorvaneAudioProcessor& processor, int preparedBlockSize,
                         const std::atomic<bool>& stop, std::atomic<int>& blocksProcessed,
                         int blocksPerRenderMode)
    {
        const auto maxBlockSize = 2 * preparedBlockSize;
        juce::AudioBuffer<float> source (4, maxBlockSize);
        juce::Random random (3);

        // B somewhat quieter than A, so that both count as active and the match moves.
        for (int ch = 0; ch < 4; ++ch)
            for (int i = 0; i < maxBlockSize; ++i)
                source.setSample (ch, i, (random.nextFloat() - 0.5f) * (ch < 2 ? 0.5f : 0.2f));

        juce::AudioBuffer<float> block (4, maxBlockSize);
        juce::MidiBuffer midi;
        std::mt19937 sizes (5);
        std::uniform_int_distribution<int> size (0, maxBlockSize);

        while (! stop.load())
        {
            block.setSize (4, size (sizes), false, false, true);

            for (int ch = 0; ch < 4; ++ch)
                block.copyFrom (ch, 0, source, ch, 0, block.getNumSamples());

            const auto blocks = blocksProcessed.fetch_add (1);

            if (blocksPerRenderMode > 0 && blocks % blocksPerRenderMode == 0)
                processor.setNonRealtime (! processor.isNonRealtime());

            processor.processBlock (block, midi);

            // A host's audio thread waits for the next period between blocks;
            // a short pause lets the analyser thread keep up now and then.
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    }

    EditorObservations runEditorThread (QuorvaneAudioProcessor& processor, const std::atomic<bool>& stop)
    {
        EditorObservations seen;
        std::mt19937 random (11);
        std::bernoulli_distribution flip (0.1);

        auto* powerSwitch = processor.parameters.getParameter ("onButton");
        auto* aSwitch = processor.parameters.getParameter ("AButton");

        while (! stop.load())
        {
            // Click handlers: the mode flags, and the switches as the button
            // attachments and the handlers write them.
            for (auto* flag : { &processor.matchB, &processor.diffMode, &processor.blindTestActive,
                                &processor.blindPlaysA, &processor.aSelected, &processor.bypassed })
                if (flip (random))
                    *flag = ! flag->load();

            for (auto* hostSwitch : { powerSwitch, aSwitch })
                if (flip (random))
                    hostSwitch->setValueNotifyingHost (hostSwitch->getValue() < 0.5f ? 1.0f : 0.0f);

            // The timer's poll.
            for (int ch = 0; ch < 2; ++ch)
                if (! isLevel (processor.levelA[ch].load()) || ! isLevel (processor.levelB[ch].load()))
                    ++seen.levelsOutOfRange;

            const auto gainDb = processor.matchGainDb.load();

            if (! isMatchGainDb (gainDb))
                ++seen.matchGainsOutOfRange;

            if (processor.numInputChannels.load() != 4 || ! processor.isInputBConnected())
                ++seen.channelCountsWrong;

            [[maybe_unused]] volatile float readouts[] {
                processor.shortTermA.load(), processor.shortTermB.load(),
                processor.momentaryA.load(), processor.momentaryB.load(),
                processor.analyzerThread.lufsShortTermA.load(), processor.analyzerThread.lufsShortTermB.load(),
                processor.aActive.load() ? 1.0f : 0.0f, processor.bActive.load() ? 1.0f : 0.0f
            };

            ++seen.polls;
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }

        return seen;
    }
} // namespace

//==============================================================================
TEST (Concurrency, AudioAnalyserAndEditorThreadsShareTheProcessorSafely)
{
    constexpr int preparedBlockSize = 256;

    // Also with the host flagging offline and real time by turns: offline, the
    // audio thread measures what it renders itself and the analyser thread shows
    // those readings; back in real time, the thread shows its own again.
    for (const auto blocksPerRenderMode : { 0, 16 })
    {
        SCOPED_TRACE (blocksPerRenderMode > 0 ? "switching between real time and offline" : "in real time");

        QuorvaneAudioProcessor processor;
        processor.prepareToPlay (48000.0, preparedBlockSize);
        ASSERT_TRUE (processor.analyzerThread.isThreadRunning());

        std::atomic<bool> stop { false };
        std::atomic<int> blocksProcessed { 0 };
        EditorObservations seen;

        std::thread audio ([&]
                           { runAudioThread (processor, preparedBlockSize, stop, blocksProcessed, blocksPerRenderMode); });
        std::thread editor ([&]
                            { seen = runEditorThread (processor, stop); });

        std::this_thread::sleep_for (std::chrono::seconds (3));
        stop = true;
        audio.join();
        editor.join();

        EXPECT_GT (blocksProcessed.load(), 100);
        EXPECT_GT (seen.polls, 100);
        EXPECT_EQ (seen.levelsOutOfRange, 0);
        EXPECT_EQ (seen.matchGainsOutOfRange, 0);
        EXPECT_EQ (seen.channelCountsWrong, 0);

        auto& analyser = processor.analyzerThread;

        if (blocksPerRenderMode > 0)
        {
            // A last render starts its measurement afresh, and a block of it is
            // too short to measure; back in real time, the analyser thread's
            // own measurement is what the path and the window read again.
            processor.parameters.getParameter ("onButton")->setValueNotifyingHost (1.0f);
            juce::Random random (13);

            for (const auto offline : { false, true, false })
            {
                processor.setNonRealtime (offline);
                playNoise (processor, preparedBlockSize, offline ? 1 : 40, random);

                if (offline)
                {
                    ASSERT_EQ (processor.shortTermA.load(), -70.0f);
                }
            }

            for (int i = 0; i < 1000 && ! analyser.publishesOwnReadings(); ++i)
                std::this_thread::sleep_for (std::chrono::milliseconds (10));

            EXPECT_TRUE (analyser.publishesOwnReadings());
        }

        // The analyser thread really took part: it measured both sources.
        EXPECT_TRUE (std::isfinite (analyser.lufsShortTermA.load()));
        EXPECT_NE (analyser.lufsShortTermA.load(), -70.0f);
        EXPECT_NE (analyser.lufsShortTermB.load(), -70.0f);
    }
}

TEST (Concurrency, PreparingAgainBetweenRunsRestartsTheAnalyserCleanly)
{
    QuorvaneAudioProcessor processor;

    struct Run
    {
        double sampleRate;
        int blockSize;
        bool offline;
    };

    // An offline render measures on the audio thread, beside an idle analyser
    // thread; the real-time run after it has the thread's measurement back.
    for (const auto& [sampleRate, blockSize, offline] : { Run { 44100.0, 512, false }, Run { 96000.0, 64, true }, Run { 48000.0, 1024, false } })
    {
        processor.setNonRealtime (offline);
        processor.prepareToPlay (sampleRate, blockSize);

        juce::Random random (9);
        playNoise (processor, blockSize, 200, random);

        EXPECT_TRUE (processor.analyzerThread.isThreadRunning());
    }
}
