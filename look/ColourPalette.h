#pragma once

#include <juce_graphics/juce_graphics.h>

/*  The product's palette. Every colour the plug-in's own drawing code uses by
    name comes from here; the values are 32-bit ARGB (alpha in the top byte, not
    premultiplied). They are set once when the code is loaded and never written.
*/

extern const juce::Colour blueDarkVresk;
extern const juce::Colour orangeLightVresk;
extern const juce::Colour orangeorangeVresk;
extern const juce::Colour orangeDarkVresk;
extern const juce::Colour orangeTransTarn;
extern const juce::Colour whiteVresk;
extern const juce::Colour greyTextBoxVresk;
extern const juce::Colour greyVresk;
extern const juce::Colour greyPlusVresk;
extern const juce::Colour backgroundVresk2;
extern const juce::Colour backgroundVreskL;
extern const juce::Colour greyDownVresk;
extern const juce::Colour greyBlackVresk;
extern const juce::Colour maskVresk;
extern const juce::Colour whitePadVresk;
extern const juce::Colour termsVresk;
extern const juce::Colour maskTextBox;
extern const juce::Colour greyWhiteVresk;
extern const juce::Colour blueVresk;
extern const juce::Colour blackVresk;
extern const juce::Colour blackUltraVresk;
extern const juce::Colour lightVresk2;
extern const juce::Colour greyOpacityVresk;
extern const juce::Colour greyLightVresk;
extern const juce::Colour OpacityVresk;
extern const juce::Colour orangeVresk;
extern const juce::Colour whiteLightVresk;

/** The button colour that marks a button drawn without skin or hover highlight
    (the logo). Compared by its whole ARGB value, so only fully transparent black
    has that meaning. */
extern const juce::Colour transparentVresk;
