#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A vertical gradient bar for a peak level: empty at -75 dB, full at +5 dB.

    The level is smoothed: a louder reading is taken almost at once, a quieter one
    is approached by 30 % of the distance per setValue call.
*/
class ModernVUMeter : public juce::Component
{
public:
    ModernVUMeter();
    ~ModernVUMeter() override;

    /** Takes a new peak level in dBFS, and repaints what changes of the bar. The
        level is not clamped; +infinity counts as +5 dB, -infinity as -400 dB and
        NaN is ignored. */
    void setValue (float newLevelDb);

    /** The smoothed level in dB that the bar shows. */
    float getLevel() const noexcept { return level; }

    //==============================================================================
    void paint (juce::Graphics&) override;

private:
    float level = -400.0f;
    int cornerSize = 10;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModernVUMeter)
};
