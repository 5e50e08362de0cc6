#pragma once

#include <juce_graphics/juce_graphics.h>

/*  The blind test's texts and the spin of its button. The test's flow lives in
    the editor; these are the pieces of it worth checking on their own.
*/
namespace BlindTest
{
    /** The randomizing ends on the tick that reaches this angle: at the window's
        50 degrees a tick, the 15th. */
    constexpr float spinEndDegrees = 720.0f;

    inline const char* const randomizingText = "...\nRANDOMIZING\nSOURCES\n...";
    inline const char* const inputBNotConnectedText = "INPUT B NOT\nCONNECTED";
    inline const char* const labelText = "BLIND TEST";
    inline const char* const answerAText = "THIS IS A";
    inline const char* const answerBText = "THIS IS B";
    inline const char* const againText = "AGAIN";
    inline const char* const exitText = "EXIT";

    /** What the label asks once the hidden source of a round has been drawn. */
    juce::String roundText (int round, int rounds);

    /** The share of correct answers in whole per cent, halves rounded up. */
    int percentCorrect (int correctAnswers, int rounds);

    /** The label's text once the last round has been answered. */
    juce::String completionText (int correctAnswers, int rounds);

    /** The rotation of the blind test button by the given angle about the centre
        of its bounds in the editor. */
    juce::AffineTransform spinTransform (float angleDegrees, juce::Rectangle<int> buttonBounds);
} // namespace BlindTest
