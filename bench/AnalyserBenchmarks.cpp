/*
    The analyser thread's cost and whether it keeps up, for both sources at
    44.1 to 768 kHz with host blocks of 32 to 2048 samples.

    Every figure is given beside the same figure for the baseline: the loop as
    it used to run, publishing every 10 ms of audio, querying the momentary
    loudness twice per publication and sleeping 1 ms when idle. Both run side
    by side in one process, so the ratio between them holds whatever the
    machine's speed.

    analyserCost drains one second of audio per source at a time, with the
    thread held still, and reports the time it took as a share of that second:
    the share of one core the thread needs.

    analyserInRealTime runs processBlock at the pace of the audio with the
    thread running as in a host, and reports the thread's own CPU time per
    second of audio, the frames that found no room in a FIFO, and the largest
    backlog a FIFO held.
*/

#include "BenchmarkNoise.h"
#include "processor/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include <pthread.h>

namespace
{
    using Clock = std::chrono::steady_clock;

    //==============================================================================
    /** The analyser loop as it used to be, run over a processor's own FIFOs and
        analysers while its thread is stopped: the yardstick for every figure.
    */
    class BaselineAnalyser
    {
    public:
        BaselineAnalyser (LufsAnalyzerThread& analyserToDrive, double sampleRate)
            : analyser (analyserToDrive)
            , publicationInterval (juce::jmax (1, (int) (0.01 * sampleRate)))
        {
            analyser.stopThread (1000);
        }

        bool analyseNextBlocks()
        {
            const auto analysedA = analyseBlockFrom (analyser.fifoA, analyser.fifoBufferA, *analyser.analyzerA,
                                                     analyser.lufsMomentaryA, analyser.lufsShortTermA, analyser.audioActiveA,
                                                     framesSincePublicationA);
            const auto analysedB = analyseBlockFrom (analyser.fifoB, analyser.fifoBufferB, *analyser.analyzerB,
                                                     analyser.lufsMomentaryB, analyser.lufsShortTermB, analyser.audioActiveB,
                                                     framesSincePublicationB);
            return analysedA || analysedB;
        }

        void run (const std::atomic<bool>& stop)
        {
            while (! stop.load())
                if (! analyseNextBlocks())
                    juce::Thread::sleep (1);
        }

    private:
        bool analyseBlockFrom (juce::AbstractFifo& fifo, const juce::AudioBuffer<float>& store, LoudnessAnalyzer& analyzer,
                               std::atomic<float>& momentary, std::atomic<float>& shortTerm, std::atomic<bool>& active,
                               int& framesSincePublication)
        {
            if (fifo.getNumReady() < analyser.blockSize)
                return false;

            const auto regions = fifo.read (analyser.blockSize);
            LufsAnalyzerThread::copyReadFrames (regions, store, analyser.readBuffer);
            analyzer.analyzeBuffer (analyser.readBuffer);

            framesSincePublication += analyser.blockSize;

            if (framesSincePublication >= publicationInterval)
            {
                framesSincePublication = 0;
                momentary.store (analyzer.getMomentaryLoudness());
                shortTerm.store (analyzer.getShortTermLoudness());
                active.store (analyzer.isAudioActive());
            }

            return true;
        }

        LufsAnalyzerThread& analyser;
        const int publicationInterval;
        int framesSincePublicationA = 0;
        int framesSincePublicationB = 0;
    };

    //==============================================================================
    void writeToBothFifos (LufsAnalyzerThread& analyser, const juce::AudioBuffer<float>& audio, int numFrames)
    {
        LufsAnalyzerThread::writeFrames (analyser.fifoA, analyser.fifoBufferA, audio, numFrames);
        LufsAnalyzerThread::writeFrames (analyser.fifoB, analyser.fifoBufferB, audio, numFrames);
    }

    template <typename Drain>
    double secondsToDrain (Drain&& analyseNextBlocks)
    {
        const auto start = Clock::now();

        while (analyseNextBlocks())
        {
        }

        return std::chrono::duration<double> (Clock::now() - start).count();
    }

    void analyserCost (benchmark::State& state)
    {
        const auto sampleRate = (double) state.range (0);
        const auto blockSize = (int) state.range (1);

        QuorvaneAudioProcessor processor, baselineProcessor;
        processor.prepareToPlay (sampleRate, blockSize);
        baselineProcessor.prepareToPlay (sampleRate, blockSize);

        auto& analyser = processor.analyzerThread;
        analyser.stopThread (1000);
        BaselineAnalyser baseline (baselineProcessor.analyzerThread, sampleRate);

        juce::AudioBuffer<float> second (2, (int) sampleRate);
        fillWithNoise (second);
        const auto framesPerSecond = (int) sampleRate / blockSize * blockSize;
        const auto audioSeconds = framesPerSecond / sampleRate;

        double analysingSeconds = 0.0, baselineSeconds = 0.0;

        for (auto _ : state)
        {
            writeToBothFifos (baselineProcessor.analyzerThread, second, framesPerSecond);
            baselineSeconds += secondsToDrain ([&]
                                               { return baseline.analyseNextBlocks(); });

            writeToBothFifos (analyser, second, framesPerSecond);
            const auto elapsed = secondsToDrain ([&]
                                                 { return analyser.analyseNextBlocks(); });
            state.SetIterationTime (elapsed);
            analysingSeconds += elapsed;
        }

        const auto totalAudioSeconds = audioSeconds * (double) state.iterations();
        state.counters["cpu_percent"] = 100.0 * analysingSeconds / totalAudioSeconds;
        state.counters["baseline_cpu_percent"] = 100.0 * baselineSeconds / totalAudioSeconds;
        state.counters["ratio"] = analysingSeconds / baselineSeconds;
    }

    //==============================================================================
    double threadCpuSeconds (pthread_t thread)
    {
        clockid_t clock;
        timespec now {};

        if (pthread_getcpuclockid (thread, &clock) != 0 || clock_gettime (clock, &now) != 0)
            return 0.0;

        return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
    }

    /** Frames that the next block will not find room for in either FIFO. */
    int framesAboutToBeDropped (const LufsAnalyzerThread& analyser, int blockSize)
    {
        return juce::jmax (0, blockSize - analyser.fifoA.getFreeSpace()) + juce::jmax (0, blockSize - analyser.fifoB.getFreeSpace());
    }

    void analyserInRealTime (benchmark::State& state)
    {
        const auto sampleRate = (double) state.range (0);
        const auto blockSize = (int) state.range (1);
        constexpr double seconds = 3.0;

        QuorvaneAudioProcessor processor, baselineProcessor;
        processor.prepareToPlay (sampleRate, blockSize);
        baselineProcessor.prepareToPlay (sampleRate, blockSize);
        auto& analyser = processor.analyzerThread;

        BaselineAnalyser baseline (baselineProcessor.analyzerThread, sampleRate);
        std::atomic<bool> stopBaseline { false };
        std::thread baselineThread ([&]
                                    { baseline.run (stopBaseline); });

        juce::AudioBuffer<float> source (4, blockSize);
        juce::AudioBuffer<float> block (4, blockSize);
        fillWithNoise (source);
        juce::MidiBuffer midi;

        const auto numBlocks = (int) (seconds * sampleRate / blockSize);
        const std::chrono::duration<double> period (blockSize / sampleRate);

        for (auto _ : state)
        {
            long long dropped = 0, baselineDropped = 0;
            int largestBacklog = 0;
            const auto cpuBefore = threadCpuSeconds ((pthread_t) analyser.getThreadId());
            const auto baselineCpuBefore = threadCpuSeconds (baselineThread.native_handle());
            const auto start = Clock::now();

            for (int i = 0; i < numBlocks; ++i)
            {
                std::this_thread::sleep_until (start + std::chrono::duration_cast<Clock::duration> (period * i));

                // The audio path drops what does not fit; count it here.
                dropped += framesAboutToBeDropped (analyser, blockSize);
                baselineDropped += framesAboutToBeDropped (baselineProcessor.analyzerThread, blockSize);
                largestBacklog = juce::jmax (largestBacklog, analyser.fifoA.getNumReady(), analyser.fifoB.getNumReady());

                for (auto* p : { &processor, &baselineProcessor })
                {
                    for (int ch = 0; ch < 4; ++ch)
                        block.copyFrom (ch, 0, source, ch, 0, blockSize);

                    p->processBlock (block, midi);
                }
            }

            const auto audioSeconds = numBlocks * blockSize / sampleRate;
            const auto cpu = threadCpuSeconds ((pthread_t) analyser.getThreadId()) - cpuBefore;
            const auto baselineCpu = threadCpuSeconds (baselineThread.native_handle()) - baselineCpuBefore;

            state.counters["analyser_cpu_percent"] = 100.0 * cpu / audioSeconds;
            state.counters["baseline_cpu_percent"] = 100.0 * baselineCpu / audioSeconds;
            state.counters["ratio"] = cpu / baselineCpu;
            state.counters["dropped_frames"] = (double) dropped;
            state.counters["baseline_dropped_frames"] = (double) baselineDropped;
            state.counters["largest_backlog_ms"] = 1000.0 * largestBacklog / sampleRate;
        }

        stopBaseline = true;
        baselineThread.join();
    }

    void allRatesAndBlockSizes (benchmark::internal::Benchmark* benchmark)
    {
        benchmark->ArgNames ({ "rate", "block" });
        benchmark->ArgsProduct ({ { 44100, 48000, 96000, 192000, 384000, 768000 }, { 32, 64, 128, 256, 512, 1024, 2048 } });
    }
} // namespace

BENCHMARK (analyserCost)->Apply (allRatesAndBlockSizes)->UseManualTime()->Unit (benchmark::kMillisecond);
BENCHMARK (analyserInRealTime)->Apply (allRatesAndBlockSizes)->Iterations (1)->UseRealTime()->Unit (benchmark::kMillisecond);
