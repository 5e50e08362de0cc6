#include "editor/LufsVUMeter.h"

#include "editor/GradientBar.h"
#include "editor/MeterGeometry.h"

#include <cmath>

LufsVUMeter::LufsVUMeter() = default;
LufsVUMeter::~LufsVUMeter() = default;

void LufsVUMeter::setValue (float newLoudnessLufs)
{
    if (! std::isnan (newLoudnessLufs))
        value = newLoudnessLufs;

    repaint();
}

void LufsVUMeter::paint (juce::Graphics& g)
{
    paintGradientBar (g, (float) getWidth(), (float) getHeight(),
                      MeterGeometry::loudnessBarFillFraction (value),
                      (float) cornerSize);
}
