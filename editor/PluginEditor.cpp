#include "editor/PluginEditor.h"

#include "editor/AddressScrambling.h"
#include "editor/BlindTest.h"
#include "editor/EditorImages.h"
#include "editor/EditorLayout.h"
#include "editor/Readouts.h"

namespace
{
    constexpr auto relaxed = std::memory_order_relaxed;

    constexpr int abRadioGroup = 1;
    constexpr int pollIntervalMs = 33;

    constexpr float lufsLabelCornerSize = 10.0f;
    constexpr float blindTestLabelCornerSize = 14.0f;

    // The skinned image buttons show their own images in every state; the Look
    // draws the skin behind them and the hover highlight over them.
    void setSkinnedButtonImages (juce::ImageButton& button, const juce::Image& normal, const juce::Image& down)
    {
        button.setImages (false, true, true,
                          normal, 1.0f, juce::Colours::transparentBlack,
                          {}, 1.0f, juce::Colours::transparentBlack,
                          down, 1.0f, juce::Colours::transparentBlack,
                          0.0f);
    }
} // namespace

//==============================================================================
QuorvaneAudioProcessorEditor::QuorvaneAudioProcessorEditor (QuorvaneAudioProcessor& p,
                                                            juce::AudioProcessorValueTreeState& vts)
    : AudioProcessorEditor (&p)
    , audioProcessor (p)
    , valueTreeState (vts)
{
    setLookAndFeel (&look);

    const auto images = loadEditorImages();
    backgroundTile = images.backgroundTile;

    logoButton.setImages (false, true, true,
                          images.logo, 1.0f, juce::Colours::transparentBlack,
                          {}, 0.6f, juce::Colour (0x4CB21213),
                          images.logo, 0.9f, juce::Colours::transparentBlack,
                          0.0f);
    logoButton.setClickingTogglesState (false);
    logoButton.setColour (juce::TextButton::buttonColourId, transparentVresk);

    lufsLabelA.setText ("LUFS A", juce::dontSendNotification);
    lufsLabelB.setText ("LUFS B", juce::dontSendNotification);
    blindTestLabel.setText (BlindTest::labelText, juce::dontSendNotification);

    for (auto* label : { &lufsLabelA, &lufsLabelB, &blindTestLabel })
        label->setJustificationType (juce::Justification::centred);

    setSkinnedButtonImages (aButton, images.aButton, images.aButtonDown);
    setSkinnedButtonImages (bButton, images.bButton, images.bButtonDown);
    setSkinnedButtonImages (blindTestButton, images.blindTestButton, images.blindTestButtonDown);
    setSkinnedButtonImages (powerButton, images.powerButton, images.powerButtonDown);

    diffButton.setButtonText ("DIFF");
    matchBButton.setButtonText ("MATCH B");
    answerAButton.setButtonText (BlindTest::answerAText);
    answerBButton.setButtonText (BlindTest::answerBText);

    for (auto* button : { &diffButton, &matchBButton, &answerAButton, &answerBButton })
    {
        button->setColour (juce::TextButton::textColourOffId, greyWhiteVresk);
        button->setColour (juce::TextButton::textColourOnId, blueVresk);
    }

    // The order is also the stacking order, bottom first.
    for (auto* child : std::initializer_list<juce::Component*> { &vuMeterLeft, &vuMeterRight, &aButton, &bButton,
                                                                 &blindTestButton, &diffButton, &matchBButton,
                                                                 &powerButton, &answerAButton, &answerBButton,
                                                                 &logoButton, &lufsLabelA, &lufsLabelB,
                                                                 &blindTestLabel })
        addAndMakeVisible (child);

    // The attachments take the parameters' values now; no click handler is
    // assigned yet, so none runs.
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;
    onButtonAttachment = std::make_unique<ButtonAttachment> (valueTreeState, "onButton", powerButton);
    aButtonAttachment = std::make_unique<ButtonAttachment> (valueTreeState, "AButton", aButton);
    bButtonAttachment = std::make_unique<ButtonAttachment> (valueTreeState, "BButton", bButton);

    // The processor keeps its modes while windows come and go, so the buttons
    // take them from it: a window reopened over DIFF shows DIFF.
    matchBButton.setToggleState (audioProcessor.matchB.load (relaxed), juce::dontSendNotification);
    diffButton.setToggleState (audioProcessor.diffMode.load (relaxed), juce::dontSendNotification);

    for (auto* button : std::initializer_list<juce::Button*> { &aButton, &bButton, &blindTestButton,
                                                               &matchBButton, &diffButton, &powerButton })
        button->setClickingTogglesState (true);

    // If the host left both A and B on, B joining the group switches A off,
    // and A's attachment tells the host.
    aButton.setRadioGroupId (abRadioGroup, juce::sendNotification);
    bButton.setRadioGroupId (abRadioGroup, juce::sendNotification);
    showBWhileAIsOff();

    answerAButton.setVisible (false);
    answerBButton.setVisible (false);
    blindTestLabel.setVisible (false);

    for (auto* meter : std::initializer_list<juce::Component*> { &peakMeterA, &peakMeterB, &loudnessMeterA, &loudnessMeterB })
        addAndMakeVisible (meter);

    setResizable (true, false);
    getConstrainer()->setFixedAspectRatio ((double) (baseWidth / baseHeight));
    setResizeLimits ((int) (baseWidth * 0.8), (int) (baseHeight * 0.8),
                     (int) (baseWidth * 2.0f), (int) (baseHeight * 2.0f));
    setSize ((int) baseWidth, (int) baseHeight);

    startTimer (pollIntervalMs);

    // Every window draws the hidden source anew, so none can be learned from the last.
    audioProcessor.blindPlaysA.store (random.nextBool(), relaxed);

    // clang-format off
    aButton.onClick = [this] { aButtonClicked(); };
    bButton.onClick = [this] { bButtonClicked(); };
    blindTestButton.onClick = [this] { blindTestButtonClicked(); };
    diffButton.onClick = [this] { diffButtonClicked(); };
    matchBButton.onClick = [this] { matchBButtonClicked(); };
    powerButton.onClick = [this] { powerButtonClicked(); };
    answerAButton.onClick = [this] { testButtonClick (true); };
    answerBButton.onClick = [this] { testButtonClick (false); };
    logoButton.onClick = [this] { logoButtonClicked(); };
    // clang-format on
}

QuorvaneAudioProcessorEditor::~QuorvaneAudioProcessorEditor()
{
    // Released while every button still exists, so a parameter change arriving
    // during the closing never reaches a destroyed button.
    onButtonAttachment.reset();
    aButtonAttachment.reset();
    bButtonAttachment.reset();

    // A test left running could never be finished, as its rounds and score go
    // with the window; ending it returns the output to the selected source.
    if (blindTestButton.getToggleState())
        audioProcessor.blindTestActive.store (false, relaxed);

    setLookAndFeel (nullptr);
    stopTimer();
}

//==============================================================================
void QuorvaneAudioProcessorEditor::paint (juce::Graphics& g)
{
    const auto width = getWidth();
    const auto geometry = computePaintGeometry (computeEditorLayout (width), width);
    const auto matching = audioProcessor.matchB.load (relaxed);

    // The loudness readouts belong to matching, so they come and go with it.
    if (lufsLabelA.isVisible() != matching)
    {
        lufsLabelA.setVisible (matching);
        lufsLabelB.setVisible (matching);
    }

    // Nearly every repaint is a meter or a readout changing over a background
    // that only a new size, matching or the blind test's label alter.
    const auto variant = (matching ? 1 : 0) + (blindTestLabel.isVisible() ? 2 : 0);

    background.draw (g, *this, variant,
                     [&] (juce::Graphics& backgroundGraphics)
                     { paintBackground (backgroundGraphics, geometry, matching); });

    g.setColour (OpacityVresk);
    g.setFont (8.0f);
    g.drawText ("1.0.1", geometry.versionTextBox, juce::Justification::centredTop, true);
}

void QuorvaneAudioProcessorEditor::paintBackground (juce::Graphics& g, const EditorPaintGeometry& geometry, bool matching) const
{
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);

    g.setGradientFill (backgroundGradient);
    g.fillAll();

    g.setGradientFill (panelGradient);
    for (const auto* panel : { &geometry.upperPanel, &geometry.lowerPanel })
        g.fillRoundedRectangle (panel->body, PanelShape::cornerSize);

    // Anchored at the window's corner, so the texture lies on the same grid
    // wherever the panels are.
    g.setTiledImageFill (backgroundTile, 0, 0, 0.5f);
    for (const auto* panel : { &geometry.upperPanel, &geometry.lowerPanel })
        g.fillRoundedRectangle (panel->texture, PanelShape::cornerSize);

    g.setColour (blackVresk);
    for (const auto* panel : { &geometry.upperPanel, &geometry.lowerPanel })
        g.drawRoundedRectangle (panel->texture, PanelShape::cornerSize, 3.0f);

    g.setColour (blackUltraVresk);
    for (const auto* panel : { &geometry.upperPanel, &geometry.lowerPanel })
        g.drawRoundedRectangle (panel->outerOutline, PanelShape::cornerSize, 2.0f);

    g.setColour (lightVresk2);
    for (const auto& connector : geometry.connectorLines)
        if (matching || ! connector.onlyWhileMatching)
            g.drawLine (connector.line, 2.0f);

    juce::Array<LabelFrame> frames;

    for (auto* label : { &lufsLabelA, &lufsLabelB })
        if (label->isVisible())
            frames.add (computeLabelFrame (label->getBounds(), lufsLabelCornerSize));

    if (blindTestLabel.isVisible())
        frames.add (computeLabelFrame (blindTestLabel.getBounds(), blindTestLabelCornerSize));

    g.setColour (greyOpacityVresk);
    for (const auto& frame : frames)
        g.fillRoundedRectangle (frame.background, frame.cornerSize);

    g.setColour (greyLightVresk);
    for (const auto& frame : frames)
        g.drawRoundedRectangle (frame.innerOutline, frame.cornerSize, 1.0f);

    g.setColour (blackUltraVresk);
    for (const auto& frame : frames)
        g.drawRoundedRectangle (frame.background, frame.cornerSize, 2.0f);
}

void QuorvaneAudioProcessorEditor::resized()
{
    const auto width = getWidth();
    const auto layout = computeEditorLayout (width);

    look.fontSize = layout.fontSize;
    backgroundGradient = makeBackgroundGradient (width, getHeight());
    panelGradient = makePanelGradient (width, getHeight());

    // Each row of the layout is built from the rows before it; the order here
    // only mirrors that.
    powerButton.setBounds (layout.powerButton);
    logoButton.setBounds (layout.logoButton);
    aButton.setBounds (layout.aButton);
    lufsLabelA.setBounds (layout.lufsLabelA);
    peakMeterA.setBounds (layout.peakMeterA);
    loudnessMeterA.setBounds (layout.loudnessMeterA);
    bButton.setBounds (layout.bButton);
    lufsLabelB.setBounds (layout.lufsLabelB);
    peakMeterB.setBounds (layout.peakMeterB);
    loudnessMeterB.setBounds (layout.loudnessMeterB);
    blindTestButton.setBounds (layout.blindTestButton);
    diffButton.setBounds (layout.diffButton);
    matchBButton.setBounds (layout.matchBButton);
    answerAButton.setBounds (layout.answerAButton);
    answerBButton.setBounds (layout.answerBButton);
    vuMeterLeft.setBounds (layout.vuMeterLeft);
    vuMeterRight.setBounds (layout.vuMeterRight);
    blindTestLabel.setBounds (layout.blindTestLabel);
}

void QuorvaneAudioProcessorEditor::timerCallback()
{
    const auto textA = formatLoudnessReadout (audioProcessor.aActive.load (relaxed), audioProcessor.shortTermA.load (relaxed));
    const auto textB = formatLoudnessReadout (audioProcessor.bActive.load (relaxed), audioProcessor.shortTermB.load (relaxed));

    const auto readings = readMeterValues (audioProcessor);
    vuMeterLeft.setValue (readings.vuMeterLeft);
    vuMeterRight.setValue (readings.vuMeterRight);
    peakMeterA.setValue (readings.peakMeterA);
    peakMeterB.setValue (readings.peakMeterB);
    loudnessMeterA.setValue (readings.loudnessMeterA);
    loudnessMeterB.setValue (readings.loudnessMeterB);

    lufsLabelA.setText (textA, juce::dontSendNotification);
    lufsLabelB.setText (textB, juce::dontSendNotification);

    showBWhileAIsOff();

    // Without a second input there is nothing to show for B, whichever of A and
    // B was clicked last.
    if (! audioProcessor.isInputBConnected())
        setBarMeterAlphas (1.0f, 0.5f);

    if (isRandomizing)
        randomizeStep();
}

//==============================================================================
void QuorvaneAudioProcessorEditor::setBarMeterAlphas (float alphaA, float alphaB)
{
    peakMeterA.setAlpha (alphaA);
    peakMeterB.setAlpha (alphaB);
    loudnessMeterA.setAlpha (alphaA);
    loudnessMeterB.setAlpha (alphaB);
}

void QuorvaneAudioProcessorEditor::aButtonClicked()
{
    aButton.setAlpha (1.0f);
    bButton.setAlpha (1.0f);
    setBarMeterAlphas (1.0f, 0.5f);

    audioProcessor.aSelected.store (aButton.getToggleState(), relaxed);
    endBlindPlayback();
    showBWhileAIsOff();
}

void QuorvaneAudioProcessorEditor::bButtonClicked()
{
    aButton.setAlpha (1.0f);
    bButton.setAlpha (1.0f);
    setBarMeterAlphas (0.5f, 1.0f);

    // aSelected was already cleared by A's handler when the radio group switched
    // A off, and the audio thread follows "AButton" at every chunk anyway.
    endBlindPlayback();
}

void QuorvaneAudioProcessorEditor::showBWhileAIsOff()
{
    // B plays whenever "AButton" is off, but the radio group only acts on a
    // button switching on: a host that switches "AButton" off alone, or
    // "BButton" off while A is off, would leave both buttons off. B shows
    // selected then, as after a click on B; without a notification, so that its
    // attachment writes nothing to the host. When it is B switching on that
    // turned A off, B is not on yet in A's handler and only comes on a moment
    // early. B's own handler cannot tell "BButton" switched off alone from A
    // switching on, which turns B off before A is on; the timer looks instead.
    if (! aButton.getToggleState() && ! bButton.getToggleState())
    {
        bButton.setToggleState (true, juce::dontSendNotification);
        setBarMeterAlphas (0.5f, 1.0f);
    }
}

void QuorvaneAudioProcessorEditor::endBlindPlayback()
{
    audioProcessor.blindTestActive.store (false, relaxed);

    // A and B are disabled during the test, so only the host gets here with the
    // test on. Its controls would go on scoring answers against a source that
    // no longer plays; switching it off shows the source that does.
    if (blindTestButton.getToggleState())
        blindTestButton.setToggleState (false, juce::sendNotification);
}

void QuorvaneAudioProcessorEditor::diffButtonClicked()
{
    audioProcessor.diffMode.store (diffButton.getToggleState(), relaxed);
}

void QuorvaneAudioProcessorEditor::matchBButtonClicked()
{
    audioProcessor.matchB.store (matchBButton.getToggleState(), relaxed);

    // The readouts and their connector lines follow matching at once.
    repaint();
}

void QuorvaneAudioProcessorEditor::powerButtonClicked()
{
    // Only a click by the user writes here: when the host changes "onButton",
    // the audio thread follows the parameter at its next chunk by itself.
    if (powerButton.isMouseOverOrDragging())
        audioProcessor.bypassed.store (! powerButton.getToggleState(), relaxed);
}

void QuorvaneAudioProcessorEditor::logoButtonClicked()
{
    juce::URL (getProductWebAddress()).launchInDefaultBrowser();
}

//==============================================================================
void QuorvaneAudioProcessorEditor::blindTestButtonClicked()
{
    const auto testOn = blindTestButton.getToggleState();

    currentRound = 1;
    correctAnswers = 0;
    audioProcessor.blindTestActive.store (testOn, relaxed);

    vuMeterLeft.setVisible (! testOn);
    vuMeterRight.setVisible (! testOn);
    diffButton.setVisible (! testOn);
    aButton.setEnabled (! testOn);
    bButton.setEnabled (! testOn);

    answerAButton.setButtonText (BlindTest::answerAText);
    answerBButton.setButtonText (BlindTest::answerBText);
    answerAButton.setVisible (testOn);
    answerBButton.setVisible (testOn);
    blindTestLabel.setVisible (testOn);

    // A fair comparison is of A against the matched B, and DIFF would give the
    // answer away; their own handlers tell the processor.
    matchBButton.setToggleState (true, juce::sendNotification);
    diffButton.setToggleState (false, juce::sendNotification);

    if (testOn)
    {
        aButton.setAlpha (1.0f);
        bButton.setAlpha (1.0f);
        setBarMeterAlphas (1.0f, 1.0f);

        if (! audioProcessor.isInputBConnected())
        {
            blindTestLabel.setText (BlindTest::inputBNotConnectedText, juce::dontSendNotification);
        }
        else
        {
            isRandomizing = true;
            spinAngle = 0.0f;
        }
    }

    repaint();
}

void QuorvaneAudioProcessorEditor::randomizeStep()
{
    blindTestLabel.setText (BlindTest::randomizingText, juce::dontSendNotification);
    spinAngle += spinStep;

    if (spinAngle >= BlindTest::spinEndDegrees)
    {
        isRandomizing = false;
        spinAngle = 0.0f;
        blindTestButton.setTransform ({});
        audioProcessor.blindPlaysA.store (random.nextBool(), relaxed);
        blindTestLabel.setText (BlindTest::roundText (currentRound, totalRounds), juce::dontSendNotification);
    }
    else
    {
        blindTestButton.setTransform (BlindTest::spinTransform (spinAngle, blindTestButton.getBounds()));
    }
}

void QuorvaneAudioProcessorEditor::testButtonClick (bool answerIsA)
{
    // While the sources are being drawn there is no round to answer: the answer
    // would be scored against the source of the round just answered.
    if (isRandomizing)
        return;

    if (currentRound == 0)
    {
        // "AGAIN" and "EXIT": switching the test off and, for AGAIN, on again
        // runs the blind test button's handler each time, which starts afresh.
        blindTestButton.setToggleState (false, juce::sendNotification);

        if (answerIsA)
            blindTestButton.setToggleState (true, juce::sendNotification);

        return;
    }

    const auto answeredRound = currentRound;
    currentRound = answeredRound + 1;

    if (audioProcessor.blindPlaysA.load (relaxed) == answerIsA)
        ++correctAnswers;

    if (answeredRound < totalRounds)
    {
        isRandomizing = true;
        spinAngle = 0.0f;
        return;
    }

    currentRound = 0;
    blindTestLabel.setText (BlindTest::completionText (correctAnswers, totalRounds), juce::dontSendNotification);
    answerAButton.setButtonText (BlindTest::againText);
    answerBButton.setButtonText (BlindTest::exitText);
}
