#include "TestSupport.h"
#include "processor/AudioPathMath.h"
#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace
{
    // Exact binary fractions, so that a source that plays unchanged can be
    // compared bit for bit and every channel is told apart by its value.
    constexpr float aLeft = 0.125f;
    constexpr float aRight = 0.25f;
    constexpr float bLeft = 0.375f;
    constexpr float bRight = 0.5f;

    constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();

    using TestSupport::makeLayout;

    const auto stereoLayout = makeLayout (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo());

    float gainForDb (float db)
    {
        return std::pow (10.0f, db / 20.0f);
    }

    float levelForPeak (float peak)
    {
        return 20.0f * std::log10 (peak);
    }

    //==============================================================================
    /** A prepared processor whose analyser thread is held still, so that each test
        decides what loudness the path sees by publishing it itself.
    */
    struct AudioPathRig
    {
        explicit AudioPathRig (double sampleRate = 44100.0,
                               int blockSize = 512,
                               const juce::AudioProcessor::BusesLayout& layout = stereoLayout)
        {
            EXPECT_TRUE (processor.setBusesLayout (layout));
            prepare (sampleRate, blockSize);
        }

        void prepare (double sampleRate, int blockSize)
        {
            processor.prepareToPlay (sampleRate, blockSize);
            processor.analyzerThread.stopThread (1000);
        }

        void setSwitch (const char* parameterID, bool on)
        {
            processor.parameters.getParameter (parameterID)->setValueNotifyingHost (on ? 1.0f : 0.0f);
        }

        void playB() { setSwitch ("AButton", false); }
        void playA() { setSwitch ("AButton", true); }

        void publishA (float momentary, float shortTerm, bool active)
        {
            processor.analyzerThread.lufsMomentaryA = momentary;
            processor.analyzerThread.lufsShortTermA = shortTerm;
            processor.analyzerThread.audioActiveA = active;
        }

        void publishB (float momentary, float shortTerm, bool active)
        {
            processor.analyzerThread.lufsMomentaryB = momentary;
            processor.analyzerThread.lufsShortTermB = shortTerm;
            processor.analyzerThread.audioActiveB = active;
        }

        /** Both sources active, A's short-term loudness differenceDb above B's. */
        void publishDifference (float differenceDb)
        {
            publishA (-20.0f, -20.0f, true);
            publishB (-20.0f, -20.0f - differenceDb, true);
        }

        /** A host block: A's channels hold aLeft/aRight, B's bLeft/bRight. */
        juce::AudioBuffer<float> makeBlock (int numSamples) const
        {
            const auto numA = processor.getMainBusNumInputChannels();
            const auto numChannels = juce::jmax (processor.getTotalNumInputChannels(), processor.getTotalNumOutputChannels());
            juce::AudioBuffer<float> block (numChannels, numSamples);
            block.clear();

            for (int ch = 0; ch < processor.getTotalNumInputChannels(); ++ch)
            {
                const auto isA = ch < numA;
                const auto isLeft = (isA ? ch : ch - numA) == 0;
                const auto value = isA ? (isLeft ? aLeft : aRight) : (isLeft ? bLeft : bRight);
                juce::FloatVectorOperations::fill (block.getWritePointer (ch), value, numSamples);
            }

            return block;
        }

        juce::AudioBuffer<float> process (int numSamples)
        {
            auto block = makeBlock (numSamples);
            process (block);
            return block;
        }

        void process (juce::AudioBuffer<float>& block)
        {
            juce::MidiBuffer midi;
            processor.processBlock (block, midi);
        }

        /** Runs whole blocks until at least numSamples have been processed. */
        void run (int numSamples, int blockSize = 512)
        {
            for (int done = 0; done < numSamples; done += blockSize)
                process (blockSize);
        }

        QuorvaneAudioProcessor processor;
    };

    /** The rig with MATCH B off: B plays as it arrives, without waiting for a
        measurement or a ramp.
    */
    struct UnmatchedRig : AudioPathRig
    {
        explicit UnmatchedRig (double sampleRate = 44100.0,
                               int blockSize = 512,
                               const juce::AudioProcessor::BusesLayout& layout = stereoLayout)
            : AudioPathRig (sampleRate, blockSize, layout)
        {
            processor.matchB = false;
        }
    };

    //==============================================================================
    /** Checks that samples [0, numSamples) of a channel fade linearly from
        'from' to 'to', the first of them being the fade's firstSample-th sample.
    */
    void expectFade (const juce::AudioBuffer<float>& block, int channel, float from, float to,
                     int firstSample, int crossfadeLength, int numSamples)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const auto t = juce::jmin (1.0f, (float) (firstSample + i) / (float) crossfadeLength);
            const auto expected = from * (1.0f - t) + to * t;
            ASSERT_FLOAT_EQ (block.getSample (channel, i), expected) << "channel " << channel << ", sample " << i;
        }
    }

    void expectConstant (const juce::AudioBuffer<float>& block, int channel, float value, int start = 0)
    {
        for (int i = start; i < block.getNumSamples(); ++i)
            ASSERT_EQ (block.getSample (channel, i), value) << "channel " << channel << ", sample " << i;
    }

    void expectAllLevels (const QuorvaneAudioProcessor& p, float level)
    {
        EXPECT_EQ (p.levelA[0].load(), level);
        EXPECT_EQ (p.levelA[1].load(), level);
        EXPECT_EQ (p.levelB[0].load(), level);
        EXPECT_EQ (p.levelB[1].load(), level);
    }
} // namespace

//==============================================================================
TEST (AudioPathMath, ACrossfadeRisesInEqualStepsAndHoldsAtOne)
{
    const float fadingOut[] { 1.0f, 1.0f, 1.0f, notANumber, 1.0f, notANumber };
    const float fadingIn[] { 0.0f, 0.0f, 0.0f, 0.0f, -0.0f, 0.0f };
    float mixed[6] {};

    crossfade (mixed, fadingOut, fadingIn, 6, 0, 4);

    EXPECT_EQ (mixed[0], 0.75f);
    EXPECT_EQ (mixed[1], 0.5f);
    EXPECT_EQ (mixed[2], 0.25f);

    // The fade's last sample still counts the outgoing side, with weight 0;
    // past it the incoming side plays exactly as it would in a chunk of its
    // own, the sign of a zero included.
    EXPECT_TRUE (std::isnan (mixed[3]));
    EXPECT_TRUE (mixed[4] == 0.0f && std::signbit (mixed[4]));
    EXPECT_EQ (mixed[5], 0.0f);

    // Carried on from where an earlier chunk stopped.
    crossfade (mixed, fadingOut, fadingIn, 2, 2, 4);
    EXPECT_EQ (mixed[0], 0.25f);
    EXPECT_EQ (mixed[1], 0.0f);
}

TEST (AudioPathMath, PeakMagnitudeIsTheLargestMagnitudeAndKeepsNonFiniteValues)
{
    const float mixed[] { 0.25f, -0.75f, 0.5f };
    EXPECT_EQ (peakMagnitude (mixed, 3), 0.75f);
    EXPECT_EQ (peakMagnitude (mixed, 0), 0.0f);

    const float withInfinity[] { 0.5f, -infinity, 2.0f };
    EXPECT_EQ (peakMagnitude (withInfinity, 3), infinity);

    // A NaN must not vanish behind a larger value, wherever it sits.
    for (int position = 0; position < 64; ++position)
    {
        float samples[64] {};
        samples[position] = notANumber;
        samples[(position + 7) % 64] = 4.0f;
        EXPECT_TRUE (std::isnan (peakMagnitude (samples, 64))) << "NaN at " << position;
    }
}

TEST (AudioPathMath, PeakLevelsAreDecibelsHeldWithinTheMeterRange)
{
    EXPECT_FLOAT_EQ (peakLevelDb (1.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ (peakLevelDb (0.5f, 0.0f), -6.0206f);
    EXPECT_FLOAT_EQ (peakLevelDb (0.5f, 1.0f), -5.0206f);
    EXPECT_EQ (peakLevelDb (0.0f, 0.0f), -120.0f);
    EXPECT_EQ (peakLevelDb (1.0e-7f, 0.0f), -120.0f);
    EXPECT_EQ (peakLevelDb (100.0f, 0.0f), 10.0f);
    EXPECT_EQ (peakLevelDb (infinity, 0.0f), 10.0f);
    EXPECT_EQ (peakLevelDb (notANumber, 0.0f), -120.0f);
    EXPECT_EQ (peakLevelDb (notANumber, 30.0f), -120.0f);
}

TEST (AudioPathMath, MatchGainIsHeldWithinThirtyDecibels)
{
    EXPECT_EQ (limitMatchGainDb (40.0f), 30.0f);
    EXPECT_EQ (limitMatchGainDb (-45.0f), -30.0f);
    EXPECT_EQ (limitMatchGainDb (6.5f), 6.5f);
    EXPECT_NEAR (matchGainDbToLinear (30.0f), 31.6228f, 1.0e-3f);
    EXPECT_NEAR (matchGainDbToLinear (-30.0f), 1.0f / 31.6228f, 1.0e-6f);
    EXPECT_FLOAT_EQ (matchGainDbToLinear (0.0f), 1.0f);
    EXPECT_EQ (matchGainDbToLinear (-100.0f), 0.0f);
}

TEST (AudioPathMath, NonFiniteSamplesAreCopiedAsSilence)
{
    const float source[] { 0.5f, notANumber, -infinity, infinity, -0.25f };
    float destination[5] {};
    copyReplacingNonFinite (destination, source, 5);

    const float expected[] { 0.5f, 0.0f, 0.0f, 0.0f, -0.25f };

    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (destination[i], expected[i]) << i;
}

//==============================================================================
TEST (AudioPathChunking, ABlockOfTwoAndAHalfChunksIsProcessedInOrderInPlace)
{
    UnmatchedRig rig;

    juce::Random random (7);
    auto block = rig.makeBlock (1280);

    for (int ch = 0; ch < block.getNumChannels(); ++ch)
        for (int i = 0; i < 1280; ++i)
            block.setSample (ch, i, random.nextFloat() * 0.5f);

    const auto input = block;
    rig.process (block);

    EXPECT_EQ (block.getNumSamples(), 1280);

    for (int ch = 0; ch < block.getNumChannels(); ++ch)
        for (int i = 0; i < 1280; ++i)
            ASSERT_EQ (block.getSample (ch, i), input.getSample (ch, i)) << ch << ", " << i;

    // Every frame reached the analyser, in the order it arrived.
    auto& analyser = rig.processor.analyzerThread;
    ASSERT_EQ (analyser.fifoA.getNumReady(), 1280);
    ASSERT_EQ (analyser.fifoB.getNumReady(), 1280);

    for (int i = 0; i < 1280; ++i)
    {
        ASSERT_EQ (analyser.fifoBufferA.getSample (1, i), input.getSample (1, i)) << i;
        ASSERT_EQ (analyser.fifoBufferB.getSample (0, i), input.getSample (2, i)) << i;
    }
}

TEST (AudioPathChunking, ChunksHaveThePreparedLengthAndTheLastOneTheRest)
{
    // The levels describe the last chunk of a block, so a peak shows whether it
    // fell inside that chunk.
    auto lastChunkSees = [] (int blockLength, int peakPosition)
    {
        AudioPathRig rig;
        auto block = rig.makeBlock (blockLength);
        block.setSample (0, peakPosition, 0.875f);
        rig.process (block);
        return rig.processor.levelA[0].load() > levelForPeak (aLeft);
    };

    EXPECT_TRUE (lastChunkSees (512, 0));
    EXPECT_TRUE (lastChunkSees (1000, 512));
    EXPECT_FALSE (lastChunkSees (1000, 511));
    EXPECT_TRUE (lastChunkSees (1280, 1024));
    EXPECT_FALSE (lastChunkSees (1280, 1023));
}

TEST (AudioPathChunking, AFadeRunsOnAcrossTheChunksOfOneBlock)
{
    UnmatchedRig rig;
    rig.process (512);

    rig.playB();
    const auto block = rig.process (1280);

    expectFade (block, 0, aLeft, bLeft, 1, 882, 1280);
    expectFade (block, 1, aRight, bRight, 1, 882, 1280);
    EXPECT_EQ (rig.processor.crossfadePosition, -1);
}

TEST (AudioPathChunking, AnEmptyBlockWritesNothingAndKeepsARunningFade)
{
    UnmatchedRig rig;
    rig.process (512);
    EXPECT_GT (rig.processor.levelA[0].load(), -120.0f);

    rig.playB();
    rig.process (100);

    auto empty = rig.makeBlock (0);
    rig.process (empty);

    expectAllLevels (rig.processor, -120.0f);
    EXPECT_EQ (rig.processor.crossfadePosition, 100);

    const auto next = rig.process (200);
    expectFade (next, 0, aLeft, bLeft, 101, 882, 200);
}

TEST (AudioPathChunking, AFullFifoTakesTheLeadingFramesThatFitAndDropsTheRest)
{
    // The analyser is held still, so nothing drains the FIFOs. At 44.1 kHz
    // with blocks of 512 they have room for 44611 frames: 87 blocks and 67
    // frames of an 88th.
    UnmatchedRig rig;
    rig.run (87 * 512);

    auto& fifoA = rig.processor.analyzerThread.fifoA;
    ASSERT_EQ (fifoA.getFreeSpace(), 67);

    auto block = rig.makeBlock (512);

    for (int i = 0; i < 512; ++i)
        block.setSample (0, i, (float) (i + 1) / 1024.0f);

    const auto input = block;
    rig.process (block);

    // The path itself is not held up: A plays whole.
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ (block.getSample (0, i), input.getSample (0, i)) << i;

    EXPECT_EQ (fifoA.getNumReady(), 44611);
    EXPECT_EQ (rig.processor.analyzerThread.fifoB.getNumReady(), 44611);

    // Past the 87 whole blocks lie the first 67 frames of the last one.
    {
        const auto skipped = fifoA.read (87 * 512);
        ASSERT_EQ (skipped.blockSize1 + skipped.blockSize2, 87 * 512);
    }

    const auto rest = fifoA.read (67);
    ASSERT_EQ (rest.blockSize1, 67);

    for (int i = 0; i < 67; ++i)
        ASSERT_EQ (rig.processor.analyzerThread.fifoBufferA.getSample (0, rest.startIndex1 + i), (float) (i + 1) / 1024.0f) << i;
}

TEST (AudioPathChunking, AChunkLongerThanTheWorkBuffersPassesThroughAndEndsTheFade)
{
    UnmatchedRig rig (44100.0, 256);
    rig.process (256);

    rig.playB();
    auto tooLong = rig.makeBlock (300);
    const auto input = tooLong;
    rig.processor.processChunk (tooLong);

    EXPECT_EQ (rig.processor.crossfadePosition, -1);

    for (int ch = 0; ch < tooLong.getNumChannels(); ++ch)
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ (tooLong.getSample (ch, i), input.getSample (ch, i));
}

TEST (AudioPathChunking, HostBuffersWiderThanThirtyOneChannelsAreProcessedInChunks)
{
    UnmatchedRig rig (44100.0, 64, makeLayout (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::discreteChannels (40)));
    rig.playB();

    auto block = rig.makeBlock (200);
    ASSERT_EQ (block.getNumChannels(), 42);
    block.setSample (3, 150, 0.75f);
    rig.process (block);

    // B's first two channels play, each chunk in its place; B's other channels
    // are left as they were.
    expectConstant (block, 0, bLeft);
    EXPECT_EQ (block.getSample (1, 150), 0.75f);
    block.setSample (1, 150, bRight);
    expectConstant (block, 1, bRight);
    expectConstant (block, 41, bRight);
}

//==============================================================================
TEST (AudioPathCrossfade, TheFirstChunkAfterPreparationNeverFades)
{
    UnmatchedRig rig;
    rig.process (512);

    rig.playB();
    rig.prepare (44100.0, 512);

    const auto block = rig.process (512);
    expectConstant (block, 0, bLeft);
    expectConstant (block, 1, bRight);
    EXPECT_EQ (rig.processor.crossfadePosition, -1);
}

TEST (AudioPathCrossfade, WeightsAt44100HzRiseOverTwoChunksOf512)
{
    UnmatchedRig rig;
    EXPECT_EQ (rig.processor.crossfadeLength, 882);

    const auto steadyA = rig.process (512);
    expectConstant (steadyA, 0, aLeft);

    rig.playB();

    const auto first = rig.process (512);
    expectFade (first, 0, aLeft, bLeft, 1, 882, 512);
    expectFade (first, 1, aRight, bRight, 1, 882, 512);
    EXPECT_FLOAT_EQ (first.getSample (0, 0), aLeft * (881.0f / 882.0f) + bLeft / 882.0f);
    EXPECT_EQ (rig.processor.crossfadePosition, 512);

    const auto second = rig.process (512);
    expectFade (second, 0, aLeft, bLeft, 513, 882, 512);
    EXPECT_LT (second.getSample (0, 368), bLeft);
    expectConstant (second, 0, bLeft, 369);
    expectConstant (second, 1, bRight, 369);
    EXPECT_EQ (rig.processor.crossfadePosition, -1);

    const auto third = rig.process (512);
    expectConstant (third, 0, bLeft);
    expectConstant (third, 1, bRight);
}

TEST (AudioPathCrossfade, TogglingDiffDuringAFadeRestartsItFromTheSideFadingIn)
{
    UnmatchedRig rig;
    rig.process (512);

    rig.playB();
    rig.process (100);

    // The match gain is still 0, so the difference is A alone; the side that
    // was fading in, the unmatched B, now fades out from its full weight.
    rig.processor.diffMode = true;
    const auto block = rig.process (512);

    expectFade (block, 0, bLeft, aLeft, 1, 882, 512);
    expectFade (block, 1, bRight, aRight, 1, 882, 512);
    EXPECT_EQ (rig.processor.crossfadePosition, 512);
}

TEST (AudioPathCrossfade, ASampleRateBelow100HzTakesAChangeAtTheFirstSample)
{
    UnmatchedRig rig (50.0, 16);
    EXPECT_EQ (rig.processor.crossfadeLength, 1);
    rig.process (16);

    rig.playB();
    const auto block = rig.process (16);

    expectConstant (block, 0, bLeft);
    expectConstant (block, 1, bRight);
    EXPECT_EQ (rig.processor.crossfadePosition, -1);
}

TEST (AudioPathCrossfade, ChangingOnlyTheMatchWhileAPlaysFadesBetweenTwoRenderingsOfA)
{
    UnmatchedRig rig;
    rig.process (512);

    rig.processor.matchB = true;
    const auto block = rig.process (512);

    EXPECT_EQ (rig.processor.crossfadePosition, 512);
    expectFade (block, 0, aLeft, aLeft, 1, 882, 512);
    expectFade (block, 1, aRight, aRight, 1, 882, 512);
}

TEST (AudioPathCrossfade, TheBlindTestPlaysTheHiddenSourceAndFadesWhenItChanges)
{
    UnmatchedRig rig;
    rig.processor.blindTestActive = true;
    rig.processor.blindPlaysA = false;

    // The A button says A, the hidden source says B.
    const auto hiddenB = rig.process (512);
    expectConstant (hiddenB, 0, bLeft);

    rig.processor.blindPlaysA = true;
    const auto fading = rig.process (512);
    expectFade (fading, 0, bLeft, aLeft, 1, 882, 512);

    rig.process (512);
    rig.playB();
    const auto stillA = rig.process (512);
    expectConstant (stillA, 0, aLeft);
}

//==============================================================================
TEST (AudioPathBypass, PowerOffFadesToTheInputThenLeavesTheBufferUntouched)
{
    UnmatchedRig rig;
    rig.playB();
    rig.process (512);

    auto& fifoA = rig.processor.analyzerThread.fifoA;
    auto& fifoB = rig.processor.analyzerThread.fifoB;
    const auto readyA = fifoA.getNumReady();
    const auto readyB = fifoB.getNumReady();

    rig.setSwitch ("onButton", false);
    auto fading = rig.makeBlock (512);
    fading.applyGain (0.5f);
    rig.process (fading);

    // The main input is A, so the fade runs from the B that played to A, both
    // taken from this very block.
    expectFade (fading, 0, 0.5f * bLeft, 0.5f * aLeft, 1, 882, 512);
    expectFade (fading, 1, 0.5f * bRight, 0.5f * aRight, 1, 882, 512);
    expectAllLevels (rig.processor, -120.0f);
    EXPECT_TRUE (rig.processor.bypassed.load());

    rig.process (512);
    EXPECT_EQ (rig.processor.crossfadePosition, -1);

    // Past the fade every channel, B's included, is what the host gave us.
    juce::Random random (42);
    auto noise = rig.makeBlock (512);

    for (int ch = 0; ch < noise.getNumChannels(); ++ch)
        for (int i = 0; i < 512; ++i)
            noise.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);

    const auto input = noise;
    rig.process (noise);

    for (int ch = 0; ch < noise.getNumChannels(); ++ch)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ (noise.getSample (ch, i), input.getSample (ch, i)) << ch << ", " << i;

    expectAllLevels (rig.processor, -120.0f);
    EXPECT_EQ (fifoA.getNumReady(), readyA);
    EXPECT_EQ (fifoB.getNumReady(), readyB);
}

TEST (AudioPathBypass, PowerOnFadesFromTheInputBack)
{
    UnmatchedRig rig;
    rig.playB();
    rig.setSwitch ("onButton", false);
    rig.process (512);

    rig.setSwitch ("onButton", true);
    const auto block = rig.process (512);

    expectFade (block, 0, aLeft, bLeft, 1, 882, 512);
    expectFade (block, 1, aRight, bRight, 1, 882, 512);
    EXPECT_FALSE (rig.processor.bypassed.load());
    EXPECT_FLOAT_EQ (rig.processor.levelA[0].load(), levelForPeak (aLeft));
}

TEST (AudioPathBypass, ChangesWhileBypassedFadeBetweenTwoCopiesOfTheInput)
{
    AudioPathRig rig;
    rig.setSwitch ("onButton", false);
    rig.process (512);

    const auto readyA = rig.processor.analyzerThread.fifoA.getNumReady();

    rig.playB();
    rig.processor.diffMode = true;
    const auto block = rig.process (512);

    EXPECT_EQ (rig.processor.crossfadePosition, 512);
    expectFade (block, 0, aLeft, aLeft, 1, 882, 512);
    expectFade (block, 1, aRight, aRight, 1, 882, 512);
    expectConstant (block, 2, bLeft);
    expectConstant (block, 3, bRight);
    expectAllLevels (rig.processor, -120.0f);
    EXPECT_EQ (rig.processor.analyzerThread.fifoA.getNumReady(), readyA);
}

//==============================================================================
TEST (AudioPathLayouts, MonoInputAFeedsBothChannelsAndBStartsAtChannelOne)
{
    UnmatchedRig rig (44100.0, 512, makeLayout (juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo()));

    EXPECT_EQ (rig.processor.numInputChannels.load(), 3);
    EXPECT_EQ (rig.processor.numOutputChannels.load(), 1);

    auto block = rig.makeBlock (512);
    ASSERT_EQ (block.getNumChannels(), 3);
    rig.process (block);

    expectConstant (block, 0, aLeft);
    EXPECT_FLOAT_EQ (rig.processor.levelA[0].load(), levelForPeak (aLeft));
    EXPECT_FLOAT_EQ (rig.processor.levelA[1].load(), levelForPeak (aLeft));

    for (int i = 0; i < 512; ++i)
        ASSERT_EQ (rig.processor.analyzerThread.fifoBufferA.getSample (1, i), aLeft);
}

TEST (AudioPathLayouts, MonoOutputWritesOnlyChannelZero)
{
    UnmatchedRig rig (44100.0, 512, makeLayout (juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo()));
    rig.publishA (-20.0f, -20.0f, true);
    rig.publishB (-20.0f, -20.0f, true);
    rig.playB();

    // B alone gives B's first channel.
    auto bAlone = rig.makeBlock (512);
    rig.process (bAlone);
    expectConstant (bAlone, 0, bLeft);
    expectConstant (bAlone, 1, bLeft);
    expectConstant (bAlone, 2, bRight);

    // Both channels of each source are still measured.
    EXPECT_FLOAT_EQ (rig.processor.levelB[0].load(), levelForPeak (bLeft));
    EXPECT_FLOAT_EQ (rig.processor.levelB[1].load(), levelForPeak (bRight));

    // DIFF, once the match gain has settled at 0 dB, gives A minus B's first channel.
    rig.processor.matchB = true;
    rig.processor.diffMode = true;
    rig.run (44100);

    auto difference = rig.makeBlock (512);
    rig.process (difference);
    expectConstant (difference, 0, aLeft - bLeft);
    expectConstant (difference, 2, bRight);
}

TEST (AudioPathLayouts, WithoutInputBTheBSidePlaysSilence)
{
    UnmatchedRig rig (44100.0, 512, makeLayout (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::disabled()));
    EXPECT_EQ (rig.processor.numInputChannels.load(), 2);
    EXPECT_FALSE (rig.processor.isInputBConnected());

    rig.publishA (-20.0f, -21.0f, true);
    rig.publishB (-30.0f, -31.0f, true);
    rig.playB();

    const auto silent = rig.process (512);
    expectConstant (silent, 0, 0.0f);
    expectConstant (silent, 1, 0.0f);

    // B's copies keep their last values and nothing goes into B's FIFO, but
    // the activity flag still follows the analyser thread.
    EXPECT_EQ (rig.processor.momentaryB.load(), -100.0f);
    EXPECT_EQ (rig.processor.shortTermB.load(), -100.0f);
    EXPECT_EQ (rig.processor.shortTermA.load(), -21.0f);
    EXPECT_TRUE (rig.processor.bActive.load());
    EXPECT_EQ (rig.processor.analyzerThread.fifoB.getNumReady(), 0);
    EXPECT_EQ (rig.processor.analyzerThread.fifoA.getNumReady(), 512);

    rig.processor.diffMode = true;
    rig.run (2048);
    const auto difference = rig.process (512);
    expectConstant (difference, 0, aLeft);
    expectConstant (difference, 1, aRight);
}

TEST (AudioPathLayouts, ChannelCountsFollowTheLayoutEveryChunk)
{
    AudioPathRig rig;
    EXPECT_TRUE (rig.processor.isInputBConnected());

    rig.processor.numInputChannels = 0;
    rig.processor.numOutputChannels = 0;
    rig.processor.numMainInputChannels = 0;
    rig.process (16);

    EXPECT_EQ (rig.processor.numInputChannels.load(), 4);
    EXPECT_EQ (rig.processor.numOutputChannels.load(), 2);
    EXPECT_EQ (rig.processor.numMainInputChannels.load(), 2);
}

//==============================================================================
TEST (AudioPathMatch, BIsSilentUntilBothSourcesCarryAudioThenRisesOverHalfASecond)
{
    AudioPathRig rig;
    rig.playB();

    rig.publishA (-20.0f, -20.0f, true);
    const auto onlyA = rig.process (512);
    expectConstant (onlyA, 0, 0.0f);

    rig.publishA (-20.0f, -20.0f, false);
    rig.publishB (-26.0f, -26.0f, true);
    const auto onlyB = rig.process (512);
    expectConstant (onlyB, 0, 0.0f);
    EXPECT_EQ (rig.processor.matchGainDb.load(), 1.0f);

    rig.publishA (-20.0f, -20.0f, true);

    // 22050 samples at 44.1 kHz: the gain rises in equal steps from 0.
    const auto target = gainForDb (6.0f);
    const auto rampLength = 22050;
    juce::AudioBuffer<float> output (1, 46 * 512);

    for (int done = 0; done < output.getNumSamples(); done += 512)
    {
        const auto block = rig.process (512);
        output.copyFrom (0, done, block, 0, 0, 512);
    }

    EXPECT_FLOAT_EQ (rig.processor.matchGainDb.load(), 6.0f);

    // The ramp adds its step sample by sample, so float rounding piles up a little.
    for (int k = 0; k < rampLength - 1; k += 97)
        ASSERT_NEAR (output.getSample (0, k), bLeft * target * (float) (k + 1) / (float) rampLength, 1.0e-4f) << k;

    EXPECT_LT (output.getSample (0, rampLength - 2), bLeft * target);

    for (int k = rampLength - 1; k < output.getNumSamples(); ++k)
        ASSERT_FLOAT_EQ (output.getSample (0, k), bLeft * target) << k;
}

TEST (AudioPathMatch, DifferencesBeyondThirtyDecibelsAreLimited)
{
    AudioPathRig rig;
    rig.playB();

    rig.publishDifference (40.0f);
    rig.process (512);
    EXPECT_EQ (rig.processor.matchGainDb.load(), 30.0f);
    EXPECT_NEAR (rig.processor.matchGain.getGainLinear(), 31.6228f, 1.0e-3f);

    rig.run (22050);
    const auto loud = rig.process (512);
    EXPECT_NEAR (loud.getSample (0, 100), bLeft * 31.6228f, 1.0e-3f);

    rig.publishDifference (-45.0f);
    rig.process (512);
    EXPECT_EQ (rig.processor.matchGainDb.load(), -30.0f);
    EXPECT_NEAR (rig.processor.matchGain.getGainLinear(), 1.0f / 31.6228f, 1.0e-6f);
}

TEST (AudioPathMatch, NonFiniteLoudnessLeavesTheGainAsItWas)
{
    AudioPathRig rig;
    rig.playB();
    rig.publishDifference (6.0f);
    rig.run (22050);

    const auto gainBefore = rig.processor.matchGain.getGainLinear();
    ASSERT_NEAR (gainBefore, gainForDb (6.0f), 1.0e-5f);

    const std::pair<float, float> shortTerms[] { { notANumber, -20.0f }, { -20.0f, -infinity }, { infinity, -20.0f }, { -infinity, -infinity } };

    for (const auto& [shortTermA, shortTermB] : shortTerms)
    {
        rig.publishA (-20.0f, shortTermA, true);
        rig.publishB (-20.0f, shortTermB, true);
        rig.process (512);

        EXPECT_FLOAT_EQ (rig.processor.matchGainDb.load(), 6.0f) << shortTermA << " " << shortTermB;
        EXPECT_EQ (rig.processor.matchGain.getGainLinear(), gainBefore);
    }

    const float momentaries[] { notANumber, -infinity };

    for (auto momentary : momentaries)
    {
        rig.publishA (momentary, -10.0f, true);
        rig.publishB (-20.0f, -20.0f, true);
        rig.process (512);

        EXPECT_FLOAT_EQ (rig.processor.matchGainDb.load(), 6.0f);
        EXPECT_EQ (rig.processor.matchGain.getGainLinear(), gainBefore);
    }

    const auto block = rig.process (512);
    expectConstant (block, 0, bLeft * gainBefore);
}

TEST (AudioPathMatch, ANearlyEqualTargetLeavesARunningRampAlone)
{
    AudioPathRig steady;
    AudioPathRig nudged;

    for (auto* rig : { &steady, &nudged })
    {
        rig->playB();
        rig->publishDifference (6.0f);
        rig->run (4096);
    }

    // Find a loudness difference whose gain is one step of float away from
    // the target: approximately equal, but not equal.
    const auto target = nudged.processor.matchGain.getGainLinear();
    const auto neighbour = std::nextafter (target, 10.0f);
    auto difference = 6.0f;

    while (matchGainDbToLinear (difference) <= target)
        difference = std::nextafter (difference, 10.0f);

    ASSERT_EQ (matchGainDbToLinear (difference), neighbour);

    nudged.publishA (-20.0f, difference, true);
    nudged.publishB (-20.0f, 0.0f, true);

    for (int block = 0; block < 8; ++block)
    {
        const auto a = steady.process (512);
        const auto b = nudged.process (512);

        for (int i = 0; i < 512; ++i)
            ASSERT_EQ (a.getSample (0, i), b.getSample (0, i)) << block << ", " << i;
    }

    // A clearly different target does restart the ramp.
    nudged.publishDifference (6.5f);
    const auto a = steady.process (512);
    const auto b = nudged.process (512);
    EXPECT_NE (a.getSample (0, 511), b.getSample (0, 511));
}

TEST (AudioPathMatch, MatchBOffFadesFromTheGainedToTheRawBAndOnBack)
{
    AudioPathRig rig;
    rig.playB();
    rig.publishDifference (6.0f);
    rig.run (22050 + 512);

    const auto gain = rig.processor.matchGain.getGainLinear();
    ASSERT_NEAR (gain, gainForDb (6.0f), 1.0e-5f);

    rig.processor.matchB = false;
    const auto off = rig.process (512);
    expectFade (off, 0, bLeft * gain, bLeft, 1, 882, 512);
    expectFade (off, 1, bRight * gain, bRight, 1, 882, 512);

    rig.run (1024);
    rig.processor.matchB = true;
    const auto on = rig.process (512);
    expectFade (on, 0, bLeft, bLeft * gain, 1, 882, 512);
}

TEST (AudioPathMatch, DiffWithoutMatchBKeepsTheLastGainWithoutUpdatingIt)
{
    AudioPathRig rig;
    rig.publishDifference (6.0f);
    rig.run (22050 + 512);
    const auto gain = rig.processor.matchGain.getGainLinear();

    rig.processor.matchB = false;
    rig.processor.diffMode = true;
    rig.publishDifference (12.0f);
    rig.run (2048);

    EXPECT_FLOAT_EQ (rig.processor.matchGainDb.load(), 6.0f);
    const auto block = rig.process (512);
    expectConstant (block, 0, aLeft - bLeft * gain);
}

TEST (AudioPathMatch, ANewTargetIsApproachedFromTheGainReachedSoFar)
{
    AudioPathRig rig;
    rig.playB();
    rig.publishDifference (6.0f);
    rig.run (22 * 512);

    // Halfway up to +6 dB, B turns out to be louder: the ramp turns towards
    // -6 dB from where it is, again over 22050 samples.
    const auto rampLength = 22050;
    const auto reached = gainForDb (6.0f) * (float) (22 * 512) / (float) rampLength;
    const auto target = gainForDb (-6.0f);
    rig.publishDifference (-6.0f);

    juce::AudioBuffer<float> output (1, 44 * 512);

    for (int done = 0; done < output.getNumSamples(); done += 512)
    {
        const auto block = rig.process (512);
        output.copyFrom (0, done, block, 0, 0, 512);
    }

    EXPECT_EQ (rig.processor.matchGainDb.load(), -6.0f);

    // The ramp adds a small step to a gain near 1 thousands of times; float
    // rounding piles up to a few parts in ten thousand.
    for (int k = 0; k < rampLength - 1; k += 97)
        ASSERT_NEAR (output.getSample (0, k), bLeft * (reached + (target - reached) * (float) (k + 1) / (float) rampLength), 1.0e-3f) << k;

    for (int k = rampLength - 1; k < output.getNumSamples(); ++k)
        ASSERT_FLOAT_EQ (output.getSample (0, k), bLeft * target) << k;
}

TEST (AudioPathMatch, TheRampPausesWhileTheGainIsNotAppliedAndGoesOnWhereItStopped)
{
    AudioPathRig rig;
    rig.playB();
    rig.publishDifference (6.0f);
    rig.process (512);

    // Power off. The 882 frames of the fade out of the matched B still carry
    // the gain, and the rest of the chunk in which it ends does not: the
    // bypassed frames after the fade neither move the ramp nor update the
    // match, whatever the analyser says.
    rig.setSwitch ("onButton", false);
    rig.publishDifference (12.0f);
    rig.run (12 * 512);
    ASSERT_EQ (rig.processor.crossfadePosition, -1);
    EXPECT_EQ (rig.processor.matchGainDb.load(), 6.0f);

    // Power on with the loudness as it was: two more chunks of fade, then B alone.
    rig.publishDifference (6.0f);
    rig.setSwitch ("onButton", true);
    rig.run (2 * 512);
    ASSERT_EQ (rig.processor.crossfadePosition, -1);

    // 512 samples before, 882 fading out, 1024 fading in: 2418 of the ramp's 22050.
    const auto target = gainForDb (6.0f);
    const auto block = rig.process (512);

    for (int k = 0; k < 512; ++k)
        ASSERT_NEAR (block.getSample (0, k), bLeft * target * (float) (2418 + k + 1) / 22050.0f, 1.0e-4f) << k;
}

TEST (AudioPathMatch, PreparingAgainKeepsTheReadingsAndPutsTheTargetGainInForce)
{
    // Hosts prepare again at a new rate and block size, and just as often at
    // the same ones (on every transport start, for instance).
    const std::pair<double, int> preparations[] { { 48000.0, 256 }, { 44100.0, 512 } };

    for (const auto& [sampleRate, blockSize] : preparations)
    {
        SCOPED_TRACE (juce::String (sampleRate) + " Hz, " + juce::String (blockSize));

        AudioPathRig rig;
        rig.playB();
        rig.publishDifference (6.0f);
        rig.run (8 * 512);

        const auto levelB = rig.processor.levelB[0].load();
        EXPECT_FLOAT_EQ (levelB, levelForPeak (bLeft) + 6.0f);

        rig.prepare (sampleRate, blockSize);

        EXPECT_EQ (rig.processor.matchGainDb.load(), 6.0f);
        EXPECT_EQ (rig.processor.levelB[0].load(), levelB);
        EXPECT_EQ (rig.processor.shortTermA.load(), -20.0f);
        EXPECT_EQ (rig.processor.shortTermB.load(), -26.0f);
        EXPECT_TRUE (rig.processor.bActive.load());

        // The ramp was a fifth of the way up; now the whole gain applies at once.
        const auto block = rig.process (blockSize);

        for (int k = 0; k < blockSize; ++k)
            ASSERT_FLOAT_EQ (block.getSample (0, k), bLeft * gainForDb (6.0f)) << k;
    }
}

TEST (AudioPathMatch, AStopInRealTimeLeavesTheMatchItsRampAndARunningFadeAsTheyWere)
{
    // Hosts stop processing at every transport stop; only an offline render
    // starts afresh after one.
    for (const auto fadeUnderWay : { false, true })
    {
        AudioPathRig played, stopped;

        for (auto* rig : { &played, &stopped })
        {
            rig->playB();
            rig->publishDifference (6.0f);
            rig->run (8 * 512);

            if (fadeUnderWay)
            {
                rig->playA();
                rig->process (100);
            }
        }

        stopped.processor.reset();

        const auto expected = played.process (512);
        const auto block = stopped.process (512);

        for (int k = 0; k < 512; ++k)
            ASSERT_EQ (block.getSample (0, k), expected.getSample (0, k)) << k << (fadeUnderWay ? ", a fade under way" : "");
    }
}

//==============================================================================
TEST (AudioPathLevels, LevelBAddsTheMatchGainOnlyWithMatchB)
{
    AudioPathRig rig;
    rig.publishA (-20.0f, -20.0f, false);
    rig.publishB (-20.0f, -20.0f, true);
    rig.process (512);

    // Before the first match the gain in dB is 1.
    EXPECT_FLOAT_EQ (rig.processor.levelA[0].load(), levelForPeak (aLeft));
    EXPECT_FLOAT_EQ (rig.processor.levelA[1].load(), levelForPeak (aRight));
    EXPECT_FLOAT_EQ (rig.processor.levelB[0].load(), levelForPeak (bLeft) + 1.0f);
    EXPECT_FLOAT_EQ (rig.processor.levelB[1].load(), levelForPeak (bRight) + 1.0f);

    rig.publishDifference (-4.0f);
    rig.process (512);
    EXPECT_FLOAT_EQ (rig.processor.levelB[0].load(), levelForPeak (bLeft) - 4.0f);

    rig.processor.matchB = false;
    rig.processor.diffMode = true;
    rig.process (512);
    EXPECT_FLOAT_EQ (rig.processor.levelB[0].load(), levelForPeak (bLeft));
    EXPECT_FLOAT_EQ (rig.processor.levelB[1].load(), levelForPeak (bRight));

    rig.publishB (-20.0f, -20.0f, false);
    rig.process (512);
    EXPECT_EQ (rig.processor.levelB[0].load(), -120.0f);
    EXPECT_EQ (rig.processor.levelB[1].load(), -120.0f);
    EXPECT_FLOAT_EQ (rig.processor.levelA[0].load(), levelForPeak (aLeft));
}

//==============================================================================
namespace
{
    /** A stereo sine for both channels of one source, at a known phase. */
    void fillSine (juce::AudioBuffer<float>& block, int firstChannel, float amplitude, int64_t phase)
    {
        for (int i = 0; i < block.getNumSamples(); ++i)
        {
            const auto value = amplitude * (float) std::sin (2.0 * juce::MathConstants<double>::pi * 997.0 * (double) (phase + i) / 48000.0);
            block.setSample (firstChannel, i, value);
            block.setSample (firstChannel + 1, i, value);
        }
    }

    struct MeasuredRig : AudioPathRig
    {
        explicit MeasuredRig (int blockSize = 480)
            : AudioPathRig (48000.0, blockSize)
        {
        }

        /** One block of sines, B 6 dB below A, then the analyser catches up. */
        juce::AudioBuffer<float> processSines (std::function<void (juce::AudioBuffer<float>&)> spoil = {})
        {
            auto block = makeBlock (480);
            fillSine (block, 0, 0.2f, phase);
            fillSine (block, 2, 0.1f, phase);
            phase += block.getNumSamples();

            if (spoil)
                spoil (block);

            process (block);
            processor.analyzerThread.analyseWaitingBlocks();
            return block;
        }

        void runSines (double seconds)
        {
            for (int i = 0; i < (int) (seconds * 100.0); ++i)
                processSines();
        }

        int64_t phase = 0;
    };
} // namespace

TEST (AudioPathBadInput, ABurstOfNaNAndInfinityDoesNoLastingDamage)
{
    MeasuredRig rig;
    rig.runSines (4.0);

    const auto shortTermA = rig.processor.shortTermA.load();
    const auto shortTermB = rig.processor.shortTermB.load();
    ASSERT_TRUE (std::isfinite (shortTermA));
    ASSERT_NEAR (rig.processor.matchGainDb.load(), 6.02f, 0.05f);

    // 20 ms of NaN and infinities on both sources.
    for (int burst = 0; burst < 2; ++burst)
    {
        const auto block = rig.processSines ([] (juce::AudioBuffer<float>& b)
                                             {
            for (int i = 0; i < b.getNumSamples(); i += 3)
            {
                b.setSample (0, i, notANumber);
                b.setSample (1, i, infinity);
                b.setSample (2, i, -infinity);
                b.setSample (3, i, notANumber);
            } });

        // Where the input plays, the bad samples play too.
        EXPECT_TRUE (std::isnan (block.getSample (0, 0)));
        EXPECT_TRUE (std::isinf (block.getSample (1, 0)));

        EXPECT_EQ (rig.processor.levelA[0].load(), -120.0f);
        EXPECT_EQ (rig.processor.levelA[1].load(), 10.0f);
        EXPECT_EQ (rig.processor.levelB[0].load(), 10.0f);
        EXPECT_EQ (rig.processor.levelB[1].load(), -120.0f);
    }

    // The burst leaves the 3 s window; nothing along the way is spoilt.
    for (int i = 0; i < 400; ++i)
    {
        rig.processSines();

        ASSERT_TRUE (std::isfinite (rig.processor.matchGainDb.load())) << i;
        ASSERT_TRUE (std::isfinite (rig.processor.matchGain.getGainLinear())) << i;
        ASSERT_TRUE (std::isfinite (rig.processor.momentaryA.load())) << i;
        ASSERT_TRUE (std::isfinite (rig.processor.shortTermB.load())) << i;

        for (int ch = 0; ch < 2; ++ch)
        {
            ASSERT_GE (rig.processor.levelA[ch].load(), -120.0f);
            ASSERT_LE (rig.processor.levelB[ch].load(), 10.0f);
        }
    }

    EXPECT_NEAR (rig.processor.shortTermA.load(), shortTermA, 0.01f);
    EXPECT_NEAR (rig.processor.shortTermB.load(), shortTermB, 0.01f);
    EXPECT_NEAR (rig.processor.matchGainDb.load(), 6.02f, 0.05f);
    EXPECT_NEAR (rig.processor.matchGain.getGainLinear(), gainForDb (6.02f), 0.01f);

    EXPECT_NEAR (rig.processor.levelA[0].load(), levelForPeak (0.2f), 0.01f);

    // And the matched B is heard at A's level again.
    rig.playB();

    for (int i = 0; i < 4; ++i)
        rig.processSines();

    const auto matchedB = rig.processSines();
    EXPECT_NEAR (matchedB.getMagnitude (0, 0, 480), 0.2f, 0.005f);
}

TEST (AudioPathOddHosts, BlockSizesBelowOneArePreparedAsOneFrame)
{
    for (const auto blockSize : { 0, -1, -512 })
    {
        std::optional<MeasuredRig> rig;
        ASSERT_NO_THROW (rig.emplace (blockSize)) << blockSize;
        rig->playB();
        rig->runSines (4.0);

        // Both sources reached the analyser, and B plays brought up to A.
        EXPECT_NEAR (rig->processor.matchGainDb.load(), 6.02f, 0.05f) << blockSize;
        EXPECT_NEAR (rig->processSines().getMagnitude (0, 0, 480), 0.2f, 0.005f) << blockSize;
    }
}

TEST (AudioPathOddHosts, ARampOverAHugeBlockFitsASmallStackAndMatchesSmallBlocks)
{
    constexpr int hugeBlock = 262144;

    /** B playing while its match gain ramps, through one host block of hugeBlock frames. */
    struct RampRender : juce::Thread
    {
        // Hosts on macOS render offline on threads with stacks of 512 KiB.
        explicit RampRender (int blockSizeToPrepare)
            : juce::Thread ("Offline render", 512 * 1024)
            , preparedBlockSize (blockSizeToPrepare)
        {
        }

        void run() override
        {
            AudioPathRig rig (44100.0, preparedBlockSize);
            rig.playB();
            rig.publishDifference (6.0f);
            output = rig.process (hugeBlock);
        }

        int preparedBlockSize;
        juce::AudioBuffer<float> output;
    };

    RampRender huge (hugeBlock), inSmallBlocks (512);
    ASSERT_TRUE (huge.startThread());
    huge.waitForThreadToExit (-1);
    inSmallBlocks.run();

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < hugeBlock; ++i)
            ASSERT_EQ (huge.output.getSample (ch, i), inSmallBlocks.output.getSample (ch, i)) << ch << ", " << i;
}
