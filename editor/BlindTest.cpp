#include "editor/BlindTest.h"

#include <cmath>

namespace BlindTest
{
    juce::String roundText (int round, int rounds)
    {
        if (round == 1)
            return "BLIND TEST STARTED\n\nSource randomized\nIdentify A or B";

        return "COMPARE A/B\n" + juce::String (round) + " of " + juce::String (rounds) + "\n\nWhich one are you hearing?";
    }

    int percentCorrect (int correctAnswers, int rounds)
    {
        if (rounds <= 0)
            return 0;

        return (int) std::lround ((float) correctAnswers * 100.0f / (float) rounds);
    }

    juce::String completionText (int correctAnswers, int rounds)
    {
        return "TEST COMPLETE\n\n" + juce::String (percentCorrect (correctAnswers, rounds)) + "% CORRECT\nTry again?";
    }

    juce::AffineTransform spinTransform (float angleDegrees, juce::Rectangle<int> buttonBounds)
    {
        constexpr float radiansPerDegree = 0.017453292f;
        const auto angle = angleDegrees * radiansPerDegree;

        const auto px = (float) (buttonBounds.getX() + buttonBounds.getWidth() / 2);
        const auto py = (float) (buttonBounds.getY() + buttonBounds.getHeight() / 2);
        const auto cosine = std::cos (angle);
        const auto sine = std::sin (angle);

        return { cosine, -sine, px - px * cosine + py * sine,
                 sine, cosine, py - px * sine - py * cosine };
    }
} // namespace BlindTest
