#include "editor/ModernVUMeter.h"

#include "editor/GradientBar.h"
#include "editor/MeterGeometry.h"

#include <cmath>

ModernVUMeter::ModernVUMeter() = default;
ModernVUMeter::~ModernVUMeter() = default;

void ModernVUMeter::setValue (float newLevelDb)
{
    const auto fillBefore = MeterGeometry::peakBarFillFraction (level);

    // An infinite reading would make the smoothed level infinite (or NaN, once
    // both infinities have met) for good; pin it to the bar's full mark or to the
    // start value instead, so the meter recovers with the next finite reading.
    if (std::isinf (newLevelDb))
        newLevelDb = newLevelDb > 0.0f ? 5.0f : -400.0f;

    if (! std::isnan (newLevelDb))
    {
        if (newLevelDb > level)
            level = 0.95f * newLevelDb + 0.05f * level;
        else
            level = 0.3f * newLevelDb + 0.7f * level;
    }

    repaintGradientBar (*this, fillBefore, MeterGeometry::peakBarFillFraction (level), cornerSize);
}

void ModernVUMeter::paint (juce::Graphics& g)
{
    paintGradientBar (g, *this, MeterGeometry::peakBarFillFraction (level), cornerSize);
}
