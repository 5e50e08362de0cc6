#pragma once

#include "editor/CachedBackground.h"
#include "editor/ClassicVUMeter.h"
#include "editor/LufsVUMeter.h"
#include "editor/ModernVUMeter.h"
#include "look/Look.h"
#include "processor/PluginProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

struct EditorPaintGeometry;

//==============================================================================
/**
    The plug-in's window: the power, A and B buttons bound to the host
    parameters, DIFF and MATCH B, the loudness readouts, two peak bars, two
    loudness bars and two needle meters polled every 33 ms, the logo that opens
    the product's web page, and the blind test.

    The whole window scales with its width at a fixed aspect ratio.

    The controls, the meters and the blind test's state are public so that the
    tests can drive the window as a user and a host would, and read what it shows.
*/
class QuorvaneAudioProcessorEditor : public juce::AudioProcessorEditor,
                                     public juce::Timer
{
public:
    QuorvaneAudioProcessorEditor (QuorvaneAudioProcessor&, juce::AudioProcessorValueTreeState&);
    ~QuorvaneAudioProcessorEditor() override;

    //==============================================================================
    void paint (juce::Graphics&) override;
    void resized() override;

    /** The 33 ms poll: readouts, meters, dimming and the blind test's animation. */
    void timerCallback() override;

    /** The blind test's answer: true for "THIS IS A" (or "AGAIN"), false for
        "THIS IS B" (or "EXIT"). */
    void testButtonClick (bool answerIsA);

    //==============================================================================
    QuorvaneAudioProcessor& audioProcessor;
    juce::AudioProcessorValueTreeState& valueTreeState;

    // Declared before the buttons they bind: the destructor releases them first
    // by hand, so that no parameter change can reach a button being destroyed.
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> onButtonAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> aButtonAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> bButtonAttachment;

    // Built before every component, since it makes itself the default look-and-feel.
    Look look;

    juce::Image backgroundTile;
    juce::ColourGradient backgroundGradient;
    juce::ColourGradient panelGradient;

    juce::ImageButton aButton;
    juce::ImageButton bButton;
    juce::ImageButton blindTestButton;
    juce::ImageButton powerButton;
    juce::ImageButton logoButton;

    juce::TextButton diffButton;
    juce::TextButton matchBButton;
    juce::TextButton answerAButton;
    juce::TextButton answerBButton;

    juce::Label lufsLabelA;
    juce::Label lufsLabelB;
    juce::Label blindTestLabel;

    juce::Random random;

    ModernVUMeter peakMeterA;
    ModernVUMeter peakMeterB;
    LufsVUMeter loudnessMeterA;
    LufsVUMeter loudnessMeterB;
    ClassicVUMeter vuMeterLeft;
    ClassicVUMeter vuMeterRight;

    //==============================================================================
    // The blind test's progress.
    int totalRounds = 6;
    int currentRound = 1; // 0 once every round is answered
    int correctAnswers = 0;
    bool isRandomizing = false;
    float spinAngle = 0.0f;
    float spinStep = 50.0f;

    float baseWidth = 600.0f;
    float baseHeight = 475.0f;

private:
    //==============================================================================
    /** The gradient, the panels with their texture and outlines, the connector
        lines and the labels' frames: everything beneath the children, which only
        the window's size, matching and the blind test's label change. */
    void paintBackground (juce::Graphics&, const EditorPaintGeometry&, bool matching) const;

    CachedBackground background;

    //==============================================================================
    void aButtonClicked();
    void bButtonClicked();
    void endBlindPlayback();
    void showBWhileAIsOff();
    void blindTestButtonClicked();
    void diffButtonClicked();
    void matchBButtonClicked();
    void powerButtonClicked();
    void logoButtonClicked();

    void randomizeStep();
    void setBarMeterAlphas (float alphaA, float alphaB);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuorvaneAudioProcessorEditor)
};
