#include "look/MenuGeometry.h"

juce::Line<float> popupMenuSeparatorLine (int w, int h)
{
    return { 0.0f, (float) h, (float) w, (float) h };
}

juce::Line<float> popupMenuItemTopLine (int w)
{
    return { (float) (0.4 * w), 0.0f, (float) (0.6 * w), 0.0f };
}

float popupMenuItemFontHeight (int h)
{
    return (float) (0.64 * h);
}

SubMenuArrow subMenuArrow (juce::Rectangle<int> textBox, float menuFontAscent)
{
    const auto a = 0.6 * menuFontAscent;
    const auto strip = textBox.removeFromRight ((int) a);
    const auto left = (float) strip.getX();
    const auto centreY = (float) (textBox.getY() + textBox.getHeight() / 2);

    SubMenuArrow arrow;
    arrow.remainingTextBox = textBox;
    arrow.triangle.addTriangle (left, (float) (centreY - 0.5 * a),
                                left, (float) (centreY + 0.5 * a),
                                (float) (left + 0.6 * a), centreY);
    return arrow;
}

ComboBoxBody comboBoxBody (int width, int height)
{
    const auto w = (double) width;
    const auto h = (double) height;

    return { { 2.0f, 2.0f, (float) (w - 4.0), (float) (h - 4.0) },
             (float) (0.4 * h),
             { (float) (0.48 * w), 0.0f, (float) (0.51 * w), (float) h } };
}
