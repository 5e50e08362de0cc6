#pragma once

#include "AudioPathMath.h"
#include "LufsAnalyzerThread.h"
#include "OfflineLoudness.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <atomic>

//==============================================================================
/**
    The plug-in: plays the track (A), the reference (B) brought to A's loudness,
    their difference, or the untouched input, crossfading every change.

    The public fields are what the editor reads and writes. Everything shared
    with another thread is atomic and accessed with relaxed ordering: a late
    value only delays a display or a mode change by one tick or one chunk.
*/
class QuorvaneAudioProcessor  : public juce::AudioProcessor
{
public:
    //==============================================================================
    /** What the output plays. Any field that differs starts a crossfade. */
    struct OutputConfig
    {
        bool bypass = false;
        bool diff = false;
        bool playA = true;
        bool match = false;

        bool operator== (const OutputConfig& other) const noexcept
        {
            return bypass == other.bypass && diff == other.diff
                && playA == other.playA && match == other.match;
        }

        bool operator!= (const OutputConfig& other) const noexcept   { return ! operator== (other); }
    };

    //==============================================================================
    QuorvaneAudioProcessor();
    ~QuorvaneAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;

    /** The host has stopped processing, between two bounces say: the next
        offline chunk begins a new render. In real time it changes nothing.
        Any thread may call this.
    */
    void reset() override;

    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    /** Turns one chunk of at most the prepared block size into output, in place. */
    void processChunk (juce::AudioBuffer<float>& buffer);

    /** True when "Input B" carries channels, as of the latest chunk or preparation. */
    bool isInputBConnected() const noexcept;

    //==============================================================================
    juce::AudioProcessorValueTreeState parameters;

    /** The loudness copies before the first chunk, and the match gain in dB before its first update. */
    static constexpr float initialLoudness = -100.0f;
    static constexpr float initialMatchGainDb = 1.0f;

    std::atomic<bool> matchB { true };
    std::atomic<bool> aActive { false };
    std::atomic<bool> bActive { false };
    std::atomic<float> momentaryA { initialLoudness };
    std::atomic<float> momentaryB { initialLoudness };
    std::atomic<float> shortTermA { initialLoudness };
    std::atomic<float> shortTermB { initialLoudness };
    std::atomic<bool> aSelected { true };
    std::atomic<bool> blindPlaysA { true };
    std::atomic<bool> blindTestActive { false };
    std::atomic<bool> diffMode { false };

    // The editor may open before the host prepares us, so these start at the
    // totals of the default layout (stereo A, stereo B, stereo out).
    std::atomic<int> numInputChannels { 4 };
    std::atomic<int> numOutputChannels { 2 };

    std::atomic<float> matchGainDb { initialMatchGainDb };
    std::atomic<bool> bypassed { false };
    juce::dsp::ProcessSpec processSpec { 0.0, 0, 0 };
    juce::dsp::Gain<float> matchGain;
    // At the floor until the first chunk, as for silence: a window opened before
    // the host processes anything shows no level.
    std::atomic<float> levelA[2] { { minimumLevelDb }, { minimumLevelDb } };
    std::atomic<float> levelB[2] { { minimumLevelDb }, { minimumLevelDb } };

    LufsAnalyzerThread analyzerThread;

    juce::AudioBuffer<float> bufferA;
    juce::AudioBuffer<float> bufferB;
    juce::AudioBuffer<float> renderBuffer;
    OutputConfig currentConfig;
    OutputConfig previousConfig;
    bool configInitialised = false;
    int crossfadePosition = -1;
    int crossfadeLength = 882;
    juce::AudioBuffer<float> rawBufferB;
    juce::AudioBuffer<float> dryBuffer;
    juce::AudioBuffer<float> fadeOutBuffer;

    // Channel count of "Input A" as of the latest chunk or preparation; with the
    // total it tells whether "Input B" carries channels, whatever A's width.
    std::atomic<int> numMainInputChannels { 2 };

private:
    //==============================================================================
    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** Follows the host's offline flag, which hosts may change from one call
        to the next without preparing again: an offline render begins at the
        first offline chunk after a preparation, a real-time chunk or a stop of
        processing, and the analyser thread's readings return with the first
        real-time chunk after it.
    */
    void followRenderMode();

    /** Starts a render as a processor newly prepared for it would: nothing
        measured, B silent until both sources have been measured, and no
        crossfade from whatever played before.
    */
    void startOfflineRender();

    /** Measures an offline chunk on the audio thread and applies the match
        gain to the first gainFrames frames of B piece by piece, each new
        reading taking effect from the frame after the audio it closes.
    */
    void measureAndMatchOffline (int numFrames, bool inputBHasChannels, bool isMatchB, int gainFrames);

    /** Copies the loudness the path works from, as one chunk's measurement. */
    void copyLoudness (const LoudnessAnalyzer::Reading& a, const LoudnessAnalyzer::Reading& b, bool inputBHasChannels);

    // Audio thread only. Offline, the path measures what it renders itself.
    OfflineLoudness offlineLoudness;
    bool renderingOffline = false;

    // Set by whichever thread tells us the host stopped processing; taken by
    // the audio thread at its next chunk.
    std::atomic<bool> hostStoppedProcessing { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuorvaneAudioProcessor)
};
