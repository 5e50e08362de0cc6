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

    An offline render measures itself on the audio thread (OfflineLoudness).
    While one runs, this thread leaves its own measurement where it was and
    shows the render's readings in the published values instead, so that the
    window follows what is rendered; when real time resumes it publishes its own
    again and carries on from where it stood.
*/
class LufsAnalyzerThread : public juce::Thread
{
public:
    LufsAnalyzerThread();
    ~LufsAnalyzerThread() override;

    /** The analyser loop: one block per source per pass, sleeping only when neither had one. */
    void run() override;

    /** How long the loop sleeps after a pass that found no whole block. The FIFOs
        hold a second of audio, so nothing waits long enough to be lost.
    */
    static constexpr int idleSleepMilliseconds = 10;

    /** One pass of the loop without the sleep: A's next whole block, then B's.
        Returns true when at least one block was analysed.
    */
    bool analyseNextBlocks();

    /** Runs the loop's passes on the calling thread until neither FIFO holds a
        whole block: for a caller that keeps the thread itself stopped.
    */
    void analyseWaitingBlocks();

    /** Stops the thread (waiting up to 500 ms) and rebuilds everything it reads:
        empty FIFOs of one second plus one block, cleared stores, a read buffer of
        one block and fresh analysers. The published values are left as they are.
        The caller starts the thread again, which then reads the FIFOs.
    */
    void prepare (double sampleRate, int samplesPerBlock);

    //==============================================================================
    /** Shows an offline render's readings in the published values in place of
        this thread's own, from the thread's next pass on. Only the audio thread
        calls this; it makes atomic stores and nothing else.
    */
    void showRenderReadings (const LoudnessAnalyzer::Reading& a, const LoudnessAnalyzer::Reading& b) noexcept;

    /** Real time has resumed: the thread publishes its own readings again at its
        next pass. Only the audio thread calls this; one atomic exchange at most.
    */
    void showOwnReadingsAgain() noexcept;

    /** True while the published values are this thread's own measurement, and
        not a render's readings or the hand-back between the two.
    */
    bool publishesOwnReadings() const noexcept;

    /** The published values of one source, each read on its own. */
    LoudnessAnalyzer::Reading readPublishedA() const noexcept;
    LoudnessAnalyzer::Reading readPublishedB() const noexcept;

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
    /** Reads one source's reading back from its three atomics, each loaded on
        its own: the one place where a reading is read back.
    */
    static LoudnessAnalyzer::Reading loadReading (const std::atomic<float>& momentary,
                                                  const std::atomic<float>& shortTerm,
                                                  const std::atomic<bool>& active) noexcept
    {
        return { momentary.load(), shortTerm.load(), active.load() };
    }

    /** The three atomics that hold one source's reading, each stored on its own. */
    struct ReadingAtomics
    {
        std::atomic<float>& momentary;
        std::atomic<float>& shortTerm;
        std::atomic<bool>& active;

        void store (const LoudnessAnalyzer::Reading& reading) const noexcept
        {
            momentary.store (reading.momentary);
            shortTerm.store (reading.shortTerm);
            active.store (reading.audioActive);
        }
    };

    /** A render's latest reading of one source, as the audio thread hands it over. */
    struct RenderReading
    {
        std::atomic<float> momentary { LoudnessAnalyzer::noMeasurement };
        std::atomic<float> shortTerm { LoudnessAnalyzer::noMeasurement };
        std::atomic<bool> active { false };

        ReadingAtomics atomics() noexcept { return { momentary, shortTerm, active }; }
        LoudnessAnalyzer::Reading load() const noexcept { return loadReading (momentary, shortTerm, active); }
    };

    /** Whose readings the published values show. Only the audio thread starts a
        render or ends one; only this thread turns the hand-back into its own.
    */
    enum class Publisher
    {
        analyzerThread,
        offlineRender,
        handingBack
    };

    ReadingAtomics publishedA() noexcept { return { lufsMomentaryA, lufsShortTermA, audioActiveA }; }
    ReadingAtomics publishedB() noexcept { return { lufsMomentaryB, lufsShortTermB, audioActiveB }; }

    /** Puts into the published values what they should show now: a render's
        latest readings while one runs, this thread's own once it has ended.
    */
    void followPublisher();

    bool analyseBlockFrom (juce::AbstractFifo& fifo,
                           const juce::AudioBuffer<float>& store,
                           LoudnessAnalyzer* analyzer,
                           ReadingAtomics published,
                           LoudnessAnalyzer::Reading& ownReading,
                           int& framesSincePublication);

    // Each query sums the library's whole 400 ms or 3 s window, so it costs
    // in proportion to the sample rate, not to the block. Publishing after
    // every block would cost far more than the measurement itself.
    int publicationInterval = 1;
    int framesSincePublicationA = 0;
    int framesSincePublicationB = 0;

    // What this thread last published of its own, to show again after a render.
    LoudnessAnalyzer::Reading ownReadingA;
    LoudnessAnalyzer::Reading ownReadingB;

    std::atomic<Publisher> publisher { Publisher::analyzerThread };
    RenderReading renderReadingA;
    RenderReading renderReadingB;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LufsAnalyzerThread)
};
