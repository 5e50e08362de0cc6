#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A needle dial with a dB scale from -20 to +5, showing one channel's peak level.

    The needle jumps up to a louder reading at once and falls back by one step
    per setValue call, so its fall speed follows the rate of the caller's timer.
*/
class ClassicVUMeter : public juce::Component
{
public:
    ClassicVUMeter();
    ~ClassicVUMeter() override;

    /** Takes a new peak level in dBFS, clamped to -60 .. +5 (minus infinity reads
        as -60; NaN is ignored), and repaints where the needle moves. */
    void setValue (float newLevelDb);

    /** The level the needle shows, in dB, always within -60 .. +5. */
    float getValue() const noexcept { return value; }

    //==============================================================================
    void paint (juce::Graphics&) override;

private:
    juce::Line<float> needle() const noexcept;

    float value = -60.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ClassicVUMeter)
};
