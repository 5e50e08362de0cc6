#pragma once

#include <juce_core/juce_core.h>

/** Turns a scrambled web address back into the address.

    The logo's web page is not stored in clear text in the binary. Every
    character from '/' to 'z' is shifted within that 76-character alphabet by an
    amount that depends on the key character, the index and a four-entry table;
    every other character ('.', '-', spaces, non-ASCII bytes) stands unchanged.
    An empty key leaves the text unchanged.
*/
juce::String unscrambleAddress (const char* scrambled, const char* key);

/** The logo's web page, unscrambled from its stored form. */
juce::String getProductWebAddress();
