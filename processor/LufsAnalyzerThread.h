#pragma once

#include "LoudnessAnalyzer.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

//==============================================================================
/**
    Measures the loudness of both sources away from the audio thread.

    The audio thread writes each source's samples into a lock-free FIFO; this
    thread drains them a whole block at a time into that source's analyser and
    publishes the results as atomics. The owner prepares the FIFOs, stores and
    analysers only while the thread is stopped, which is what keeps the two
    threads apart without a lock.

    An offline render goes faster than this thread could follow, so there the
    audio thread reads the FIFOs itself: it asks the thread to stand aside and
    hands the reading back when real time resumes. Each FIFO has one reader at
    any moment, and whichever thread reads also owns the analysers.
*/
class LufsAnalyzerThread : public juce::Thread
{
public:
    LufsAnalyzerThread();
    ~LufsAnalyzerThread() override;

    /** The analyser loop: one block per source per pass, sleeping only when neither had one. */
    void run() override;

    /** How often a source publishes: once this much audio has been analysed since
        its last publication. A meter needs no more than ten updates a second,
        and the match gain ramps over half a second anyway.
    */
    static constexpr double publicationIntervalSeconds = 0.1;

    /** How long the loop sleeps after a pass that found no whole block. The FIFOs
        hold a second of audio, so nothing waits long enough to be lost.
    */
    static constexpr int idleSleepMilliseconds = 10;

    /** One pass of the loop without the sleep: A's next whole block, then B's.
        Returns true when at least one block was analysed.
    */
    bool analyseNextBlocks();

    /** Runs the loop's passes on the calling thread until neither FIFO holds a
        whole block. Only the audio thread calls this, once it reads the FIFOs.
    */
    void analyseWaitingBlocks();

    /** Stops the thread (waiting up to 500 ms) and rebuilds everything it reads:
        empty FIFOs of one second plus one block, cleared stores, a read buffer of
        one block and fresh analysers. The published values are left as they are.
        The caller starts the thread again, which then reads the FIFOs.
    */
    void prepare (double sampleRate, int samplesPerBlock);

    //==============================================================================
    /** How long the audio thread waits at most for the thread to stand aside.
        The thread does so between two passes, which take milliseconds at most.
    */
    static constexpr int handOverTimeoutMilliseconds = 1000;

    /** Makes the calling audio thread the FIFOs' reader, for an offline render
        or when no thread runs. A running thread is asked to stand aside after
        its current pass, and the caller waits for that up to maxWaitMilliseconds;
        with no wait it only asks. Returns true once the caller is the reader.
        Offline only, unless the thread is not running: waiting is no real-time work.
    */
    bool takeOverAnalysis (int maxWaitMilliseconds);

    /** Gives the reading back to the running thread, or withdraws a request to
        stand aside. Only an atomic store, as fits a real-time audio thread; the
        thread takes the reading up again within one idle wait.
    */
    void handBackAnalysis() noexcept;

    /** Starts the measurement afresh, as a newly prepared thread would: empty
        FIFOs, analysers that have heard nothing and the published values at
        their start. Only the FIFOs' current reader calls this.
    */
    void restartAnalysis();

    /** Writes the first numFrames frames of both channels of source into a FIFO.
        Only the writing thread calls this; frames that do not fit are dropped.
    */
    static void writeFrames (juce::AbstractFifo& fifo, juce::AudioBuffer<float>& store,
                             const juce::AudioBuffer<float>& source, int numFrames) noexcept;

    /** Copies the frames of a FIFO read out of both channels of its store into
        destination, from sample 0 on, the first region's frames first.
    */
    static void copyReadFrames (const juce::AbstractFifo::ScopedRead& regions,
                                const juce::AudioBuffer<float>& store,
                                juce::AudioBuffer<float>& destination) noexcept;

    //==============================================================================
    juce::AbstractFifo fifoA { 1 };
    juce::AbstractFifo fifoB { 1 };
    juce::AudioBuffer<float> fifoBufferA;
    juce::AudioBuffer<float> fifoBufferB;
    juce::AudioBuffer<float> readBuffer;
    std::unique_ptr<LoudnessAnalyzer> analyzerA;
    std::unique_ptr<LoudnessAnalyzer> analyzerB;

    std::atomic<float> lufsMomentaryA { LoudnessAnalyzer::noMeasurement };
    std::atomic<float> lufsShortTermA { LoudnessAnalyzer::noMeasurement };
    std::atomic<bool> audioActiveA { false };
    std::atomic<float> lufsMomentaryB { LoudnessAnalyzer::noMeasurement };
    std::atomic<float> lufsShortTermB { LoudnessAnalyzer::noMeasurement };
    std::atomic<bool> audioActiveB { false };

    int blockSize = 512;

private:
    //==============================================================================
    struct PublishedValues
    {
        std::atomic<float>& momentary;
        std::atomic<float>& shortTerm;
        std::atomic<bool>& active;

        void store (LoudnessAnalyzer::MomentaryReading momentaryReading, float shortTermLoudness) const
        {
            momentary.store (momentaryReading.loudness);
            shortTerm.store (shortTermLoudness);
            active.store (momentaryReading.audioActive);
        }
    };

    /** Who reads the FIFOs. Only the thread turns a request into the audio
        thread's reading, and only between two of its passes.
    */
    enum class Reader
    {
        analyserThread,
        handOverAsked,
        audioThread
    };

    PublishedValues publishedA() noexcept { return { lufsMomentaryA, lufsShortTermA, audioActiveA }; }
    PublishedValues publishedB() noexcept { return { lufsMomentaryB, lufsShortTermB, audioActiveB }; }

    /** True while this thread reads the FIFOs; stands aside here when asked. */
    bool holdsTheReading();

    bool analyseBlockFrom (juce::AbstractFifo& fifo,
                           const juce::AudioBuffer<float>& store,
                           LoudnessAnalyzer* analyzer,
                           PublishedValues published,
                           int& framesSincePublication);

    // Each query sums the library's whole 400 ms or 3 s window, so it costs
    // in proportion to the sample rate, not to the block. Publishing after
    // every block would cost far more than the measurement itself.
    int publicationInterval = 1;
    int framesSincePublicationA = 0;
    int framesSincePublicationB = 0;

    std::atomic<Reader> reader { Reader::analyserThread };
    juce::WaitableEvent stoodAside;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LufsAnalyzerThread)
};
