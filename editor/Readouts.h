#pragma once

#include "processor/PluginProcessor.h"

/** A loudness readout: "LUFS", a line break and the short-term loudness with two
    decimals, or "---" in place of the number while the source carries no audio. */
juce::String formatLoudnessReadout (bool sourceCarriesAudio, float shortTermLufs);

/** What the window's six meters show at one poll of the processor. */
struct MeterReadings
{
    float vuMeterLeft = 0.0f, vuMeterRight = 0.0f;      // peak per channel of the monitored source, dBFS
    float peakMeterA = 0.0f, peakMeterB = 0.0f;         // louder channel's peak, dBFS
    float loudnessMeterA = 0.0f, loudnessMeterB = 0.0f; // short-term loudness, LUFS
};

/** The meter readings from the processor's latest values. The bars read the
    analyser thread's published loudness directly; B's includes the match gain
    while MATCH B is on, so it shows what B is brought to. */
MeterReadings readMeterValues (const QuorvaneAudioProcessor&);
