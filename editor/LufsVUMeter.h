#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A vertical gradient bar for a short-term loudness: empty at -35 LUFS, full at
    -5 LUFS. It shows each reading as it comes, without smoothing, because the
    loudness measurement is already averaged over three seconds.
*/
class LufsVUMeter : public juce::Component
{
public:
    LufsVUMeter();
    ~LufsVUMeter() override;

    /** Takes a new loudness in LUFS, and repaints what changes of the bar. Minus
        infinity (silence) is kept and shows an empty bar; NaN is ignored. */
    void setValue (float newLoudnessLufs);

    /** The last loudness taken, in LUFS. */
    float getValue() const noexcept { return value; }

    //==============================================================================
    void paint (juce::Graphics&) override;

private:
    float value = -80.0f;
    int cornerSize = 10;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LufsVUMeter)
};
