#include "editor/EditorImages.h"

#include "BinaryData.h"

EditorImages loadEditorImages()
{
    const auto load = [] (const char* data, int size) { return juce::ImageCache::getFromMemory (data, size); };

    EditorImages images;
    images.aButton = load (BinaryData::icon_a_png, BinaryData::icon_a_pngSize);
    images.aButtonDown = load (BinaryData::icon_a_on_png, BinaryData::icon_a_on_pngSize);
    images.bButton = load (BinaryData::icon_b_png, BinaryData::icon_b_pngSize);
    images.bButtonDown = load (BinaryData::icon_b_on_png, BinaryData::icon_b_on_pngSize);
    images.blindTestButton = load (BinaryData::icon_blind_test_png, BinaryData::icon_blind_test_pngSize);
    images.blindTestButtonDown = load (BinaryData::icon_blind_test_on_png, BinaryData::icon_blind_test_on_pngSize);
    images.powerButton = load (BinaryData::icon_power_png, BinaryData::icon_power_pngSize);
    images.powerButtonDown = load (BinaryData::icon_power_on_png, BinaryData::icon_power_on_pngSize);
    images.backgroundTile = load (BinaryData::panel_tile_jpg, BinaryData::panel_tile_jpgSize);
    images.logo = load (BinaryData::logo_png, BinaryData::logo_pngSize);
    return images;
}
