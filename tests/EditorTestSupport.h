#pragma once

#include "TestSupport.h"
#include "editor/PluginEditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace juce
{
    // The framework's own Linux plug-in message thread drives the queue with this.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

/*  Builders shared by the editor's suites: a processor with its window, clicks
    delivered the way the framework delivers them, host parameter changes,
    test signals through the audio path, and snapshots into the build tree.
*/
namespace EditorTestSupport
{
    /** The processor's window, as the processor's own type. */
    inline std::unique_ptr<QuorvaneAudioProcessorEditor> createEditor (QuorvaneAudioProcessor& processor)
    {
        return std::unique_ptr<QuorvaneAudioProcessorEditor> (dynamic_cast<QuorvaneAudioProcessorEditor*> (processor.createEditor()));
    }

    /** A processor and its open window. The window is shown (without a desktop
        peer) so that repaints reach the editor the way they do in a host. */
    struct OpenWindow
    {
        OpenWindow()
            : editor (createEditor (processor))
        {
            editor->setVisible (true);
        }

        QuorvaneAudioProcessor processor;
        std::unique_ptr<QuorvaneAudioProcessorEditor> editor; // closed before the processor goes
    };

    /** A click as the framework delivers it: triggerClick posts this message to
        the button, and the button handles it like a mouse click (radio group,
        toggling, handlers and listeners). Delivering it at once spares the
        tests the message loop. */
    inline void click (juce::Button& button)
    {
        constexpr int buttonClickMessage = 0x2f3f4f99;
        static_cast<juce::Component&> (button).handleCommandMessage (buttonClickMessage);
    }

    /** Delivers every message already posted to the message thread and returns
        once none is left; it never waits for new ones. The suites run no message
        loop, so without this the framework's change notifications (a button's
        toggle state, for one) would pile up in the queue. */
    inline void deliverPendingMessages()
    {
        while (juce::dispatchNextMessageOnSystemQueue (true))
        {
        }
    }

    /** A host change of a switch parameter, on the message thread. */
    inline void setParameter (QuorvaneAudioProcessor& processor, const juce::String& id, bool on)
    {
        processor.parameters.getParameter (id)->setValueNotifyingHost (on ? 1.0f : 0.0f);
    }

    /** The framework keeps a component's alpha in eight bits, so 0.5 reads back
        as 128 / 255. */
    inline ::testing::AssertionResult hasAlpha (const juce::Component& component, float expected)
    {
        const auto alpha = component.getAlpha();

        if (std::abs (alpha - expected) <= 1.0f / 255.0f)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "alpha " << alpha << ", expected " << expected;
    }

    /** The alphas of A's peak and loudness bars, and of B's. */
    inline void expectBarAlphas (QuorvaneAudioProcessorEditor& editor, float alphaA, float alphaB)
    {
        EXPECT_TRUE (hasAlpha (editor.peakMeterA, alphaA));
        EXPECT_TRUE (hasAlpha (editor.loudnessMeterA, alphaA));
        EXPECT_TRUE (hasAlpha (editor.peakMeterB, alphaB));
        EXPECT_TRUE (hasAlpha (editor.loudnessMeterB, alphaB));
    }

    inline bool parameterIsOn (QuorvaneAudioProcessor& processor, const juce::String& id)
    {
        return processor.parameters.getRawParameterValue (id)->load() >= 0.5f;
    }

    //==============================================================================
    /** Prepares the processor for a layout, with the analyser thread stopped so
        that the tests drive the analysis themselves, block by block. */
    inline void prepareWithLayout (QuorvaneAudioProcessor& processor,
                                   const juce::AudioChannelSet& inputA,
                                   const juce::AudioChannelSet& inputB,
                                   double sampleRate = 48000.0,
                                   int blockSize = 512)
    {
        ASSERT_TRUE (processor.setBusesLayout (TestSupport::makeLayout (inputA, inputB)));

        // As a host does: the details first, then the preparation.
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
        processor.analyzerThread.stopThread (1000);
    }

    /** Plays a sine on A and a quieter, lower sine on B through the audio path
        for the given time, and lets the analyser measure every block. */
    inline void playTestSignals (QuorvaneAudioProcessor& processor, double seconds,
                                 float gainA = 0.25f, float gainB = 0.1f)
    {
        const auto sampleRate = processor.getSampleRate();
        const auto blockSize = processor.getBlockSize();
        const auto mainChannels = processor.getMainBusNumInputChannels();
        const auto totalChannels = juce::jmax (processor.getTotalNumInputChannels(),
                                               processor.getTotalNumOutputChannels());

        juce::AudioBuffer<float> buffer (totalChannels, blockSize);
        juce::MidiBuffer midi;
        const auto numBlocks = (int) std::ceil (seconds * sampleRate / blockSize);

        for (int block = 0; block < numBlocks; ++block)
        {
            for (int i = 0; i < blockSize; ++i)
            {
                const auto t = (double) (block * blockSize + i) / sampleRate;
                const auto a = gainA * (float) std::sin (juce::MathConstants<double>::twoPi * 1000.0 * t);
                const auto b = gainB * (float) std::sin (juce::MathConstants<double>::twoPi * 300.0 * t);

                for (int ch = 0; ch < totalChannels; ++ch)
                    buffer.setSample (ch, i, ch < mainChannels ? a : b);
            }

            processor.processBlock (buffer, midi);

            while (processor.analyzerThread.analyseNextBlocks())
            {
            }
        }
    }

    //==============================================================================
    /** Stands in for a window's cached image: counts the requests to repaint the
        window whole and records the areas its children ask to have repainted. */
    struct RepaintRecorder : public juce::CachedComponentImage
    {
        void paint (juce::Graphics&) override {}
        bool invalidateAll() override
        {
            ++wholeRepaints;
            return false;
        }
        bool invalidate (const juce::Rectangle<int>& area) override
        {
            areas.add (area);
            return false;
        }
        void releaseResources() override {}

        int wholeRepaints = 0;
        juce::RectangleList<int> areas;
    };

    /** Renders the component as it would appear on screen into a PNG in the
        build tree, for a person to look at. */
    inline void saveSnapshot (juce::Component& component, const juce::String& name)
    {
        TestSupport::savePng (component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f), name);
    }
} // namespace EditorTestSupport
