#include "TestSupport.h"
#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <pthread.h>

namespace
{
    using TestSupport::makeLayout;

    void disableInputB (QuorvaneAudioProcessor& processor)
    {
        ASSERT_TRUE (processor.getBus (true, 1)->enable (false));
    }
} // namespace

//==============================================================================
TEST (ProcessorLayouts, AcceptsOnlyMatchingMonoOrStereoMainBusesWithAnyInputB)
{
    QuorvaneAudioProcessor processor;
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    const auto surround = juce::AudioChannelSet::create5point1();
    const auto disabled = juce::AudioChannelSet::disabled();

    for (const auto& main : { mono, stereo })
        for (const auto& inputB : { mono, stereo, disabled, surround })
            EXPECT_TRUE (processor.checkBusesLayoutSupported (makeLayout (main, inputB, main)))
                << main.getDescription() << " with Input B " << inputB.getDescription();

    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (mono, stereo, stereo)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (stereo, stereo, mono)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (surround, stereo, surround)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (disabled, stereo, stereo)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (disabled, stereo, mono)));
    EXPECT_FALSE (processor.checkBusesLayoutSupported (makeLayout (stereo, stereo, disabled)));
}

//==============================================================================
struct PreparationCase
{
    double sampleRate;
    int blockSize;
    int crossfadeLength;
    int fifoCapacity;
    int analyserSampleRate;
};

class ProcessorPreparation : public ::testing::TestWithParam<PreparationCase>
{
};

TEST_P (ProcessorPreparation, SizesEverythingFromTheSampleRateAndBlockSize)
{
    const auto expected = GetParam();
    QuorvaneAudioProcessor processor;
    processor.prepareToPlay (expected.sampleRate, expected.blockSize);

    EXPECT_EQ (processor.crossfadeLength, expected.crossfadeLength);
    EXPECT_EQ (processor.crossfadePosition, -1);
    EXPECT_FALSE (processor.configInitialised);
    EXPECT_EQ (processor.processSpec.maximumBlockSize, (juce::uint32) expected.blockSize);

    for (auto* buffer : { &processor.bufferA, &processor.bufferB, &processor.renderBuffer,
                          &processor.rawBufferB, &processor.dryBuffer, &processor.fadeOutBuffer })
    {
        EXPECT_EQ (buffer->getNumChannels(), 2);
        EXPECT_EQ (buffer->getNumSamples(), expected.blockSize);
    }

    auto& thread = processor.analyzerThread;
    EXPECT_TRUE (thread.isThreadRunning());
    EXPECT_EQ (thread.blockSize, expected.blockSize);
    EXPECT_EQ (thread.fifoA.getTotalSize(), expected.fifoCapacity);
    EXPECT_EQ (thread.fifoB.getTotalSize(), expected.fifoCapacity);
    EXPECT_EQ (thread.fifoBufferA.getNumSamples(), expected.fifoCapacity);
    EXPECT_EQ (thread.fifoBufferB.getNumChannels(), 2);
    EXPECT_EQ (thread.readBuffer.getNumSamples(), expected.blockSize);

    for (auto* analyzer : { thread.analyzerA.get(), thread.analyzerB.get() })
    {
        ASSERT_NE (analyzer, nullptr);
        EXPECT_EQ (analyzer->getNumChannels(), 2);
        EXPECT_EQ (analyzer->getSampleRate(), expected.analyserSampleRate);
        EXPECT_EQ (analyzer->getBlockSize(), expected.blockSize);
    }
}

INSTANTIATE_TEST_SUITE_P (Rates, ProcessorPreparation,
                          ::testing::Values (PreparationCase { 44100.0, 512, 882, 44612, 44100 },
                                             PreparationCase { 48000.0, 256, 960, 48256, 48000 },
                                             PreparationCase { 44100.9, 512, 882, 44612, 44100 },
                                             PreparationCase { 50.0, 64, 1, 114, 50 }));

TEST (ProcessorPreparationState, CountsTheChannelsOfTheEnabledBuses)
{
    QuorvaneAudioProcessor processor;
    EXPECT_EQ (processor.numInputChannels.load(), 4);
    EXPECT_EQ (processor.numOutputChannels.load(), 2);
    EXPECT_TRUE (processor.isInputBConnected());

    processor.prepareToPlay (48000.0, 256);
    EXPECT_EQ (processor.numInputChannels.load(), 4);
    EXPECT_EQ (processor.numOutputChannels.load(), 2);
    EXPECT_TRUE (processor.isInputBConnected());

    disableInputB (processor);
    processor.prepareToPlay (48000.0, 256);
    EXPECT_EQ (processor.numInputChannels.load(), 2);
    EXPECT_EQ (processor.numOutputChannels.load(), 2);
    EXPECT_FALSE (processor.isInputBConnected());
}

TEST (ProcessorPreparationState, RePreparationRestartsTheAnalysersButKeepsPublishedValues)
{
    QuorvaneAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);

    auto& thread = processor.analyzerThread;
    const auto* firstAnalyzer = thread.analyzerA.get();
    thread.lufsShortTermA.store (-18.0f);

    processor.prepareToPlay (44100.0, 128);

    EXPECT_NE (thread.analyzerA.get(), firstAnalyzer);
    EXPECT_EQ (thread.analyzerA->getSampleRate(), 44100);
    EXPECT_EQ (thread.analyzerA->getBlockSize(), 128);
    EXPECT_FLOAT_EQ (thread.lufsShortTermA.load(), -18.0f);
    EXPECT_TRUE (thread.isThreadRunning());
}

//==============================================================================
TEST (ProcessorIdentity, GivesTheFixedAnswers)
{
    QuorvaneAudioProcessor processor;

    EXPECT_EQ (processor.getName(), "Quorvane");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getLatencySamples(), 0);

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");
    processor.setCurrentProgram (5);
    processor.changeProgramName (0, "Renamed");
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");
}

TEST (ProcessorIdentity, StartsWithTheDocumentedFieldValues)
{
    QuorvaneAudioProcessor processor;

    EXPECT_TRUE (processor.matchB.load());
    EXPECT_FALSE (processor.diffMode.load());
    EXPECT_FALSE (processor.blindTestActive.load());
    EXPECT_TRUE (processor.blindPlaysA.load());
    EXPECT_TRUE (processor.aSelected.load());
    EXPECT_FALSE (processor.bypassed.load());
    EXPECT_FALSE (processor.aActive.load());
    EXPECT_FALSE (processor.bActive.load());
    EXPECT_FLOAT_EQ (processor.shortTermA.load(), -100.0f);
    EXPECT_FLOAT_EQ (processor.momentaryB.load(), -100.0f);
    EXPECT_FLOAT_EQ (processor.matchGainDb.load(), 1.0f);
    EXPECT_EQ (processor.crossfadeLength, 882);
    EXPECT_EQ (processor.crossfadePosition, -1);
    EXPECT_FALSE (processor.analyzerThread.isThreadRunning());
    EXPECT_EQ (processor.bufferA.getNumChannels(), 0);
    EXPECT_EQ (processor.analyzerThread.analyzerA, nullptr);

    // Nothing has been measured yet, for either source.
    const auto& thread = processor.analyzerThread;
    EXPECT_EQ (thread.lufsMomentaryA.load(), -70.0f);
    EXPECT_EQ (thread.lufsShortTermA.load(), -70.0f);
    EXPECT_FALSE (thread.audioActiveA.load());
    EXPECT_EQ (thread.lufsMomentaryB.load(), -70.0f);
    EXPECT_EQ (thread.lufsShortTermB.load(), -70.0f);
    EXPECT_FALSE (thread.audioActiveB.load());
}

TEST (ProcessorIdentity, ExposesTheThreeSwitchParametersWithTheirDefaults)
{
    QuorvaneAudioProcessor processor;

    struct Expected
    {
        const char* id;
        const char* name;
        bool defaultOn;
    };

    for (const auto& expected : { Expected { "onButton", "on Button", true },
                                  Expected { "AButton", "A Button", true },
                                  Expected { "BButton", "B Button", false } })
    {
        auto* parameter = dynamic_cast<juce::AudioParameterBool*> (processor.parameters.getParameter (expected.id));
        ASSERT_NE (parameter, nullptr) << expected.id;
        EXPECT_EQ (parameter->getName (64), expected.name);
        EXPECT_EQ (parameter->get(), expected.defaultOn);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_TRUE (parameter->isAutomatable());
    }

    EXPECT_EQ (processor.parameters.state.getType().toString(), "Parameters");
    EXPECT_EQ (processor.getParameters().size(), 3);
}

TEST (ProcessorState, SavesNothingAndIgnoresWhatItIsGiven)
{
    QuorvaneAudioProcessor processor;
    processor.matchB = false;
    processor.diffMode = true;

    juce::MemoryBlock state;
    processor.getStateInformation (state);
    EXPECT_EQ (state.getSize(), (size_t) 0);

    const char garbage[] = "not a state at all";
    processor.setStateInformation (garbage, (int) sizeof (garbage));
    processor.setStateInformation (nullptr, 0);

    EXPECT_FALSE (processor.matchB.load());
    EXPECT_TRUE (processor.diffMode.load());
    EXPECT_TRUE (*processor.parameters.getRawParameterValue ("onButton") > 0.5f);
}

//==============================================================================
TEST (ProcessorLifetime, ReleaseKeepsEverythingPrepared)
{
    QuorvaneAudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);
    processor.releaseResources();

    EXPECT_TRUE (processor.analyzerThread.isThreadRunning());
    EXPECT_EQ (processor.bufferA.getNumSamples(), 256);
    EXPECT_NE (processor.analyzerThread.analyzerB, nullptr);

    // And the host may go on processing without preparing again: B, unmatched,
    // is what plays, not the main input passing through.
    processor.matchB = false;
    processor.parameters.getParameter ("AButton")->setValueNotifyingHost (0.0f);

    juce::AudioBuffer<float> block (4, 256);
    const float inputs[] { 0.125f, 0.25f, 0.375f, 0.5f };

    for (int ch = 0; ch < 4; ++ch)
        juce::FloatVectorOperations::fill (block.getWritePointer (ch), inputs[ch], 256);

    juce::MidiBuffer midi;
    processor.processBlock (block, midi);

    for (int i = 0; i < 256; ++i)
    {
        ASSERT_EQ (block.getSample (0, i), 0.375f) << i;
        ASSERT_EQ (block.getSample (1, i), 0.5f) << i;
    }
}

TEST (ProcessorLifetime, GoesWithoutWaitingForAnAbsentOrIdleAnalyserThread)
{
    // Hosts scan plug-ins by creating and destroying them unprepared, and the
    // thread of a processor prepared for an offline render has nothing to do.
    // Going takes microseconds; a wait for the thread would take most of the
    // destructor's second-long time-out.
    for (const auto offline : { false, true })
    {
        auto processor = std::make_unique<QuorvaneAudioProcessor>();

        if (offline)
        {
            processor->setNonRealtime (true);
            processor->prepareToPlay (48000.0, 480);
        }

        const auto start = juce::Time::getMillisecondCounterHiRes();
        processor.reset();
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 250.0) << (offline ? "prepared offline" : "never prepared");
    }
}

//==============================================================================
namespace
{
    constexpr double renderRate = 48000.0;
    constexpr int renderBlockSize = 480;

    // As hosts' exporters hand them over, longer than the prepared block.
    constexpr int hostBlockSize = 1024;

    // The longest host block any test hands over.
    constexpr int largestHostBlock = 2 * 4096;

    /** What a bounce plays: A's or B's sample at a frame of its audio, and how
        many frames.
    */
    struct BounceAudio
    {
        float (*sample) (bool isB, int frame);
        int numFrames;
    };

    /** 5 s of A, a 1 kHz sine, and a quieter B, a 300 Hz sine. */
    constexpr BounceAudio twoTones { [] (bool isB, int frame)
                                     {
                                         const auto phase = juce::MathConstants<double>::twoPi * frame / renderRate;
                                         return isB ? 0.1f * (float) std::sin (300.0 * phase)
                                                    : 0.25f * (float) std::sin (1000.0 * phase);
                                     },
                                     5 * 48000 };

    /** What the host has the switches at. */
    struct Switches
    {
        bool powerOn = true;
        bool playA = false;
        bool matchB = true;
        bool diff = false;
    };

    /** Switches that hold from a frame of the audio on. */
    struct SwitchesFrom
    {
        int frame;
        Switches switches;
    };

    void setSwitches (QuorvaneAudioProcessor& processor, const Switches& switches)
    {
        processor.parameters.getParameter ("onButton")->setValueNotifyingHost (switches.powerOn ? 1.0f : 0.0f);
        processor.parameters.getParameter ("AButton")->setValueNotifyingHost (switches.playA ? 1.0f : 0.0f);
        processor.matchB = switches.matchB;
        processor.diffMode = switches.diff;
    }

    /** Host blocks that follow a list of sizes and then repeat its last one. */
    std::function<int()> blocksOf (std::vector<int> sizes)
    {
        return [sizes, next = size_t { 0 }]() mutable
        { return sizes[juce::jmin (next++, sizes.size() - 1)]; };
    }

    /** Renders `silence` silent frames, the first realTimeFrames of them flagged
        real time, and then the audio, flagged offline call by call as hosts do,
        with no new preparation, in the host blocks that nextBlockSize hands out
        one after another. Returns the output from the audio's first frame on.

        The first of `switches`, if any, holds from the first silent frame; each
        later one from its frame of the audio on, where the host ends a block
        and brings the change with the next, as hosts deliver automation.
    */
    juce::AudioBuffer<float> renderBounce (QuorvaneAudioProcessor& processor, const BounceAudio& audio,
                                           const std::function<int()>& nextBlockSize,
                                           int silence = 0, int realTimeFrames = 0,
                                           const std::vector<SwitchesFrom>& switches = {})
    {
        const auto totalFrames = silence + audio.numFrames;
        juce::AudioBuffer<float> output (2, totalFrames);
        juce::AudioBuffer<float> block (4, largestHostBlock);
        juce::MidiBuffer midi;

        if (! switches.empty())
            setSwitches (processor, switches.front().switches);

        auto nextSwitches = switches.begin() + (switches.empty() ? 0 : 1);

        for (int start = 0; start < totalFrames;)
        {
            if (nextSwitches != switches.end() && silence + nextSwitches->frame == start)
                setSwitches (processor, (nextSwitches++)->switches);

            auto size = juce::jmin (nextBlockSize(), totalFrames - start);

            if (nextSwitches != switches.end())
                size = juce::jmin (size, silence + nextSwitches->frame - start);

            juce::AudioBuffer<float> hostBlock (block.getArrayOfWritePointers(), 4, size);

            for (int ch = 0; ch < 4; ++ch)
                for (int i = start; i < start + size; ++i)
                    hostBlock.setSample (ch, i - start, i < silence ? 0.0f : audio.sample (ch >= 2, i - silence));

            processor.setNonRealtime (start >= realTimeFrames);
            processor.processBlock (hostBlock, midi);

            for (int ch = 0; ch < 2; ++ch)
                output.copyFrom (ch, start, hostBlock, ch, 0, size);

            start += size;
        }

        juce::AudioBuffer<float> fromTheAudio (2, audio.numFrames);

        for (int ch = 0; ch < 2; ++ch)
            fromTheAudio.copyFrom (ch, 0, output, ch, silence, audio.numFrames);

        return fromTheAudio;
    }

    /** Whether something the analyser thread does comes true within 10 s. */
    bool eventually (const std::function<bool()>& condition)
    {
        for (int i = 0; i < 1000 && ! condition(); ++i)
            juce::Thread::sleep (10);

        return condition();
    }

    /** Which source plays live before a pass. */
    enum class LiveSelection
    {
        a,
        aThenBInTheLastBlock,
        b
    };

    /** Real-time blocks of noise, B louder than A, until the analyser thread has
        published what it measured of them: whatever an offline pass could inherit.
    */
    void playInRealTime (QuorvaneAudioProcessor& processor, int seed, LiveSelection selection)
    {
        constexpr int numBlocks = 200;
        juce::AudioBuffer<float> block (4, renderBlockSize);
        juce::MidiBuffer midi;
        juce::Random random (seed);
        processor.setNonRealtime (false);

        for (int i = 0; i < numBlocks; ++i)
        {
            const auto aSelected = selection == LiveSelection::a || (selection == LiveSelection::aThenBInTheLastBlock && i < numBlocks - 1);
            processor.parameters.getParameter ("AButton")->setValueNotifyingHost (aSelected ? 1.0f : 0.0f);

            for (int ch = 0; ch < 4; ++ch)
                for (int s = 0; s < renderBlockSize; ++s)
                    block.setSample (ch, s, (random.nextFloat() - 0.5f) * (ch < 2 ? 0.1f : 0.8f));

            processor.processBlock (block, midi);
        }

        // In the offline pass B is the quieter source, so only the thread's
        // measurement of this noise reads B louder.
        auto& analyser = processor.analyzerThread;

        ASSERT_TRUE (eventually ([&analyser]
                                 { return analyser.lufsShortTermB.load() > analyser.lufsShortTermA.load(); }))
            << "the analyser thread measured nothing of the real-time audio";
    }

    /** Holds a thread of this process inside a signal handler until this goes:
        a thread that cannot run at all, whatever the scheduler would do.
    */
    class ThreadHold
    {
    public:
        explicit ThreadHold (const juce::Thread& thread)
        {
            struct sigaction action
            {
            };
            action.sa_handler = hold;
            sigemptyset (&action.sa_mask);
            sigaction (SIGUSR2, &action, &previous);

            held = true;
            pthread_kill ((pthread_t) (juce::pointer_sized_uint) thread.getThreadId(), SIGUSR2);

            for (int i = 0; i < 1000 && ! holding; ++i)
                juce::Thread::sleep (10);
        }

        ~ThreadHold()
        {
            held = false;

            while (holding)
                juce::Thread::sleep (1);

            sigaction (SIGUSR2, &previous, nullptr);
        }

        bool isHolding() const noexcept { return holding; }

    private:
        static void hold (int)
        {
            holding = true;

            // Only what a signal handler may call.
            while (held)
            {
                timespec pause { 0, 1000000 };
                nanosleep (&pause, nullptr);
            }

            holding = false;
        }

        static inline std::atomic<bool> held { false };
        static inline std::atomic<bool> holding { false };
        struct sigaction previous
        {
        };
    };

    bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        for (int ch = 0; ch < 2; ++ch)
            if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;

        return true;
    }
} // namespace

TEST (ProcessorOffline, EveryPassRendersItsOwnAudioAndSwitchesAlone)
{
    // Hosts that prepare for each offline render.
    auto renderFreshlyPrepared = []
    {
        QuorvaneAudioProcessor processor;
        processor.setNonRealtime (true);
        processor.prepareToPlay (renderRate, renderBlockSize);
        processor.parameters.getParameter ("AButton")->setValueNotifyingHost (0.0f);
        return renderBounce (processor, twoTones, blocksOf ({ hostBlockSize }));
    };

    const auto first = renderFreshlyPrepared();
    EXPECT_TRUE (sameSamples (first, renderFreshlyPrepared()));

    // B waits for both sources' first measurement, then ramps up to A's loudness.
    EXPECT_GT (first.getMagnitude (0, 0, 9600), 0.01f) << "B is silent for its first 0.2 s";

    // Hosts that prepare once, in real time, and flag offline call by call: each
    // pass starts afresh, whatever played live before it, however much silence
    // the host rolls before the audio and flags real time, and whatever the
    // analyser thread is doing.
    struct Before
    {
        const char* what;
        LiveSelection selection;
        int silentBlocks = 0;
        int realTimeBlocks = 0;
        bool holdAnalyserThread = false;
    };

    QuorvaneAudioProcessor processor;
    processor.prepareToPlay (renderRate, renderBlockSize);
    auto seed = 1;

    for (const auto& [what, selection, silentBlocks, realTimeBlocks, holdAnalyserThread] :
         { Before { "A played live", LiveSelection::a },
           Before { "a fade from A to B under way", LiveSelection::aThenBInTheLastBlock },
           Before { "the analyser thread cannot run", LiveSelection::b, 0, 0, true },
           Before { "100 silent blocks, the first 2 real time", LiveSelection::b, 100, 2 },
           Before { "100 silent blocks, the first 5 real time", LiveSelection::b, 100, 5 },
           Before { "37 silent blocks, all offline", LiveSelection::b, 37, 0 },
           Before { "37 silent blocks, all real time", LiveSelection::b, 37, 37 } })
    {
        playInRealTime (processor, seed++, selection);
        processor.parameters.getParameter ("AButton")->setValueNotifyingHost (0.0f);

        std::optional<ThreadHold> hold;

        if (holdAnalyserThread)
        {
            hold.emplace (processor.analyzerThread);
            ASSERT_TRUE (hold->isHolding());
        }

        const auto output = renderBounce (processor, twoTones, blocksOf ({ hostBlockSize }),
                                          silentBlocks * hostBlockSize, realTimeBlocks * hostBlockSize);
        EXPECT_TRUE (sameSamples (output, first)) << what;
    }

    EXPECT_TRUE (processor.analyzerThread.isThreadRunning());
}

//==============================================================================
namespace
{
    /** 4 s of A, a 1 kHz sine, and B, the same tone 10 dB lower and out of
        phase with it, so that B matched plays at A's level and DIFF still
        leaves something to hear.
    */
    constexpr BounceAudio toneAndQuieterTone { [] (bool isB, int frame)
                                               {
                                                   const auto phase = juce::MathConstants<double>::twoPi * 1000.0 * frame / renderRate;
                                                   return isB ? 0.25f * juce::Decibels::decibelsToGain (-10.0f) * (float) std::sin (phase + 1.0)
                                                              : 0.25f * (float) std::sin (phase);
                                               },
                                               4 * 48000 };

    /** A processor prepared for an offline render, playing B matched. */
    std::unique_ptr<QuorvaneAudioProcessor> makeBounceProcessor (int preparedBlockSize)
    {
        auto processor = std::make_unique<QuorvaneAudioProcessor>();
        processor->setNonRealtime (true);
        processor->prepareToPlay (renderRate, preparedBlockSize);
        setSwitches (*processor, {});
        return processor;
    }

    constexpr Switches bMatched {};
    constexpr Switches bUnmatched { true, false, false, false };
    constexpr Switches powerOff { false, false, true, false };
    constexpr Switches diffWithMatchB { true, false, true, true };
    constexpr Switches diffWithoutMatchB { true, false, false, true };
} // namespace

TEST (ProcessorOffline, ABounceComesOutTheSameHoweverTheHostCutsItAndWhenItStops)
{
    enum class Stop
    {
        none,
        reset,
        releaseResources
    };

    struct Cutting
    {
        const char* what;
        int silence;
        std::function<int()> blocks;
        Stop stopAfterABounce = Stop::none;
    };

    // Each fade lasts 960 frames: blocks of 512, or a half or one and a half
    // times that, end inside it; blocks of 4096 and their half and one and a
    // half times end beyond it.
    const struct
    {
        const char* what;
        std::vector<SwitchesFrom> switches;
        bool endsBMatched;
    } bounces[] = {
        { "B matched", { { 0, bMatched } }, true },
        { "DIFF", { { 0, diffWithMatchB } }, false },
        { "B matched, power off at 1 s and on at 1.5 s", { { 0, bMatched }, { 48000, powerOff }, { 72000, bMatched } }, true },
        { "B matched, unmatched at 1 s and matched at 1.5 s", { { 0, bMatched }, { 48000, bUnmatched }, { 72000, bMatched } }, true },
        { "B matched, DIFF without MATCH B at 1 s and B matched at 1.5 s",
          { { 0, bMatched }, { 48000, diffWithoutMatchB }, { 72000, bMatched } },
          true },
    };

    for (const auto& [bounce, switches, endsBMatched] : bounces)
    {
        // One reference serves every prepared size too: the host's blocks are
        // as much the host's business as their size.
        const auto reference = renderBounce (*makeBounceProcessor (512), toneAndQuieterTone, blocksOf ({ 512 }), 0, 0, switches);

        for (const auto prepared : { 512, 4096 })
        {
            const Cutting cuttings[] = {
                { "blocks of the prepared size", 0, blocksOf ({ prepared }) },
                { "blocks of half the prepared size", 0, blocksOf ({ prepared / 2 }) },
                { "blocks of one and a half times the prepared size", 0, blocksOf ({ 3 * prepared / 2 }) },
                { "random blocks of 1 to the prepared size", 0,
                  [random = juce::Random (prepared), prepared]() mutable
                  { return 1 + random.nextInt (prepared); } },
                { "the first sound half-way into a block", 3 * prepared + prepared / 2, blocksOf ({ prepared }) },
                { "a pre-roll that ends in two uneven blocks, the second with the first sound", 1000,
                  blocksOf ({ 752, 272, prepared }) },
                { "a bounce, a stop, then this one", 0, blocksOf ({ prepared }), Stop::reset },
                { "a bounce, a release, then this one", 0, blocksOf ({ prepared }), Stop::releaseResources },
            };

            for (const auto& [what, silence, blocks, stopAfterABounce] : cuttings)
            {
                auto processor = makeBounceProcessor (prepared);

                if (stopAfterABounce != Stop::none)
                {
                    renderBounce (*processor, toneAndQuieterTone, blocksOf ({ prepared }), 0, 0, switches);

                    if (stopAfterABounce == Stop::reset)
                        processor->reset();
                    else
                        processor->releaseResources();
                }

                EXPECT_TRUE (sameSamples (renderBounce (*processor, toneAndQuieterTone, blocks, silence, 0, switches), reference))
                    << what << ", prepared for " << prepared << ", " << bounce;
            }
        }

        // B, the same tone 10 dB below A, is brought to A's level.
        if (endsBMatched)
        {
            EXPECT_NEAR (juce::Decibels::gainToDecibels (reference.getRMSLevel (0, toneAndQuieterTone.numFrames - 48000, 48000)),
                         juce::Decibels::gainToDecibels (0.25f / std::sqrt (2.0f)), 0.05f)
                << bounce;
        }
    }
}

TEST (ProcessorOffline, ReadingsCloseEvery100msOfAudioFromTheFirstSoundOfEitherSource)
{
    constexpr int readingFrames = 4800;
    constexpr int numReadings = 5;

    // A grows louder from its first frame on, so that every reading finds a
    // new difference and aims the gain anew. Neither tone is ever exactly 0.
    auto source = [] (bool isB, int frame)
    {
        const auto phase = juce::MathConstants<double>::twoPi * 1000.0 * frame / renderRate;
        return isB ? 0.1f * (float) std::sin (phase + 1.0)
                   : 0.25f * (0.5f + (float) frame / 48000.0f) * (float) std::sin (phase + 0.5);
    };

    const struct
    {
        const char* what;
        int firstOfA;
        int firstOfB;
    } starts[] = {
        { "both sources together, 1000 frames into the bounce", 1000, 1000 },
        { "B 1000 frames before A", 2000, 1000 },
        { "A 1000 frames before B", 1000, 2000 },
    };

    for (const auto& [what, firstOfA, firstOfB] : starts)
    {
        const auto firstSound = juce::jmin (firstOfA, firstOfB);
        const auto numFrames = firstSound + numReadings * readingFrames + readingFrames / 2;

        // A host that hands over one frame at a time shows each frame's target.
        auto processor = makeBounceProcessor (512);
        juce::AudioBuffer<float> frame (4, 1);
        juce::MidiBuffer midi;

        auto firstOfBHeard = -1;
        std::vector<int> aimedFrom;

        for (int i = 0; i < numFrames; ++i)
        {
            for (int ch = 0; ch < 4; ++ch)
            {
                const auto first = ch < 2 ? firstOfA : firstOfB;
                frame.setSample (ch, 0, i < first ? 0.0f : source (ch >= 2, i - first));
            }

            const auto target = processor->matchGain.getGainLinear();
            processor->processBlock (frame, midi);

            if (firstOfBHeard < 0 && frame.getSample (0, 0) != 0.0f)
                firstOfBHeard = i;

            if (processor->matchGain.getGainLinear() != target)
                aimedFrom.push_back (i + 1);
        }

        std::vector<int> readingEnds;

        for (int k = 1; k <= numReadings; ++k)
            readingEnds.push_back (firstSound + k * readingFrames);

        EXPECT_EQ (firstOfBHeard, readingEnds.front()) << what;
        EXPECT_EQ (aimedFrom, readingEnds) << what;
    }
}

TEST (ProcessorOffline, MatchBSwitchedOnMidBounceAimsTheGainAtTheReadingsInForceAtOnce)
{
    auto processor = makeBounceProcessor (512);
    processor->matchB = false;
    renderBounce (*processor, toneAndQuieterTone, blocksOf ({ 512 }));

    // The bounce's 4 s closed its last reading on its last frame, so the next
    // block closes none: only the readings already in force can aim the gain.
    processor->matchB = true;
    juce::AudioBuffer<float> block (4, 64);

    for (int ch = 0; ch < 4; ++ch)
        for (int i = 0; i < block.getNumSamples(); ++i)
            block.setSample (ch, i, toneAndQuieterTone.sample (ch >= 2, toneAndQuieterTone.numFrames + i));

    juce::MidiBuffer midi;
    processor->processBlock (block, midi);

    EXPECT_NEAR (processor->matchGainDb.load(), 10.0f, 0.05f);
}

TEST (ProcessorOffline, TheWindowShowsABouncesReadingsWhileItRendersAndTheThreadsOwnAfterIt)
{
    QuorvaneAudioProcessor processor;
    processor.prepareToPlay (renderRate, renderBlockSize);
    playInRealTime (processor, 1, LiveSelection::b);

    // Still rendering: no real-time call has come since. The bars read what
    // the thread publishes, the numbers the processor's copies.
    renderBounce (processor, toneAndQuieterTone, blocksOf ({ renderBlockSize }));
    auto& analyser = processor.analyzerThread;

    EXPECT_TRUE (eventually ([&]
                             { return analyser.lufsShortTermA.load() == processor.shortTermA.load() && analyser.lufsShortTermB.load() == processor.shortTermB.load(); }))
        << "the bars show " << analyser.lufsShortTermA.load() << " and " << analyser.lufsShortTermB.load()
        << " LUFS, the bounce measured " << processor.shortTermA.load() << " and " << processor.shortTermB.load();

    EXPECT_GT (processor.shortTermA.load(), processor.shortTermB.load() + 9.0f) << "B was matched at the bounce's level";

    // Live again, where B is the louder source: the bars and then the numbers
    // follow the thread's own measurement.
    playInRealTime (processor, 2, LiveSelection::b);
    ASSERT_TRUE (eventually ([&analyser]
                             { return analyser.publishesOwnReadings(); }));

    juce::AudioBuffer<float> silence (4, renderBlockSize);
    silence.clear();
    juce::MidiBuffer midi;
    processor.processBlock (silence, midi);

    EXPECT_GT (processor.shortTermB.load(), processor.shortTermA.load());
}
