#include "look/SliderGeometry.h"

LinearSliderGeometry linearSliderGeometry (int x, int width, int height,
                                           float sliderPos, float minSliderPos, float maxSliderPos)
{
    const auto w = (double) width;
    const auto h = (double) height;

    LinearSliderGeometry geometry;

    const auto trackWidth = (int) (0.4 * w);
    const auto trackX = x + 0.5 * w - 0.5 * trackWidth;
    geometry.cornerSize = (float) (trackWidth / 2);
    geometry.track = { (float) trackX, 4.0f, (float) trackWidth, (float) (h - 4.0) };
    geometry.trackGradient = { (float) (0.5 * w), 0.0f, (float) (0.5 * w), (float) h };

    const auto p = 0.85 * sliderPos + 0.3 * ((double) maxSliderPos - (double) minSliderPos);
    geometry.thumbPosition = (float) p;
    geometry.valueFill = { (float) trackX, (float) (p + 4.0), (float) trackWidth, (float) (h - p - 4.0) };
    geometry.valueGradient = { (float) (0.5 * w), (float) (0.3 * h), (float) (0.5 * w), (float) h };

    geometry.thumb = { 0, (int) (p - 0.2 * w), width, width };
    geometry.hoverRing = { (float) (0.25 * w), (float) (p + 0.05 * w), (float) (0.5 * w), (float) (0.5 * w) };
    return geometry;
}

RotarySliderGeometry rotarySliderGeometry (int x, int y, int width, int height,
                                           float proportion, float startAngle, float endAngle,
                                           int textBoxWidth, int textBoxHeight)
{
    const auto w = (double) width;
    const auto h = (double) height;

    RotarySliderGeometry geometry;

    const auto radius = juce::jmin (width / 2, height / 2);
    const auto r = radius - 0.22 * w;
    geometry.pointerRadius = (float) r;
    geometry.knob = { 0, (int) (-0.1 * w), width, width };

    geometry.pointer = { -2.0f, (float) (-r - 1.0), 4.0f, (float) (0.55 * r + 1.0) };
    const auto angle = startAngle + proportion * (endAngle - startAngle);
    geometry.pointerTransform = juce::AffineTransform::rotation (angle)
                                    .translated ((float) (x + 0.5 * w), (float) (y + 0.5 * h - 1.0));

    const auto centreX = x + 0.5 * w;
    const auto tw = (double) textBoxWidth;
    const auto th = (double) textBoxHeight;
    geometry.textBoxFrame = { (float) (centreX - 0.5 * tw), (float) (h + 3.0), (float) tw, (float) (th - 6.0) };
    geometry.textBoxFill = { (float) (centreX - 0.5 * tw - 1.0), (float) (h + 2.0), (float) (tw - 1.0), (float) (th - 6.0) };
    geometry.textBoxCornerSize = (float) (0.05 * h);
    return geometry;
}
