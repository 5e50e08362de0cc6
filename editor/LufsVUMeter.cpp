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

    repaintGradientBar (*this, fillBefore, MeterGeometry::loudnessBarFillFraction (value), cornerSize);
}

void LufsVUMeter::paint (juce::Graphics& g)
{
    paintGradientBar (g, *this, MeterGeometry::loudnessBarFillFraction (value), cornerSize);
}
