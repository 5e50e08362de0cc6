#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace TestSupport
{
    /** A window peer that shows nothing anywhere: enough for the framework to
        route a window's mouse events to the component under the mouse, the
        way the system's window would, with or without a display. */
    class HeadlessPeer : public juce::ComponentPeer
    {
    public:
        explicit HeadlessPeer (juce::Component& c)
            : ComponentPeer (c, 0)
        {
        }

        using ComponentPeer::globalToLocal;
        using ComponentPeer::localToGlobal;

        void* getNativeHandle() const override { return nullptr; }
        void setVisible (bool) override {}
        void setTitle (const juce::String&) override {}
        void setBounds (const juce::Rectangle<int>& newBounds, bool) override { bounds = newBounds; }
        juce::Rectangle<int> getBounds() const override { return bounds; }
        juce::Point<float> localToGlobal (juce::Point<float> p) override { return p + bounds.getPosition().toFloat(); }
        juce::Point<float> globalToLocal (juce::Point<float> p) override { return p - bounds.getPosition().toFloat(); }
        void setMinimised (bool) override {}
        bool isMinimised() const override { return false; }
        void setFullScreen (bool) override {}
        bool isFullScreen() const override { return false; }
        void setIcon (const juce::Image&) override {}
        bool contains (juce::Point<int> p, bool) const override { return bounds.withZeroOrigin().contains (p); }
        OptionalBorderSize getFrameSizeIfPresent() const override { return {}; }
        juce::BorderSize<int> getFrameSize() const override { return {}; }
        bool setAlwaysOnTop (bool) override { return false; }
        void toFront (bool) override {}
        void toBehind (ComponentPeer*) override {}
        bool isFocused() const override { return false; }
        void grabFocus() override {}
        void repaint (const juce::Rectangle<int>&) override {}
        void performAnyPendingRepaintsNow() override {}
        void setAlpha (float) override {}
        juce::StringArray getAvailableRenderingEngines() override { return {}; }
        void textInputRequired (juce::Point<int>, juce::TextInputTarget&) override {}

    private:
        juce::Rectangle<int> bounds;
    };
} // namespace TestSupport
