#include "editor/LufsVUMeter.h"

#include "editor/GradientBar.h"
#include "editor/MeterGeometry.h"

#include <cmath>

LufsVUMeter::LufsVUMeter() = default;
LufsVUMeter::~LufsVUMeter() = default;

void LufsVUMeter::setValue (float newLoudnessLufs)
{
    const auto fillBefore = MeterGeometry::loudnessBarFillFraction (value);

    if (! std::isnan (newLoudnessLufs))
        value = newLoudnessLufs;

    repaint (changedGradientBarArea (fillBefore, MeterGeometry::loudnessBarFillFraction (value),
                                     (float) getWidth(), (float) getHeight(), (float) cornerSize));
}

void LufsVUMeter::paint (juce::Graphics& g)
{
    paintGradientBar (g, (float) getWidth(), (float) getHeight(),
                      MeterGeometry::loudnessBarFillFraction (value),
                      (float) cornerSize);
}
