#include "EditorTestSupport.h"

#include "editor/BlindTest.h"

using namespace EditorTestSupport;

namespace
{
    constexpr int ticksPerRandomizing = 15;

    const juce::String randomizingText = "...\nRANDOMIZING\nSOURCES\n...";
    const juce::String firstRoundText = "BLIND TEST STARTED\n\nSource randomized\nIdentify A or B";

    juce::String laterRoundText (int round)
    {
        return "COMPARE A/B\n" + juce::String (round) + " of 6\n\nWhich one are you hearing?";
    }

    /** The share of right answers for 0 to 6 out of 6, in whole per cent. */
    constexpr int percentages[] = { 0, 17, 33, 50, 67, 83, 100 };

    juce::String expectedCompletionText (int rightAnswers)
    {
        return "TEST COMPLETE\n\n" + juce::String (percentages[rightAnswers]) + "% CORRECT\nTry again?";
    }

    /** A window on a processor prepared with the given input layout (the
        output follows "Input A"). */
    struct BlindTestWindow
    {
        explicit BlindTestWindow (const juce::AudioChannelSet& inputA = juce::AudioChannelSet::stereo(),
                                  const juce::AudioChannelSet& inputB = juce::AudioChannelSet::stereo())
        {
            prepareWithLayout (window.processor, inputA, inputB);
        }

        QuorvaneAudioProcessorEditor& editor() { return *window.editor; }
        QuorvaneAudioProcessor& processor() { return window.processor; }

        void tick (int times = 1)
        {
            for (int i = 0; i < times; ++i)
                window.editor->timerCallback();
        }

        void switchTest()
        {
            click (window.editor->blindTestButton);
        }

        /** Answers the round, rightly or wrongly, by the hidden source now in force. */
        void answer (bool rightly)
        {
            const auto hiddenIsA = window.processor.blindPlaysA.load();
            click (hiddenIsA == rightly ? window.editor->answerAButton : window.editor->answerBButton);
        }

        /** Plays a whole test from its first randomizing, answering every round alike. */
        void answerEveryRound (bool rightly)
        {
            for (int round = 1; round <= 6; ++round)
            {
                tick (ticksPerRandomizing);
                answer (rightly);
            }
        }

        OpenWindow window;
    };

    void expectTestControlsShown (QuorvaneAudioProcessorEditor& editor, bool testOn)
    {
        EXPECT_EQ (editor.vuMeterLeft.isVisible(), ! testOn);
        EXPECT_EQ (editor.vuMeterRight.isVisible(), ! testOn);
        EXPECT_EQ (editor.diffButton.isVisible(), ! testOn);
        EXPECT_EQ (editor.aButton.isEnabled(), ! testOn);
        EXPECT_EQ (editor.bButton.isEnabled(), ! testOn);
        EXPECT_EQ (editor.blindTestLabel.isVisible(), testOn);
        EXPECT_EQ (editor.answerAButton.isVisible(), testOn);
        EXPECT_EQ (editor.answerBButton.isVisible(), testOn);
    }

    /** A, B and all four bars at full alpha, as the test shows them. */
    void expectEverythingBright (QuorvaneAudioProcessorEditor& editor)
    {
        EXPECT_TRUE (hasAlpha (editor.aButton, 1.0f));
        EXPECT_TRUE (hasAlpha (editor.bButton, 1.0f));
        expectBarAlphas (editor, 1.0f, 1.0f);
    }
} // namespace

//==============================================================================
TEST (BlindTestTexts, RoundsAndCompletion)
{
    EXPECT_EQ (BlindTest::roundText (1, 6), firstRoundText);
    EXPECT_EQ (BlindTest::roundText (2, 6), "COMPARE A/B\n2 of 6\n\nWhich one are you hearing?");
    EXPECT_EQ (BlindTest::roundText (6, 6), "COMPARE A/B\n6 of 6\n\nWhich one are you hearing?");

    for (int correct = 0; correct <= 6; ++correct)
    {
        EXPECT_EQ (BlindTest::percentCorrect (correct, 6), percentages[correct]);
        EXPECT_EQ (BlindTest::completionText (correct, 6), expectedCompletionText (correct));
    }

    // Halves round away from zero.
    EXPECT_EQ (BlindTest::percentCorrect (1, 8), 13);
}

TEST (BlindTestSpin, RotatesAboutTheButtonsCentreInTheEditor)
{
    const juce::Rectangle<int> button (258, 200, 84, 84);
    const juce::Point<float> pivot (300.0f, 242.0f);

    for (const auto degrees : { 50.0f, 100.0f, 350.0f, 700.0f })
    {
        const auto transform = BlindTest::spinTransform (degrees, button);
        const auto reference = juce::AffineTransform::rotation (juce::degreesToRadians (degrees), pivot.x, pivot.y);

        EXPECT_NEAR (transform.mat00, reference.mat00, 1.0e-5f) << degrees;
        EXPECT_NEAR (transform.mat01, reference.mat01, 1.0e-5f) << degrees;
        EXPECT_NEAR (transform.mat02, reference.mat02, 1.0e-3f) << degrees;
        EXPECT_NEAR (transform.mat10, reference.mat10, 1.0e-5f) << degrees;
        EXPECT_NEAR (transform.mat11, reference.mat11, 1.0e-5f) << degrees;
        EXPECT_NEAR (transform.mat12, reference.mat12, 1.0e-3f) << degrees;
        EXPECT_NEAR (pivot.transformedBy (transform).getDistanceFrom (pivot), 0.0f, 1.0e-3f) << degrees;
    }

    // The halves are whole pixels: an odd-sized button turns about a point
    // half a pixel above and left of its true centre.
    const auto odd = BlindTest::spinTransform (180.0f, { 206, 149, 67, 67 });
    const juce::Point<float> oddPivot (239.0f, 182.0f);
    EXPECT_NEAR (oddPivot.transformedBy (odd).getDistanceFrom (oddPivot), 0.0f, 1.0e-3f);
}

//==============================================================================
TEST (BlindTestFlow, SwitchingOnHidesTheNeedlesAndStartsTheFirstRandomizing)
{
    BlindTestWindow test;
    auto& editor = test.editor();

    click (editor.diffButton);
    click (editor.matchBButton);
    click (editor.bButton);
    ASSERT_TRUE (test.processor().diffMode.load());

    test.switchTest();

    EXPECT_TRUE (editor.blindTestButton.getToggleState());
    EXPECT_TRUE (test.processor().blindTestActive.load());
    expectTestControlsShown (editor, true);
    EXPECT_TRUE (editor.matchBButton.getToggleState());
    EXPECT_FALSE (editor.diffButton.getToggleState());
    EXPECT_TRUE (test.processor().matchB.load());
    EXPECT_FALSE (test.processor().diffMode.load());

    expectEverythingBright (editor);

    EXPECT_TRUE (editor.isRandomizing);
    EXPECT_EQ (editor.currentRound, 1);
    EXPECT_EQ (editor.correctAnswers, 0);
}

TEST (BlindTestFlow, ARandomizingTurnsTheButtonForFourteenTicksAndEndsOnTheFifteenth)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    test.switchTest();

    test.tick();
    EXPECT_EQ (editor.blindTestLabel.getText(), randomizingText);
    EXPECT_EQ (editor.spinAngle, 50.0f);
    EXPECT_NEAR (editor.blindTestButton.getTransform().mat10, std::sin (juce::degreesToRadians (50.0f)), 1.0e-5f);

    test.tick (3);
    EXPECT_EQ (editor.spinAngle, 200.0f);
    EXPECT_FALSE (editor.blindTestButton.getTransform().isIdentity());

    test.tick (ticksPerRandomizing - 5);
    EXPECT_TRUE (editor.isRandomizing);
    EXPECT_EQ (editor.spinAngle, 700.0f);
    EXPECT_EQ (editor.blindTestLabel.getText(), randomizingText);

    test.tick();
    EXPECT_FALSE (editor.isRandomizing);
    EXPECT_EQ (editor.spinAngle, 0.0f);
    EXPECT_TRUE (editor.blindTestButton.getTransform().isIdentity());
    EXPECT_EQ (editor.blindTestLabel.getText(), firstRoundText);

    // Nothing moves until the round is answered.
    test.tick (3);
    EXPECT_TRUE (editor.blindTestButton.getTransform().isIdentity());
    EXPECT_EQ (editor.blindTestLabel.getText(), firstRoundText);
}

TEST (BlindTestFlow, SixRoundsShowTheirTextsAndTheScoreForEveryNumberOfRightAnswers)
{
    for (int rightAnswers = 0; rightAnswers <= 6; ++rightAnswers)
    {
        BlindTestWindow test;
        auto& editor = test.editor();
        test.switchTest();

        // Every randomizing draws the hidden source afresh from the window's generator.
        editor.random.setSeed (rightAnswers);
        juce::Random draws (rightAnswers);

        for (int round = 1; round <= 6; ++round)
        {
            test.tick (ticksPerRandomizing);
            ASSERT_FALSE (editor.isRandomizing);
            EXPECT_EQ (editor.blindTestLabel.getText(), round == 1 ? firstRoundText : laterRoundText (round));
            EXPECT_EQ (editor.currentRound, round);
            EXPECT_EQ (test.processor().blindPlaysA.load(), draws.nextBool());

            // The processor plays the hidden source, matched, without DIFF.
            EXPECT_TRUE (test.processor().blindTestActive.load());
            EXPECT_TRUE (test.processor().matchB.load());
            EXPECT_FALSE (test.processor().diffMode.load());

            test.answer (round <= rightAnswers);
        }

        EXPECT_EQ (editor.currentRound, 0);
        EXPECT_FALSE (editor.isRandomizing);
        EXPECT_EQ (editor.blindTestLabel.getText(), expectedCompletionText (rightAnswers));
        EXPECT_EQ (editor.answerAButton.getButtonText(), "AGAIN");
        EXPECT_EQ (editor.answerBButton.getButtonText(), "EXIT");
    }
}

TEST (BlindTestFlow, TheAudioPathPlaysTheHiddenSource)
{
    BlindTestWindow test;
    test.switchTest();
    test.tick (ticksPerRandomizing);

    playTestSignals (test.processor(), 0.05);
    EXPECT_EQ (test.processor().currentConfig.playA, test.processor().blindPlaysA.load());
    EXPECT_TRUE (test.processor().currentConfig.match);
    EXPECT_FALSE (test.processor().currentConfig.diff);
}

TEST (BlindTestFlow, AgainStartsAFreshTestAndExitSwitchesItOff)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    test.switchTest();

    test.answerEveryRound (true);

    ASSERT_EQ (editor.answerAButton.getButtonText(), "AGAIN");
    click (editor.answerAButton);

    EXPECT_TRUE (editor.blindTestButton.getToggleState());
    EXPECT_TRUE (test.processor().blindTestActive.load());
    EXPECT_EQ (editor.currentRound, 1);
    EXPECT_EQ (editor.correctAnswers, 0);
    EXPECT_TRUE (editor.isRandomizing);
    EXPECT_EQ (editor.answerAButton.getButtonText(), "THIS IS A");
    EXPECT_EQ (editor.answerBButton.getButtonText(), "THIS IS B");
    expectTestControlsShown (editor, true);

    test.answerEveryRound (false);

    EXPECT_EQ (editor.blindTestLabel.getText(), expectedCompletionText (0));
    click (editor.answerBButton);

    EXPECT_FALSE (editor.blindTestButton.getToggleState());
    EXPECT_FALSE (test.processor().blindTestActive.load());
    EXPECT_FALSE (editor.isRandomizing);
    expectTestControlsShown (editor, false);
    EXPECT_EQ (editor.answerAButton.getButtonText(), "THIS IS A");
}

TEST (BlindTestFlow, SwitchingOffWhileTheButtonSpinsLetsTheSpinFinish)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    test.switchTest();
    test.tick (5);

    test.switchTest();
    EXPECT_FALSE (test.processor().blindTestActive.load());
    expectTestControlsShown (editor, false);
    EXPECT_TRUE (editor.isRandomizing);

    test.tick (ticksPerRandomizing - 6);
    EXPECT_FALSE (editor.blindTestButton.getTransform().isIdentity());

    test.tick();
    EXPECT_FALSE (editor.isRandomizing);
    EXPECT_TRUE (editor.blindTestButton.getTransform().isIdentity());
    EXPECT_EQ (editor.blindTestLabel.getText(), firstRoundText);
    EXPECT_FALSE (editor.blindTestLabel.isVisible());
}

TEST (BlindTestFlow, AnswersWhileTheSourcesAreDrawnAreIgnored)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    test.switchTest();
    test.tick (3);

    click (editor.answerAButton);
    click (editor.answerBButton);

    EXPECT_EQ (editor.currentRound, 1);
    EXPECT_EQ (editor.correctAnswers, 0);
    EXPECT_TRUE (editor.isRandomizing);
    EXPECT_EQ (editor.spinAngle, 150.0f);

    test.tick (ticksPerRandomizing - 3);
    EXPECT_FALSE (editor.isRandomizing);
    EXPECT_EQ (editor.blindTestLabel.getText(), firstRoundText);

    test.answer (true);
    EXPECT_EQ (editor.currentRound, 2);
    EXPECT_EQ (editor.correctAnswers, 1);
}

TEST (BlindTestFlow, AHostChangeOfTheSourceSwitchesTheTestOff)
{
    // The host selects the source that the window has off: A from B, or B from A.
    for (const juce::String hostSelects : { "AButton", "BButton" })
    {
        SCOPED_TRACE (hostSelects);
        BlindTestWindow test;
        auto& editor = test.editor();

        if (hostSelects == "AButton")
            click (editor.bButton);

        test.switchTest();
        test.tick (ticksPerRandomizing);

        setParameter (test.processor(), hostSelects, true);

        EXPECT_EQ (editor.aButton.getToggleState(), hostSelects == "AButton");
        EXPECT_EQ (editor.bButton.getToggleState(), hostSelects == "BButton");
        EXPECT_FALSE (test.processor().blindTestActive.load());
        EXPECT_FALSE (editor.blindTestButton.getToggleState());
        expectTestControlsShown (editor, false);
        EXPECT_TRUE (editor.matchBButton.getToggleState());
        EXPECT_FALSE (editor.diffButton.getToggleState());
    }
}

TEST (BlindTestFlow, ClosingTheWindowEndsTheTestAndTheSelectedSourcePlaysAgain)
{
    BlindTestWindow test;
    test.switchTest();
    test.tick (ticksPerRandomizing);

    // A is selected; let B be the hidden source.
    test.processor().blindPlaysA = false;
    playTestSignals (test.processor(), 0.05);
    ASSERT_FALSE (test.processor().currentConfig.playA);

    test.window.editor.reset();

    EXPECT_FALSE (test.processor().blindTestActive.load());
    playTestSignals (test.processor(), 0.05);
    EXPECT_TRUE (test.processor().currentConfig.playA);
}

TEST (BlindTestFlow, EverySwitchResetsTheRoundTheScoreAndTheAnswerTexts)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    test.switchTest();
    test.tick (ticksPerRandomizing);
    test.answer (true);
    test.tick (ticksPerRandomizing);
    ASSERT_EQ (editor.currentRound, 2);

    test.switchTest();
    EXPECT_EQ (editor.currentRound, 1);
    EXPECT_EQ (editor.correctAnswers, 0);
    EXPECT_TRUE (test.processor().matchB.load());
    EXPECT_FALSE (test.processor().diffMode.load());

    // Off leaves the alphas alone; on makes everything bright again.
    click (editor.bButton);
    test.switchTest();
    EXPECT_TRUE (hasAlpha (editor.peakMeterA, 1.0f));
    EXPECT_TRUE (hasAlpha (editor.loudnessMeterA, 1.0f));
}

//==============================================================================
namespace
{
    /** Whether the window treats "Input B" as connected: B's bars bright after
        a tick, and a blind test that draws the sources. */
    void expectInputBTreatedAsConnected (const juce::AudioChannelSet& inputA, const juce::AudioChannelSet& inputB,
                                         int inputChannels, bool connected)
    {
        SCOPED_TRACE ("Input A " + inputA.getDescription() + ", Input B " + inputB.getDescription());

        BlindTestWindow test (inputA, inputB);
        auto& editor = test.editor();
        EXPECT_EQ (test.processor().numInputChannels.load(), inputChannels);
        playTestSignals (test.processor(), 0.05);

        click (editor.bButton);
        test.tick();
        EXPECT_TRUE (hasAlpha (editor.peakMeterB, connected ? 1.0f : 0.5f));
        EXPECT_TRUE (hasAlpha (editor.loudnessMeterB, connected ? 1.0f : 0.5f));
        EXPECT_TRUE (hasAlpha (editor.peakMeterA, connected ? 0.5f : 1.0f));

        test.switchTest();
        EXPECT_EQ (editor.isRandomizing, connected);

        if (! connected)
        {
            EXPECT_EQ (editor.blindTestLabel.getText(), "INPUT B NOT\nCONNECTED");
        }
    }
} // namespace

TEST (BlindTestInputB, ConnectedWheneverInputBCarriesChannelsWhateverTheChannelCount)
{
    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    const auto disabled = juce::AudioChannelSet::disabled();

    // Mono A with mono B has no more input channels than stereo A alone, and still counts.
    expectInputBTreatedAsConnected (mono, mono, 2, true);
    expectInputBTreatedAsConnected (mono, stereo, 3, true);
    expectInputBTreatedAsConnected (stereo, stereo, 4, true);
    expectInputBTreatedAsConnected (mono, disabled, 1, false);
    expectInputBTreatedAsConnected (stereo, disabled, 2, false);
}

TEST (BlindTestInputB, WithoutInputBTheAnswersStillScoreAndDrawTheNextRound)
{
    BlindTestWindow test (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::disabled());
    auto& editor = test.editor();
    test.tick();
    ASSERT_TRUE (hasAlpha (editor.peakMeterB, 0.5f));
    test.switchTest();

    EXPECT_FALSE (editor.isRandomizing);
    EXPECT_EQ (editor.blindTestLabel.getText(), "INPUT B NOT\nCONNECTED");
    expectTestControlsShown (editor, true);
    EXPECT_EQ (editor.answerAButton.getButtonText(), "THIS IS A");

    // Switching on brightens B's bars whatever the last click left them at; the
    // next tick dims them again, as nothing comes in on B.
    expectEverythingBright (editor);

    test.tick (3);
    EXPECT_EQ (editor.blindTestLabel.getText(), "INPUT B NOT\nCONNECTED");
    expectBarAlphas (editor, 1.0f, 0.5f);

    test.answer (true);
    EXPECT_EQ (editor.correctAnswers, 1);
    EXPECT_EQ (editor.currentRound, 2);
    EXPECT_TRUE (editor.isRandomizing);
}

//==============================================================================
TEST (BlindTestRendering, RandomizingAnsweringCompleteAndWithoutInputB)
{
    BlindTestWindow test;
    auto& editor = test.editor();
    playTestSignals (test.processor(), 4.0);
    test.tick (30);

    test.switchTest();
    test.tick (4);
    saveSnapshot (editor, "blind-test-randomizing.png");

    test.tick (ticksPerRandomizing - 4);
    saveSnapshot (editor, "blind-test-answering-round-1.png");

    for (int round = 1; round <= 6; ++round)
    {
        if (round > 1)
            test.tick (ticksPerRandomizing);

        test.answer (round != 3);
    }

    saveSnapshot (editor, "blind-test-complete.png");

    editor.setSize (480, 380);
    saveSnapshot (editor, "blind-test-complete-480x380.png");

    BlindTestWindow withoutB (juce::AudioChannelSet::stereo(), juce::AudioChannelSet::disabled());
    withoutB.switchTest();
    withoutB.tick();
    saveSnapshot (withoutB.editor(), "blind-test-without-input-b.png");
}
