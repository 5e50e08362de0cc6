#include "PluginProcessor.h"

#include "editor/PluginEditor.h"

//==============================================================================
QuorvaneAudioProcessor::QuorvaneAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input A", juce::AudioChannelSet::stereo(), true)
                          .withInput ("Input B", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "Parameters", createParameterLayout())
{
}

QuorvaneAudioProcessor::~QuorvaneAudioProcessor() = default;

juce::AudioProcessorValueTreeState::ParameterLayout QuorvaneAudioProcessor::createParameterLayout()
{
    return { std::make_unique<juce::AudioParameterBool> (juce::ParameterID { "onButton", 1 }, "on Button", true),
             std::make_unique<juce::AudioParameterBool> (juce::ParameterID { "AButton", 1 }, "A Button", true),
             std::make_unique<juce::AudioParameterBool> (juce::ParameterID { "BButton", 1 }, "B Button", false) };
}

//==============================================================================
const juce::String QuorvaneAudioProcessor::getName() const
{
    return "Quorvane";
}

void QuorvaneAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    // A host that announces no block size, or a negative one, still gets whole
    // chunks of one frame rather than work buffers that hold nothing.
    const auto preparedBlockSize = juce::jmax (1, samplesPerBlock);

    processSpec = { sampleRate, (juce::uint32) preparedBlockSize, (juce::uint32) getTotalNumInputChannels() };
    numInputChannels.store (getTotalNumInputChannels(), std::memory_order_relaxed);
    numOutputChannels.store (getTotalNumOutputChannels(), std::memory_order_relaxed);
    numMainInputChannels.store (getMainBusNumInputChannels(), std::memory_order_relaxed);

    for (auto* buffer : { &bufferA, &bufferB, &renderBuffer, &rawBufferB, &dryBuffer, &fadeOutBuffer })
        buffer->setSize (2, preparedBlockSize, false, false, false);

    crossfadeLength = juce::jmax (1, (int) (0.02 * sampleRate));
    configInitialised = false;
    crossfadePosition = -1;

    // The thread is stopped while its FIFOs and analysers are rebuilt, and only
    // started again once they all stand.
    analyzerThread.prepare (sampleRate, preparedBlockSize);
    analyzerThread.startThread (juce::Thread::Priority::normal);

    // A host that prepares for an offline render gets its analysers now, so
    // that the render allocates nothing; the next offline chunk begins a render.
    offlineLoudness.prepare (sampleRate, preparedBlockSize, isNonRealtime());
    renderingOffline = false;

    // Preparing the gain sets it to its target at once: a match reached before
    // a re-preparation is in force straight away, without a new ramp.
    matchGain.prepare (processSpec);
    matchGain.setRampDurationSeconds (0.5);
}

void QuorvaneAudioProcessor::releaseResources()
{
    // Nothing is freed: the host may process again without preparing first.
    // If it renders then, that is a new render.
    reset();
}

bool QuorvaneAudioProcessor::isInputBConnected() const noexcept
{
    return numInputChannels.load (std::memory_order_relaxed) > numMainInputChannels.load (std::memory_order_relaxed);
}

//==============================================================================
double QuorvaneAudioProcessor::getTailLengthSeconds() const   { return 0.0; }
bool QuorvaneAudioProcessor::acceptsMidi() const              { return false; }
bool QuorvaneAudioProcessor::producesMidi() const             { return false; }
bool QuorvaneAudioProcessor::isMidiEffect() const             { return false; }

juce::AudioProcessorEditor* QuorvaneAudioProcessor::createEditor()
{
    return new QuorvaneAudioProcessorEditor (*this, parameters);
}

bool QuorvaneAudioProcessor::hasEditor() const
{
    return true;
}

//==============================================================================
int QuorvaneAudioProcessor::getNumPrograms()                  { return 1; }
int QuorvaneAudioProcessor::getCurrentProgram()               { return 0; }
void QuorvaneAudioProcessor::setCurrentProgram (int)          {}
void QuorvaneAudioProcessor::changeProgramName (int, const juce::String&) {}

const juce::String QuorvaneAudioProcessor::getProgramName (int)
{
    // Hosts list the single program by name, and validators reject a nameless one.
    return "Default";
}

// Nothing is saved or restored: the three switches are the host's to automate.
void QuorvaneAudioProcessor::getStateInformation (juce::MemoryBlock&) {}
void QuorvaneAudioProcessor::setStateInformation (const void*, int) {}

//==============================================================================
bool QuorvaneAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto mainOutput = layouts.getMainOutputChannelSet();

    if (mainOutput == juce::AudioChannelSet::mono() || mainOutput == juce::AudioChannelSet::stereo())
        return layouts.getMainInputChannelSet() == mainOutput;

    return false;
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QuorvaneAudioProcessor();
}
