/*
    processBlock at 48 kHz with 512-sample blocks, stereo A and stereo B, in
    each of the configurations a user leaves it in, and with a change of
    configuration at every block so that every block crossfades.

    Each run also times a plain copy of the host block (all four channels, the
    same bytes) and reports processBlock's time as a multiple of it.
*/

#include "BenchmarkNoise.h"
#include "processor/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;
    constexpr int numChannels = 4;

    using Clock = std::chrono::steady_clock;

    enum class Configuration
    {
        a,
        matchedB,
        diff,
        bypassed,
        crossfading
    };

    /** Nanoseconds for one copy of the block's four channels, the best of a few runs. */
    double timePlainCopy (const juce::AudioBuffer<float>& from, juce::AudioBuffer<float>& to)
    {
        constexpr int copiesPerRun = 20000;
        auto best = std::numeric_limits<double>::max();

        for (int run = 0; run < 5; ++run)
        {
            const auto start = Clock::now();

            for (int i = 0; i < copiesPerRun; ++i)
            {
                for (int ch = 0; ch < numChannels; ++ch)
                    juce::FloatVectorOperations::copy (to.getWritePointer (ch), from.getReadPointer (ch), blockSize);

                benchmark::ClobberMemory();
            }

            const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
            best = std::min (best, elapsed.count() / copiesPerRun);
        }

        return best;
    }

    void setUp (QuorvaneAudioProcessor& processor, Configuration configuration)
    {
        auto set = [&] (const char* id, bool on)
        {
            processor.parameters.getParameter (id)->setValueNotifyingHost (on ? 1.0f : 0.0f);
        };

        processor.matchB = true;
        processor.diffMode = configuration == Configuration::diff;
        set ("AButton", configuration != Configuration::matchedB);
        set ("onButton", configuration != Configuration::bypassed);
    }

    void processBlockIn (benchmark::State& state, Configuration configuration)
    {
        QuorvaneAudioProcessor processor;
        processor.prepareToPlay (sampleRate, blockSize);
        setUp (processor, configuration);

        juce::AudioBuffer<float> block (numChannels, blockSize);
        juce::AudioBuffer<float> copy (numChannels, blockSize);
        fillWithNoise (block);
        juce::MidiBuffer midi;

        // A second of audio first: both sources measured, the match gain at
        // its target and no crossfade left from the set-up.
        for (int i = 0; i < (int) sampleRate / blockSize; ++i)
            processor.processBlock (block, midi);

        const auto copyNanoseconds = timePlainCopy (block, copy);
        auto* aButton = processor.parameters.getRawParameterValue ("AButton");
        auto playsA = true;

        const auto start = Clock::now();

        for (auto _ : state)
        {
            if (configuration == Configuration::crossfading)
            {
                playsA = ! playsA;
                aButton->store (playsA ? 1.0f : 0.0f);
            }

            processor.processBlock (block, midi);
            benchmark::ClobberMemory();
        }

        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        const auto blockNanoseconds = elapsed.count() / (double) state.iterations();

        state.SetItemsProcessed (state.iterations() * blockSize);
        state.counters["ns_per_sample"] = blockNanoseconds / blockSize;
        state.counters["copy_ns"] = copyNanoseconds;
        state.counters["x_copy"] = blockNanoseconds / copyNanoseconds;
    }

    /** Each timed block begins an offline render on a processor prepared in
        real time, as a host that flags offline call by call makes one: an
        untimed real-time block comes before it. "x_within" divides by a block
        from within a render, timed in the same run.
    */
    void firstOfflineBlockAt (benchmark::State& state, double rate)
    {
        QuorvaneAudioProcessor processor;
        processor.prepareToPlay (rate, blockSize);
        setUp (processor, Configuration::matchedB);

        juce::AudioBuffer<float> block (numChannels, blockSize);
        fillWithNoise (block);
        juce::MidiBuffer midi;

        auto timeOfflineBlock = [&]
        {
            const auto start = Clock::now();
            processor.processBlock (block, midi);
            benchmark::ClobberMemory();
            return std::chrono::duration<double, std::nano> (Clock::now() - start).count();
        };

        processor.setNonRealtime (true);
        auto withinNanoseconds = 0.0;
        constexpr int blocksWithin = 2000;

        for (int i = 0; i < blocksWithin; ++i)
            withinNanoseconds += timeOfflineBlock() / blocksWithin;

        auto firstNanoseconds = 0.0;

        for (auto _ : state)
        {
            processor.setNonRealtime (false);
            processor.processBlock (block, midi);
            processor.setNonRealtime (true);

            const auto nanoseconds = timeOfflineBlock();
            firstNanoseconds += nanoseconds;
            state.SetIterationTime (nanoseconds * 1.0e-9);
        }

        state.counters["within_ns"] = withinNanoseconds;
        state.counters["x_within"] = firstNanoseconds / (double) state.iterations() / withinNanoseconds;
    }
} // namespace

BENCHMARK_CAPTURE (processBlockIn, A, Configuration::a);
BENCHMARK_CAPTURE (processBlockIn, MatchedB, Configuration::matchedB);
BENCHMARK_CAPTURE (processBlockIn, Diff, Configuration::diff);
BENCHMARK_CAPTURE (processBlockIn, Bypassed, Configuration::bypassed);
BENCHMARK_CAPTURE (processBlockIn, Crossfading, Configuration::crossfading);
BENCHMARK_CAPTURE (firstOfflineBlockAt, 48kHz, 48000.0)->UseManualTime()->Unit (benchmark::kMicrosecond);
BENCHMARK_CAPTURE (firstOfflineBlockAt, 192kHz, 192000.0)->UseManualTime()->Unit (benchmark::kMicrosecond);
