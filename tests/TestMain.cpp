#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

// Components, fonts and the message manager need JUCE's GUI initialised for the
// whole run, so every suite shares this main.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
