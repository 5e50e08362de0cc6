#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

//==============================================================================
/** Where every child of the window goes, and the label font size, for a window
    of the given width. The window keeps its 600:475 aspect ratio, so the width
    alone fixes every position; each rectangle is named after the child it places.
*/
struct EditorLayout
{
    float fontSize = 0.0f;

    juce::Rectangle<int> powerButton, logoButton;
    juce::Rectangle<int> aButton, lufsLabelA, peakMeterA, loudnessMeterA;
    juce::Rectangle<int> bButton, lufsLabelB, peakMeterB, loudnessMeterB;
    juce::Rectangle<int> blindTestButton, diffButton, matchBButton;
    juce::Rectangle<int> answerAButton, answerBButton;
    juce::Rectangle<int> vuMeterLeft, vuMeterRight, blindTestLabel;
};

EditorLayout computeEditorLayout (int width);

/** The radial gradient behind the whole window. */
juce::ColourGradient makeBackgroundGradient (int width, int height);

/** The radial gradient of the two panels. */
juce::ColourGradient makePanelGradient (int width, int height);

//==============================================================================
/** A connector line between two controls. Lines that lead to the loudness
    readouts are drawn only while MATCH B is on, as the readouts are.
*/
struct ConnectorLine
{
    juce::Line<float> line;
    bool onlyWhileMatching = false;
};

/** One of the two panels that group the controls. */
struct PanelShape
{
    juce::Rectangle<float> body;         // filled with the panel gradient
    juce::Rectangle<float> texture;      // the tiled texture and its dark outline
    juce::Rectangle<float> outerOutline; // the darker outline, one pixel down and right

    static constexpr float cornerSize = 25.0f;
};

/** Everything the window's background painting draws, derived from the layout. */
struct EditorPaintGeometry
{
    PanelShape upperPanel, lowerPanel;
    std::array<ConnectorLine, 8> connectorLines;
    juce::Rectangle<int> versionTextBox;
};

EditorPaintGeometry computePaintGeometry (const EditorLayout& layout, int width);

/** A label's background and its two outlines. */
struct LabelFrame
{
    juce::Rectangle<float> background;   // also the outer, darker outline
    juce::Rectangle<float> innerOutline; // one pixel wider, two taller
    float cornerSize = 0.0f;
};

LabelFrame computeLabelFrame (juce::Rectangle<int> labelBounds, float cornerSize);
