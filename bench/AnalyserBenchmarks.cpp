/*
    The analyser thread's cost and whether it keeps up, for both sources at
    44.1, 48, 96 and 192 kHz with host blocks of 32 to 2048 samples.

    analyserCost drains one second of audio per source at a time, with the
    thread held still, and reports the time it took as a share of that second:
    the share of one core the thread needs.

    analyserInRealTime runs processBlock at the pace of the audio for a few
    seconds with the thread running as in a host, and reports the frames that
    found no room in a FIFO and the thread's own CPU time per second of audio.
*/

#include "processor/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <thread>

#include <pthread.h>

namespace
{
    using Clock = std::chrono::steady_clock;

    void fillWithNoise (juce::AudioBuffer<float>& buffer)
    {
        juce::Random random (1);

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (ch, i, (random.nextFloat() - 0.5f) * (ch < 2 ? 0.5f : 0.25f));
    }

    void analyserCost (benchmark::State& state)
    {
        const auto sampleRate = (double) state.range (0);
        const auto blockSize = (int) state.range (1);

        QuorvaneAudioProcessor processor;
        processor.prepareToPlay (sampleRate, blockSize);
        auto& analyser = processor.analyzerThread;
        analyser.stopThread (1000);

        juce::AudioBuffer<float> second (2, (int) sampleRate);
        fillWithNoise (second);
        const auto blocksPerSecond = (int) sampleRate / blockSize;
        const auto audioSeconds = blocksPerSecond * blockSize / sampleRate;

        double analysingSeconds = 0.0;

        for (auto _ : state)
        {
            for (auto* fifo : { &analyser.fifoA, &analyser.fifoB })
            {
                auto& store = fifo == &analyser.fifoA ? analyser.fifoBufferA : analyser.fifoBufferB;
                LufsAnalyzerThread::writeFrames (*fifo, store, second, blocksPerSecond * blockSize);
            }

            const auto start = Clock::now();

            while (analyser.analyseNextBlocks())
            {
            }

            const std::chrono::duration<double> elapsed = Clock::now() - start;
            state.SetIterationTime (elapsed.count());
            analysingSeconds += elapsed.count();
        }

        state.counters["cpu_percent"] = 100.0 * analysingSeconds / (audioSeconds * (double) state.iterations());
    }

    double threadCpuSeconds (juce::Thread::ThreadID thread)
    {
        clockid_t clock;
        timespec now{};

        if (pthread_getcpuclockid ((pthread_t) thread, &clock) != 0 || clock_gettime (clock, &now) != 0)
            return 0.0;

        return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
    }

    void analyserInRealTime (benchmark::State& state)
    {
        const auto sampleRate = (double) state.range (0);
        const auto blockSize = (int) state.range (1);
        constexpr double seconds = 2.0;

        QuorvaneAudioProcessor processor;
        processor.prepareToPlay (sampleRate, blockSize);
        auto& analyser = processor.analyzerThread;

        juce::AudioBuffer<float> source (4, blockSize);
        juce::AudioBuffer<float> block (4, blockSize);
        fillWithNoise (source);
        juce::MidiBuffer midi;

        const auto numBlocks = (int) (seconds * sampleRate / blockSize);
        const std::chrono::duration<double> period (blockSize / sampleRate);

        for (auto _ : state)
        {
            long long dropped = 0;
            const auto cpuBefore = threadCpuSeconds (analyser.getThreadId());
            const auto start = Clock::now();

            for (int i = 0; i < numBlocks; ++i)
            {
                std::this_thread::sleep_until (start + std::chrono::duration_cast<Clock::duration> (period * i));

                for (int ch = 0; ch < 4; ++ch)
                    block.copyFrom (ch, 0, source, ch, 0, blockSize);

                // The audio path drops what does not fit; count it here.
                dropped += juce::jmax (0, blockSize - analyser.fifoA.getFreeSpace());
                dropped += juce::jmax (0, blockSize - analyser.fifoB.getFreeSpace());

                processor.processBlock (block, midi);
            }

            const auto audioSeconds = numBlocks * blockSize / sampleRate;
            const auto cpu = threadCpuSeconds (analyser.getThreadId()) - cpuBefore;

            state.counters["dropped_frames"] = (double) dropped;
            state.counters["analyser_cpu_percent"] = 100.0 * cpu / audioSeconds;
        }
    }

    void allRatesAndBlockSizes (benchmark::internal::Benchmark* benchmark)
    {
        benchmark->ArgNames ({ "rate", "block" });
        benchmark->ArgsProduct ({ { 44100, 48000, 96000, 192000 }, { 32, 64, 128, 256, 512, 1024, 2048 } });
    }
} // namespace

BENCHMARK (analyserCost)->Apply (allRatesAndBlockSizes)->UseManualTime()->Unit (benchmark::kMillisecond);
BENCHMARK (analyserInRealTime)->Apply (allRatesAndBlockSizes)->Iterations (1)->UseRealTime()->Unit (benchmark::kMillisecond);
