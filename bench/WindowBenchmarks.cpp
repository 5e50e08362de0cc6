/*
    The message thread's cost with the window open, as a user sees it: a real
    window on an X display, both sources playing in real time at 48 kHz in
    512-sample blocks, the analyser thread running as in a host.

    For each window size the message thread runs its event loop for a settling
    second and then for five measured seconds, and the benchmark reports its own
    CPU time over those five seconds as a share of one core. The loop blocks
    until the next event, as a host's does, so the figure is the window's work:
    the 33 ms poll, the repaints it asks for and the painting.

    Needs a display: run it under Xvfb, for example
        xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/QuorvaneWindowBenchmarks
*/

#include "editor/PluginEditor.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

namespace juce
{
    // The framework's Linux event loop: dispatches the next event, or waits for one.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
    using Clock = std::chrono::steady_clock;

    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    double messageThreadCpuSeconds()
    {
        timespec now {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
        return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
    }

    void runEventLoopFor (std::chrono::duration<double> duration)
    {
        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration> (duration);

        while (Clock::now() < end)
            juce::dispatchNextMessageOnSystemQueue (false);
    }

    /** Plays noise on A and a quieter noise on B through processBlock, one block
        every 10.7 ms on a thread of its own, the way a host's audio thread calls
        it. Like music, the noise moves every meter at every poll: the peaks
        differ from block to block and the loudness drifts. */
    class AudioPlayback
    {
    public:
        explicit AudioPlayback (QuorvaneAudioProcessor& p)
            : processor (p)
        {
            juce::Random random (1);

            for (int ch = 0; ch < source.getNumChannels(); ++ch)
                for (int i = 0; i < source.getNumSamples(); ++i)
                    source.setSample (ch, i, (random.nextFloat() - 0.5f) * (ch < 2 ? 0.5f : 0.2f));

            thread = std::thread ([this]
                                  { run(); });
        }

        ~AudioPlayback()
        {
            running = false;
            thread.join();
        }

    private:
        void run()
        {
            juce::AudioBuffer<float> block (4, blockSize);
            juce::MidiBuffer midi;
            const std::chrono::duration<double> period (blockSize / sampleRate);
            const auto blocksInSource = source.getNumSamples() / blockSize;
            const auto start = Clock::now();

            for (long long blockIndex = 0; running; ++blockIndex)
            {
                std::this_thread::sleep_until (start + std::chrono::duration_cast<Clock::duration> (period * (double) blockIndex));

                const auto offset = (int) (blockIndex % blocksInSource) * blockSize;

                for (int ch = 0; ch < 4; ++ch)
                    block.copyFrom (ch, 0, source, ch, offset, blockSize);

                processor.processBlock (block, midi);
            }
        }

        juce::AudioBuffer<float> source { 4, (int) sampleRate };
        QuorvaneAudioProcessor& processor;
        std::atomic<bool> running { true };
        std::thread thread;
    };

    void messageThreadWithWindowOpen (benchmark::State& state)
    {
        if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        {
            state.SkipWithError ("no display: run under Xvfb");
            return;
        }

        const auto width = (int) state.range (0);
        const auto height = width * 475 / 600;

        QuorvaneAudioProcessor processor;
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (juce::AudioChannelSet::stereo());
        layout.inputBuses.add (juce::AudioChannelSet::stereo());
        layout.outputBuses.add (juce::AudioChannelSet::stereo());
        processor.setBusesLayout (layout);
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        AudioPlayback playback (processor);

        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
        editor->setSize (width, height);
        editor->setTopLeftPosition (20, 20);

        // Without a window manager some of the atoms the framework names on its
        // windows don't exist; the server's complaints about them are harmless.
        XSetErrorHandler ([] (Display*, XErrorEvent*)
                          { return 0; });
        editor->addToDesktop (0);
        editor->setVisible (true);

        // The window appears and paints whole once, and both sources start to read.
        runEventLoopFor (std::chrono::seconds (1));

        constexpr double measuredSeconds = 5.0;

        for (auto _ : state)
        {
            const auto cpuBefore = messageThreadCpuSeconds();
            const auto start = Clock::now();

            runEventLoopFor (std::chrono::duration<double> (measuredSeconds));

            const std::chrono::duration<double> elapsed = Clock::now() - start;
            const auto cpu = messageThreadCpuSeconds() - cpuBefore;

            state.SetIterationTime (elapsed.count());
            state.counters["message_thread_percent"] = 100.0 * cpu / elapsed.count();
        }

        editor->removeFromDesktop();
        editor.reset();
    }
} // namespace

BENCHMARK (messageThreadWithWindowOpen)->ArgName ("width")->Arg (480)->Arg (600)->Arg (1200)->Iterations (1)->UseManualTime()->Unit (benchmark::kMillisecond);
