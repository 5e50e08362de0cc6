#include "PluginProcessor.h"

void QuorvaneAudioProcessor::processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&)
{
}

void QuorvaneAudioProcessor::processChunk (juce::AudioBuffer<float>&)
{
}
