#include "EditorTestSupport.h"
#include "HeadlessPeer.h"

#include "BinaryData.h"
#include "editor/AddressScrambling.h"

#include <limits>
#include <malloc.h>

using namespace EditorTestSupport;

namespace
{
    /** Records the handlers that a button change runs, in order, and still runs them. */
    struct HandlerLog
    {
        void watch (juce::Button& button, const juce::String& name)
        {
            button.onClick = [this, name, handler = button.onClick]
            {
                calls.add (name);
                handler();
            };
        }

        juce::StringArray calls;
    };

    // The web address is stored scrambled; this is the scrambling the stored
    // text was made with, written out independently of the unscrambling.
    juce::String scramble (const juce::String& address, const char* key)
    {
        static constexpr int indexShifts[] = { 7, 13, 19, 23 };
        const auto keyLength = (int) std::strlen (key);
        std::string text (address.toRawUTF8());

        for (int i = 0; i < (int) text.size(); ++i)
        {
            const auto c = (int) (unsigned char) text[(size_t) i];

            if (c < '/' || c > 'z')
                continue;

            const auto a = (((unsigned char) key[i % keyLength] + i) * 17 + 17) % 76;
            const auto shift = (a + indexShifts[i % 4]) % 76;
            text[(size_t) i] = (char) ('/' + (c - '/' + shift) % 76);
        }

        return juce::String::fromUTF8 (text.data(), (int) text.size());
    }
} // namespace

//==============================================================================
TEST (EditorConstruction, OpensAt600x475WithTheDefaultStatesAndEveryChildOpaque)
{
    OpenWindow window;
    auto& editor = *window.editor;

    EXPECT_EQ (editor.getWidth(), 600);
    EXPECT_EQ (editor.getHeight(), 475);

    EXPECT_TRUE (editor.aButton.getToggleState());
    EXPECT_FALSE (editor.bButton.getToggleState());
    EXPECT_TRUE (editor.powerButton.getToggleState());
    EXPECT_TRUE (editor.matchBButton.getToggleState());
    EXPECT_FALSE (editor.diffButton.getToggleState());
    EXPECT_FALSE (editor.blindTestButton.getToggleState());

    EXPECT_FALSE (editor.answerAButton.isVisible());
    EXPECT_FALSE (editor.answerBButton.isVisible());
    EXPECT_FALSE (editor.blindTestLabel.isVisible());

    for (auto* child : std::initializer_list<juce::Component*> { &editor.aButton, &editor.bButton, &editor.blindTestButton,
                                                                 &editor.powerButton, &editor.logoButton, &editor.diffButton,
                                                                 &editor.matchBButton, &editor.lufsLabelA, &editor.lufsLabelB,
                                                                 &editor.peakMeterA, &editor.peakMeterB, &editor.loudnessMeterA,
                                                                 &editor.loudnessMeterB, &editor.vuMeterLeft, &editor.vuMeterRight })
        EXPECT_TRUE (child->isVisible());

    for (auto* child : editor.getChildren())
        EXPECT_TRUE (hasAlpha (*child, 1.0f));

    EXPECT_EQ (editor.lufsLabelA.getText(), "LUFS A");
    EXPECT_EQ (editor.lufsLabelB.getText(), "LUFS B");
    EXPECT_EQ (editor.blindTestLabel.getText(), "BLIND TEST");
    EXPECT_EQ (editor.diffButton.getButtonText(), "DIFF");
    EXPECT_EQ (editor.matchBButton.getButtonText(), "MATCH B");
    EXPECT_EQ (editor.answerAButton.getButtonText(), "THIS IS A");
    EXPECT_EQ (editor.answerBButton.getButtonText(), "THIS IS B");

    EXPECT_EQ (editor.getTimerInterval(), 33);
    EXPECT_EQ (&editor.getLookAndFeel(), &editor.look);

    // Before the host has processed anything there is no level to show.
    editor.timerCallback();
    EXPECT_EQ (editor.vuMeterLeft.getValue(), -60.0f);
    EXPECT_EQ (editor.vuMeterRight.getValue(), -60.0f);
    EXPECT_LT (editor.peakMeterA.getLevel(), -75.0f);
    EXPECT_LT (editor.peakMeterB.getLevel(), -75.0f);
}

TEST (EditorConstruction, TheHostMayResizeItAt600To475BetweenHalfAndDoubleTheAreaWithoutACornerResizer)
{
    OpenWindow window;
    auto& editor = *window.editor;
    auto* constrainer = editor.getConstrainer();
    ASSERT_NE (constrainer, nullptr);

    EXPECT_TRUE (editor.isResizable());
    EXPECT_EQ (constrainer->getMinimumWidth(), 480);
    EXPECT_EQ (constrainer->getMinimumHeight(), 380);
    EXPECT_EQ (constrainer->getMaximumWidth(), 1200);
    EXPECT_EQ (constrainer->getMaximumHeight(), 950);
    EXPECT_EQ (constrainer->getFixedAspectRatio(), (double) (600.0f / 475.0f));

    for (auto* child : editor.getChildren())
        EXPECT_EQ (dynamic_cast<juce::ResizableCornerComponent*> (child), nullptr);

    editor.setBoundsConstrained ({ 0, 0, 2000, 2000 });
    EXPECT_EQ (editor.getWidth(), 1200);
    EXPECT_EQ (editor.getHeight(), 950);

    editor.setBoundsConstrained ({ 0, 0, 100, 100 });
    EXPECT_EQ (editor.getWidth(), 480);
    EXPECT_EQ (editor.getHeight(), 380);
}

TEST (EditorConstruction, TheLogoIsDrawnWithoutSkinAndTheTextButtonsUseTheirOwnTextColours)
{
    OpenWindow window;
    auto& editor = *window.editor;

    EXPECT_EQ (editor.logoButton.findColour (juce::TextButton::buttonColourId), transparentVresk);
    EXPECT_FALSE (editor.logoButton.getClickingTogglesState());

    for (auto* button : { &editor.diffButton, &editor.matchBButton, &editor.answerAButton, &editor.answerBButton })
    {
        EXPECT_EQ (button->findColour (juce::TextButton::textColourOffId), greyWhiteVresk);
        EXPECT_EQ (button->findColour (juce::TextButton::textColourOnId), blueVresk);
    }
}

namespace
{
    /** Notes what an image button hands its look-and-feel to draw. */
    struct ImageButtonRecorder : public juce::LookAndFeel_V4
    {
        struct Drawn
        {
            juce::Image image;
            float opacity = -1.0f;
            juce::Colour overlay;
        };

        void drawImageButton (juce::Graphics&, juce::Image* image, int, int, int, int,
                              const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton&) override
        {
            drawn = { *image, imageOpacity, overlayColour };
        }

        /** What the button draws in the given state, toggled off. */
        Drawn draw (juce::ImageButton& button, juce::Button::ButtonState state)
        {
            drawn = {};
            button.setToggleState (false, juce::dontSendNotification);
            button.setState (state);
            button.setLookAndFeel (this);
            button.createComponentSnapshot (button.getLocalBounds());
            button.setLookAndFeel (nullptr);
            button.setState (juce::Button::buttonNormal);
            return drawn;
        }

        Drawn drawn;
    };

    juce::Image embedded (const char* data, int size)
    {
        return juce::ImageCache::getFromMemory (data, size);
    }

    void expectDrawn (const ImageButtonRecorder::Drawn& drawn, const juce::Image& image, float opacity, juce::Colour overlay)
    {
        EXPECT_TRUE (drawn.image == image);
        EXPECT_EQ (drawn.opacity, opacity);
        EXPECT_EQ (drawn.overlay, overlay);
    }
} // namespace

TEST (EditorConstruction, EachImageButtonDrawsItsOwnImagesOpacitiesAndOverlaysInEveryState)
{
    using namespace BinaryData;
    OpenWindow window;
    auto& editor = *window.editor;
    ImageButtonRecorder recorder;
    const auto none = juce::Colours::transparentBlack;

    struct Skinned
    {
        juce::ImageButton& button;
        juce::Image normal, down;
    };

    // The four skinned buttons: their own icon, opaque and without overlay,
    // whether the mouse is over them or not; the lit icon while pressed.
    for (const auto& skinned : { Skinned { editor.aButton, embedded (icon_a_png, icon_a_pngSize), embedded (icon_a_on_png, icon_a_on_pngSize) },
                                 Skinned { editor.bButton, embedded (icon_b_png, icon_b_pngSize), embedded (icon_b_on_png, icon_b_on_pngSize) },
                                 Skinned { editor.blindTestButton, embedded (icon_blind_test_png, icon_blind_test_pngSize),
                                           embedded (icon_blind_test_on_png, icon_blind_test_on_pngSize) },
                                 Skinned { editor.powerButton, embedded (icon_power_png, icon_power_pngSize),
                                           embedded (icon_power_on_png, icon_power_on_pngSize) } })
    {
        SCOPED_TRACE (skinned.button.getBounds().toString());
        expectDrawn (recorder.draw (skinned.button, juce::Button::buttonNormal), skinned.normal, 1.0f, none);
        expectDrawn (recorder.draw (skinned.button, juce::Button::buttonOver), skinned.normal, 1.0f, none);
        expectDrawn (recorder.draw (skinned.button, juce::Button::buttonDown), skinned.down, 1.0f, none);
    }

    EXPECT_TRUE (editor.backgroundTile == embedded (panel_tile_jpg, panel_tile_jpgSize));

    // The logo is the same image throughout; only what it hands the
    // look-and-feel changes (the Look itself draws it plain).
    const auto logo = embedded (logo_png, logo_pngSize);
    expectDrawn (recorder.draw (editor.logoButton, juce::Button::buttonNormal), logo, 1.0f, none);
    expectDrawn (recorder.draw (editor.logoButton, juce::Button::buttonOver), logo, 0.6f, juce::Colour (0x4CB21213));
    expectDrawn (recorder.draw (editor.logoButton, juce::Button::buttonDown), logo, 0.9f, none);
}

TEST (EditorConstruction, OpensWithBSelectedWhenTheHostLeftItSoAndTurnsAOffWhenBothWereOn)
{
    // With both on at the opening, A turns off and the host is told. With both
    // off, B plays and shows selected, and "BButton" stays as the host left it.
    const std::pair<bool, bool> hostSwitches[] { { false, true }, { true, true }, { false, false } };

    for (const auto& [hostLeftAOn, hostLeftBOn] : hostSwitches)
    {
        SCOPED_TRACE (juce::String ("A ") + (hostLeftAOn ? "on" : "off") + ", B " + (hostLeftBOn ? "on" : "off"));
        QuorvaneAudioProcessor processor;
        setParameter (processor, "AButton", hostLeftAOn);
        setParameter (processor, "BButton", hostLeftBOn);
        ASSERT_EQ (parameterIsOn (processor, "AButton"), hostLeftAOn);

        const auto editor = createEditor (processor);

        EXPECT_FALSE (editor->aButton.getToggleState());
        EXPECT_TRUE (editor->bButton.getToggleState());
        EXPECT_FALSE (parameterIsOn (processor, "AButton"));
        EXPECT_EQ (parameterIsOn (processor, "BButton"), hostLeftBOn);
    }
}

TEST (EditorConstruction, EveryWindowDrawsTheHiddenSourceAnew)
{
    QuorvaneAudioProcessor processor;
    int timesA = 0;
    constexpr int windows = 64;

    for (int i = 0; i < windows; ++i)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());

        if (processor.blindPlaysA.load())
            ++timesA;
    }

    EXPECT_GT (timesA, 0);
    EXPECT_LT (timesA, windows);
}

//==============================================================================
TEST (EditorClicks, ClickingAWhileItIsOnKeepsItOnAndStillRunsItsHandler)
{
    OpenWindow window;
    auto& editor = *window.editor;
    editor.peakMeterA.setAlpha (0.2f);
    editor.loudnessMeterB.setAlpha (0.2f);
    editor.bButton.setAlpha (0.2f);
    window.processor.blindTestActive = true;

    click (editor.aButton);

    EXPECT_TRUE (editor.aButton.getToggleState());
    EXPECT_FALSE (editor.bButton.getToggleState());
    EXPECT_TRUE (hasAlpha (editor.bButton, 1.0f));
    expectBarAlphas (editor, 1.0f, 0.5f);
    EXPECT_TRUE (window.processor.aSelected.load());
    EXPECT_FALSE (window.processor.blindTestActive.load());
}

TEST (EditorClicks, SelectingBByAClickOrFromTheHostRunsAsHandlerFirstAndLeavesBsMetersBright)
{
    for (const auto fromHost : { false, true })
    {
        SCOPED_TRACE (fromHost ? "from the host" : "by a click");
        OpenWindow window;
        auto& editor = *window.editor;
        HandlerLog log;
        log.watch (editor.aButton, "A");
        log.watch (editor.bButton, "B");
        window.processor.blindTestActive = true;

        if (fromHost)
            setParameter (window.processor, "BButton", true);
        else
            click (editor.bButton);

        EXPECT_EQ (log.calls, juce::StringArray ({ "A", "B" }));
        EXPECT_FALSE (editor.aButton.getToggleState());
        EXPECT_TRUE (editor.bButton.getToggleState());
        EXPECT_FALSE (parameterIsOn (window.processor, "AButton"));
        EXPECT_TRUE (parameterIsOn (window.processor, "BButton"));
        EXPECT_FALSE (window.processor.aSelected.load());
        EXPECT_FALSE (window.processor.blindTestActive.load());

        EXPECT_TRUE (hasAlpha (editor.aButton, 1.0f));
        EXPECT_TRUE (hasAlpha (editor.bButton, 1.0f));
        expectBarAlphas (editor, 0.5f, 1.0f);
    }
}

TEST (EditorClicks, DiffAndMatchBSwitchTheProcessorsModes)
{
    OpenWindow window;
    auto& editor = *window.editor;

    click (editor.diffButton);
    EXPECT_TRUE (window.processor.diffMode.load());
    click (editor.diffButton);
    EXPECT_FALSE (window.processor.diffMode.load());

    click (editor.matchBButton);
    EXPECT_FALSE (editor.matchBButton.getToggleState());
    EXPECT_FALSE (window.processor.matchB.load());
    click (editor.matchBButton);
    EXPECT_TRUE (window.processor.matchB.load());
}

TEST (EditorClicks, MatchBRepaintsTheWholeWindowAndDiffDoesNot)
{
    OpenWindow window;
    auto& editor = *window.editor;
    auto* recorder = new RepaintRecorder();
    editor.setCachedComponentImage (recorder);
    recorder->wholeRepaints = 0; // installing it repaints once

    click (editor.diffButton);
    EXPECT_EQ (recorder->wholeRepaints, 0);

    click (editor.matchBButton);
    EXPECT_EQ (recorder->wholeRepaints, 1);

    editor.setCachedComponentImage (nullptr);
}

TEST (EditorClicks, TheLogoNeverStaysToggled)
{
    OpenWindow window;
    auto& editor = *window.editor;
    int clicks = 0;

    // Counted instead of opening a browser.
    editor.logoButton.onClick = [&clicks]
    {
        ++clicks;
    };

    click (editor.logoButton);
    click (editor.logoButton);

    EXPECT_EQ (clicks, 2);
    EXPECT_FALSE (editor.logoButton.getToggleState());
}

TEST (EditorClicks, PowerWithoutTheMouseOverItChangesTheParameterButWritesNothing)
{
    OpenWindow window;
    auto& editor = *window.editor;
    HandlerLog log;
    log.watch (editor.powerButton, "power");

    click (editor.powerButton);

    EXPECT_EQ (log.calls.size(), 1);
    EXPECT_FALSE (editor.powerButton.getToggleState());
    EXPECT_FALSE (parameterIsOn (window.processor, "onButton"));
    EXPECT_FALSE (window.processor.bypassed.load());
}

namespace
{
    /** The host's window around the editor, on a headless peer. */
    struct HostWindow : public juce::Component
    {
        explicit HostWindow (juce::Component& editor)
        {
            setSize (editor.getWidth(), editor.getHeight());
            addAndMakeVisible (editor);
            setVisible (true);
            addToDesktop (0);
        }

        ~HostWindow() override
        {
            removeFromDesktop();
            removeAllChildren();
        }

        juce::ComponentPeer* createNewPeer (int, void*) override { return new TestSupport::HeadlessPeer (*this); }

        /** What the system sends a window for a click of the left button. */
        void click (juce::Point<int> position)
        {
            auto* peer = getPeer();
            const auto mouse = juce::MouseInputSource::InputSourceType::mouse;
            const auto pressure = juce::MouseInputSource::defaultPressure;
            const auto at = position.toFloat();

            peer->handleMouseEvent (mouse, at, {}, pressure, 0.0f, time += 100);
            peer->handleMouseEvent (mouse, at, juce::ModifierKeys::leftButtonModifier, pressure, 0.0f, time += 100);
            peer->handleMouseEvent (mouse, at, {}, pressure, 0.0f, time += 100);
        }

        /** Moves the mouse away, out of the window. */
        void leave()
        {
            getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { -10.0f, -10.0f }, {},
                                         juce::MouseInputSource::defaultPressure, 0.0f, time += 100);
        }

        juce::int64 time = juce::Time::currentTimeMillis();
    };
} // namespace

TEST (EditorClicks, PowerClickedByTheUserSwitchesProcessingAtOnce)
{
    OpenWindow window;
    auto& editor = *window.editor;
    HostWindow host (editor);
    const auto power = editor.powerButton.getBounds().getCentre();

    host.click (power);
    EXPECT_FALSE (editor.powerButton.getToggleState());
    EXPECT_FALSE (parameterIsOn (window.processor, "onButton"));
    EXPECT_TRUE (window.processor.bypassed.load());

    host.click (power);
    EXPECT_TRUE (editor.powerButton.getToggleState());
    EXPECT_FALSE (window.processor.bypassed.load());

    // With the mouse elsewhere, a host change reaches the button but not the processor.
    host.leave();
    setParameter (window.processor, "onButton", false);
    EXPECT_FALSE (editor.powerButton.getToggleState());
    EXPECT_FALSE (window.processor.bypassed.load());
}

//==============================================================================
TEST (EditorHostChanges, AParameterChangeAfterBReachesTheButtonsAndRunsTheirHandlers)
{
    OpenWindow window;
    auto& editor = *window.editor;
    setParameter (window.processor, "BButton", true);

    HandlerLog log;
    log.watch (editor.aButton, "A");
    log.watch (editor.bButton, "B");
    setParameter (window.processor, "AButton", true);

    EXPECT_EQ (log.calls, juce::StringArray ({ "B", "A" }));
    EXPECT_TRUE (editor.aButton.getToggleState());
    EXPECT_FALSE (editor.bButton.getToggleState());
    EXPECT_FALSE (parameterIsOn (window.processor, "BButton"));
    EXPECT_TRUE (window.processor.aSelected.load());
    expectBarAlphas (editor, 1.0f, 0.5f);
}

TEST (EditorHostChanges, EitherSwitchTurnedOffAloneShowsBSelectedWithoutWritingBButton)
{
    OpenWindow window;
    auto& editor = *window.editor;

    struct WriteCounter : public juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged (int, float) override { ++writes; }
        void parameterGestureChanged (int, bool) override { ++writes; }
        int writes = 0;
    } bButtonWrites;

    auto* bParameter = window.processor.parameters.getParameter ("BButton");
    bParameter->addListener (&bButtonWrites);

    // B plays; the window shows it as a click on B would.
    setParameter (window.processor, "AButton", false);

    EXPECT_FALSE (editor.aButton.getToggleState());
    EXPECT_TRUE (editor.bButton.getToggleState());
    EXPECT_FALSE (window.processor.aSelected.load());
    EXPECT_TRUE (hasAlpha (editor.aButton, 1.0f));
    EXPECT_TRUE (hasAlpha (editor.bButton, 1.0f));
    expectBarAlphas (editor, 0.5f, 1.0f);

    // And so it does again by the next tick when the host switches "BButton"
    // on and off while A is off.
    setParameter (window.processor, "BButton", true);
    setParameter (window.processor, "BButton", false);
    editor.timerCallback();

    EXPECT_TRUE (editor.bButton.getToggleState());
    expectBarAlphas (editor, 0.5f, 1.0f);

    setParameter (window.processor, "AButton", true);

    EXPECT_TRUE (editor.aButton.getToggleState());
    EXPECT_FALSE (editor.bButton.getToggleState());
    EXPECT_TRUE (window.processor.aSelected.load());
    expectBarAlphas (editor, 1.0f, 0.5f);

    // The host's own two changes of "BButton", and nothing from the window.
    EXPECT_EQ (bButtonWrites.writes, 2);
    bParameter->removeListener (&bButtonWrites);
}

TEST (EditorHostChanges, OnButtonTogglesPowerAndLeavesBypassToTheAudioThread)
{
    OpenWindow window;
    auto& editor = *window.editor;
    HandlerLog log;
    log.watch (editor.powerButton, "power");

    setParameter (window.processor, "onButton", false);

    EXPECT_FALSE (editor.powerButton.getToggleState());
    EXPECT_EQ (log.calls.size(), 1);
    EXPECT_FALSE (window.processor.bypassed.load());

    setParameter (window.processor, "onButton", true);
    EXPECT_TRUE (editor.powerButton.getToggleState());
    EXPECT_EQ (log.calls.size(), 2);
}

//==============================================================================
namespace
{
    /** Notes, when a button dies, whether anything still binds it to a parameter,
        and plays a host change right then. */
    struct ClosingWatcher : public juce::ComponentListener
    {
        ClosingWatcher (QuorvaneAudioProcessorEditor& e, QuorvaneAudioProcessor& p)
            : editor (e)
            , processor (p)
        {
        }

        void componentBeingDeleted (juce::Component&) override
        {
            ++buttonsDeleted;

            if (editor.onButtonAttachment != nullptr || editor.aButtonAttachment != nullptr || editor.bButtonAttachment != nullptr)
                ++deletedWhileBound;

            for (auto* id : { "onButton", "AButton", "BButton" })
                setParameter (processor, id, ! parameterIsOn (processor, id));
        }

        QuorvaneAudioProcessorEditor& editor;
        QuorvaneAudioProcessor& processor;
        int buttonsDeleted = 0;
        int deletedWhileBound = 0;
    };
} // namespace

TEST (EditorClosing, ReleasesTheAttachmentsBeforeAnyButtonGoes)
{
    QuorvaneAudioProcessor processor;
    auto editor = createEditor (processor);
    ClosingWatcher watcher (*editor, processor);

    for (auto* button : std::initializer_list<juce::Button*> { &editor->aButton, &editor->bButton, &editor->blindTestButton,
                                                               &editor->powerButton, &editor->logoButton, &editor->diffButton,
                                                               &editor->matchBButton, &editor->answerAButton, &editor->answerBButton })
        button->addComponentListener (&watcher);

    editor.reset();

    EXPECT_EQ (watcher.buttonsDeleted, 9);
    EXPECT_EQ (watcher.deletedWhileBound, 0);

    // And once the window is gone, host changes go nowhere.
    for (auto* id : { "onButton", "AButton", "BButton" })
        setParameter (processor, id, ! parameterIsOn (processor, id));
}

TEST (EditorClosing, TheProcessorKeepsTheModesTheWindowLeftAndTheNextWindowShowsThem)
{
    QuorvaneAudioProcessor processor;

    {
        const auto editor = createEditor (processor);
        click (editor->matchBButton);
        click (editor->diffButton);
    }

    EXPECT_FALSE (processor.matchB.load());
    EXPECT_TRUE (processor.diffMode.load());

    {
        const auto editor = createEditor (processor);
        EXPECT_FALSE (editor->matchBButton.getToggleState());
        EXPECT_TRUE (editor->diffButton.getToggleState());
        EXPECT_FALSE (editor->blindTestButton.getToggleState());

        // One click changes what plays.
        click (editor->diffButton);
        EXPECT_FALSE (processor.diffMode.load());
        click (editor->matchBButton);
    }

    EXPECT_TRUE (processor.matchB.load());
    EXPECT_FALSE (processor.diffMode.load());
}

TEST (EditorClosing, OpeningAndClosingAThousandTimesLeaksNothing)
{
    QuorvaneAudioProcessor processor;

    const auto openAndClose = [&processor]
    {
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
            editor->setVisible (true);
        }

        // A host's message loop would deliver what the window posted.
        deliverPendingMessages();
    };

    // The first windows fill the framework's image, typeface and glyph caches,
    // grow its listener arrays to their working sizes and settle the
    // allocator's per-thread caches, which count as memory in use.
    for (int i = 0; i < 1000; ++i)
        openAndClose();

    // After that the allocator still settles now and then, by a few kilobytes in
    // a round but not in every round, while a leak grows every round alike. One
    // heap block of the smallest size (32 bytes) left behind by each window adds
    // 16 kB to every round; half of that in every round fails.
    constexpr int windowsPerRound = 500;
    juce::String growths;
    auto smallestGrowth = std::numeric_limits<long long>::max();

    for (int round = 0; round < 5; ++round)
    {
        // Allocations of this thread come from the main arena.
        const auto bytesInUseBefore = mallinfo2().uordblks;

        for (int i = 0; i < windowsPerRound; ++i)
            openAndClose();

        const auto growth = (long long) mallinfo2().uordblks - (long long) bytesInUseBefore;
        smallestGrowth = std::min (smallestGrowth, growth);
        growths << " " << growth;
    }

    EXPECT_LT (smallestGrowth, 16 * windowsPerRound) << "bytes grown in each round:" << growths;
}

//==============================================================================
TEST (EditorWebAddress, UnscramblingUndoesTheScramblingOfEveryCharacterClass)
{
    const char* key = "k3Y_with-15chr!";
    ASSERT_EQ (std::strlen (key), 15u);

    // Inside '/'..'z' (both ends included) the characters are shifted; outside
    // they stand. The text is longer than the key, so the key wraps around.
    const juce::String samples[] = {
        "https://www.example.org/path?query=1&x=y#frag",
        "/09:;<=>?@AZ[\\]^_`az",
        " !\"#$%&'()*+,-.{|}~",
        "",
    };

    for (const auto& address : samples)
    {
        const auto scrambled = scramble (address, key);
        EXPECT_EQ (scrambled.length(), address.length());
        EXPECT_EQ (unscrambleAddress (scrambled.toRawUTF8(), key), address) << address;
    }

    // A scrambling that changed nothing would round-trip too.
    const auto inside = juce::String ("/09:;<=>?@AZ[\\]^_`az");
    EXPECT_NE (scramble (inside, key), inside);
}

TEST (EditorWebAddress, TheStoredAddressIsTheVendorsSecurePage)
{
    EXPECT_EQ (getProductWebAddress(), "https://www.vresk.audio/quorvane");
}
