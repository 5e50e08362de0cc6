#pragma once

#include <juce_graphics/juce_graphics.h>

/*  Where the look-and-feel draws the parts of popup menus and combo boxes. */

//==============================================================================
/** The line along the bottom edge of a separator item of width w and height h. */
juce::Line<float> popupMenuSeparatorLine (int w, int h);

/** The short line at the top of every other item. */
juce::Line<float> popupMenuItemTopLine (int w);

/** The item's font height: 64 % of the item's height. */
float popupMenuItemFontHeight (int h);

/** A sub-menu item's arrow: a strip (int) a wide is taken from the right of the
    text box, and a triangle a high and 0.6 a wide points right from its left
    edge, a being 0.6 times the ascent of the menu font. */
struct SubMenuArrow
{
    juce::Rectangle<int> remainingTextBox;
    juce::Path triangle;
};

SubMenuArrow subMenuArrow (juce::Rectangle<int> textBox, float menuFontAscent);

//==============================================================================
struct ComboBoxBody
{
    juce::Rectangle<float> bounds;
    float cornerSize = 0.0f;
    juce::Line<float> gradient; // start and end points of the body's gradient
};

ComboBoxBody comboBoxBody (int width, int height);
