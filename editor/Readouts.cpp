#include "editor/Readouts.h"

juce::String formatLoudnessReadout (bool sourceCarriesAudio, float shortTermLufs)
{
    if (! sourceCarriesAudio)
        return "LUFS\n---";

    return "LUFS\n" + juce::String::formatted ("%.2f", (double) shortTermLufs);
}

MeterReadings readMeterValues (const QuorvaneAudioProcessor& processor)
{
    constexpr auto relaxed = std::memory_order_relaxed;

    const float levelA[] = { processor.levelA[0].load (relaxed), processor.levelA[1].load (relaxed) };
    const float levelB[] = { processor.levelB[0].load (relaxed), processor.levelB[1].load (relaxed) };
    const auto* monitored = processor.aSelected.load (relaxed) ? levelA : levelB;

    MeterReadings readings;
    readings.vuMeterLeft = monitored[0];
    readings.vuMeterRight = monitored[1];
    readings.peakMeterA = juce::jmax (levelA[0], levelA[1]);
    readings.peakMeterB = juce::jmax (levelB[0], levelB[1]);

    const auto& analyser = processor.analyzerThread;
    readings.loudnessMeterA = analyser.lufsShortTermA.load();
    readings.loudnessMeterB = analyser.lufsShortTermB.load();

    if (processor.matchB.load (relaxed))
        readings.loudnessMeterB += processor.matchGainDb.load (relaxed);

    return readings;
}
