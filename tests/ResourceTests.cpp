#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include "BinaryData.h"

#include <cstring>
#include <utility>
#include <vector>

namespace
{
    enum class Encoding
    {
        indexedPngWithTransparency,
        rgbaPng,
        baselineJpeg
    };

    struct EmbeddedImage
    {
        const char* name;
        const char* data;
        int size;
        int width;
        int height;
        Encoding encoding;
    };

    // Each image with the pixel size and encoding its role asks for.
    const std::vector<EmbeddedImage>& embeddedImages()
    {
        using namespace BinaryData;
        constexpr auto indexed = Encoding::indexedPngWithTransparency;

        static const std::vector<EmbeddedImage> images {
            { "knob", knob_png, knob_pngSize, 300, 300, indexed },
            { "knob hover", knob_hover_png, knob_hover_pngSize, 300, 300, indexed },
            { "slider thumb", slider_thumb_png, slider_thumb_pngSize, 200, 200, indexed },
            { "2:1 skin", skin_2to1_png, skin_2to1_pngSize, 400, 200, indexed },
            { "2:1 skin on", skin_2to1_on_png, skin_2to1_on_pngSize, 400, 200, indexed },
            { "square skin", skin_square_png, skin_square_pngSize, 300, 300, indexed },
            { "square skin on", skin_square_on_png, skin_square_on_pngSize, 300, 300, indexed },
            { "wide skin", skin_wide_png, skin_wide_pngSize, 400, 200, indexed },
            { "wide skin on", skin_wide_on_png, skin_wide_on_pngSize, 400, 200, indexed },
            { "A icon", icon_a_png, icon_a_pngSize, 300, 300, indexed },
            { "A icon on", icon_a_on_png, icon_a_on_pngSize, 300, 300, indexed },
            { "B icon", icon_b_png, icon_b_pngSize, 300, 300, indexed },
            { "B icon on", icon_b_on_png, icon_b_on_pngSize, 300, 300, indexed },
            { "blind-test icon", icon_blind_test_png, icon_blind_test_pngSize, 500, 500, indexed },
            { "blind-test icon on", icon_blind_test_on_png, icon_blind_test_on_pngSize, 500, 500, indexed },
            { "power icon", icon_power_png, icon_power_pngSize, 100, 100, indexed },
            { "power icon on", icon_power_on_png, icon_power_on_pngSize, 100, 100, indexed },
            { "panel tile", panel_tile_jpg, panel_tile_jpgSize, 200, 200, Encoding::baselineJpeg },
            { "logo", logo_png, logo_pngSize, 1200, 300, Encoding::rgbaPng },
        };

        return images;
    }

    juce::Image decode (const EmbeddedImage& resource)
    {
        return juce::ImageFileFormat::loadFrom (resource.data, (size_t) resource.size);
    }

    //==============================================================================
    // A PNG's header chunk comes first: bit depth at byte 24, colour type at 25.
    struct PngHeader
    {
        int bitDepth = 0;
        int colourType = 0;
        bool hasTransparencyChunk = false;
    };

    PngHeader readPngHeader (const EmbeddedImage& resource)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*> (resource.data);
        PngHeader header;
        header.bitDepth = bytes[24];
        header.colourType = bytes[25];

        for (int i = 8; i + 8 <= resource.size;)
        {
            const auto length = (int) juce::ByteOrder::bigEndianInt (bytes + i);

            if (std::memcmp (bytes + i + 4, "tRNS", 4) == 0)
                header.hasTransparencyChunk = true;

            if (std::memcmp (bytes + i + 4, "IDAT", 4) == 0)
                break;

            i += length + 12;
        }

        return header;
    }

    // The JPEG frame header tells baseline (SOF0) from progressive and other
    // processes, and gives the sample precision and number of components.
    struct JpegFrame
    {
        int marker = 0;
        int precision = 0;
        int components = 0;
    };

    JpegFrame readJpegFrame (const EmbeddedImage& resource)
    {
        const auto* bytes = reinterpret_cast<const unsigned char*> (resource.data);

        for (int i = 2; i + 4 <= resource.size;)
        {
            if (bytes[i] != 0xff)
                return {};

            const int marker = bytes[i + 1];
            const int length = (bytes[i + 2] << 8) | bytes[i + 3];

            if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc)
                return { marker, bytes[i + 4], bytes[i + 9] };

            i += 2 + length;
        }

        return {};
    }

    double meanColumnDifference (const juce::Image& image, int columnA, int columnB)
    {
        double sum = 0.0;

        for (int y = 0; y < image.getHeight(); ++y)
        {
            const auto a = image.getPixelAt (columnA, y);
            const auto b = image.getPixelAt (columnB, y);
            sum += std::abs ((int) a.getRed() - (int) b.getRed()) + std::abs ((int) a.getGreen() - (int) b.getGreen()) + std::abs ((int) a.getBlue() - (int) b.getBlue());
        }

        return sum / image.getHeight();
    }

    /** The step from an image's last column to its first is no larger than the
        largest step between neighbouring columns inside it, give or take grain. */
    ::testing::AssertionResult wrapsWithoutASeam (const juce::Image& image, double grain)
    {
        double largestInsideStep = 0.0;

        for (int x = 0; x + 1 < image.getWidth(); ++x)
            largestInsideStep = juce::jmax (largestInsideStep, meanColumnDifference (image, x, x + 1));

        const auto wrapStep = meanColumnDifference (image, image.getWidth() - 1, 0);

        if (wrapStep <= grain * largestInsideStep)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "the wrap steps " << wrapStep << ", inside at most " << largestInsideStep;
    }
} // namespace

//==============================================================================
TEST (EmbeddedFont, IsSpartanMediumWhenLoadedFromMemory)
{
    auto typeface = juce::Typeface::createSystemTypefaceFor (BinaryData::spartan_medium_ttf,
                                                             (size_t) BinaryData::spartan_medium_ttfSize);
    ASSERT_NE (typeface, nullptr);
    EXPECT_EQ (typeface->getName(), "Spartan Medium");
    EXPECT_EQ (typeface->getStyle(), "Regular");

    // It really holds outlines: the letters of a button text are drawable.
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    typeface->getGlyphPositions ("A", glyphs, offsets);
    ASSERT_EQ (glyphs.size(), 1);

    juce::Path outline;
    typeface->getOutlineForGlyph (glyphs[0], outline);
    EXPECT_FALSE (outline.isEmpty());
    EXPECT_GT (typeface->getStringWidth ("MATCH B"), 0.0f);
}

TEST (EmbeddedFont, IsPlainTrueType)
{
    // sfnt version 1.0: TrueType outlines, not a WOFF wrapper or a CFF font.
    const auto* bytes = reinterpret_cast<const unsigned char*> (BinaryData::spartan_medium_ttf);
    ASSERT_GT (BinaryData::spartan_medium_ttfSize, 12);
    EXPECT_EQ (juce::ByteOrder::bigEndianInt (bytes), 0x00010000u);
}

//==============================================================================
TEST (EmbeddedImages, EveryImageDecodesToItsListedSize)
{
    for (const auto& resource : embeddedImages())
    {
        SCOPED_TRACE (resource.name);
        const auto image = decode (resource);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), resource.width);
        EXPECT_EQ (image.getHeight(), resource.height);
    }
}

TEST (EmbeddedImages, AreEncodedAsTheirRolesRequire)
{
    for (const auto& resource : embeddedImages())
    {
        SCOPED_TRACE (resource.name);

        if (resource.encoding == Encoding::baselineJpeg)
        {
            const auto frame = readJpegFrame (resource);
            EXPECT_EQ (frame.marker, 0xc0) << "not a baseline JPEG";
            EXPECT_EQ (frame.precision, 8);
            EXPECT_EQ (frame.components, 3);
            continue;
        }

        ASSERT_EQ (std::memcmp (resource.data, "\x89PNG\r\n\x1a\n", 8), 0);
        const auto header = readPngHeader (resource);
        EXPECT_EQ (header.bitDepth, 8);

        if (resource.encoding == Encoding::rgbaPng)
        {
            EXPECT_EQ (header.colourType, 6);
        }
        else
        {
            EXPECT_EQ (header.colourType, 3);
            EXPECT_TRUE (header.hasTransparencyChunk);
        }
    }
}

TEST (EmbeddedImages, SkinsAndIconsHaveTransparentSurroundings)
{
    // A skin or icon drawn over the panels must let them show around its shape.
    for (const auto& resource : embeddedImages())
    {
        if (resource.encoding == Encoding::baselineJpeg)
            continue;

        SCOPED_TRACE (resource.name);
        const auto image = decode (resource);
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0);
        EXPECT_EQ (image.getPixelAt (image.getWidth() - 1, image.getHeight() - 1).getAlpha(), 0);
    }
}

TEST (EmbeddedImages, ThreeSliceSkinsAreAlikeAcrossTheStretchedMiddle)
{
    // The caps are the outer imgH x imgH squares and the stretched middle is
    // taken from x = imgH to 1.5 imgH; between half caps and middle the skin is
    // cut anywhere from 0.5 imgH to 1.6 imgH. All those columns must match, or
    // wide buttons show steps where the slices meet.
    for (const auto& [data, size] : { std::pair { BinaryData::skin_wide_png, BinaryData::skin_wide_pngSize },
                                      std::pair { BinaryData::skin_wide_on_png, BinaryData::skin_wide_on_pngSize } })
    {
        const auto image = juce::ImageFileFormat::loadFrom (data, (size_t) size);
        ASSERT_TRUE (image.isValid());
        const auto imgH = image.getHeight();

        for (int x = imgH / 2; x < imgH * 3 / 2; ++x)
            for (int y = 0; y < imgH; ++y)
                ASSERT_EQ (image.getPixelAt (x, y).getARGB(), image.getPixelAt (imgH, y).getARGB())
                    << "column " << x << " row " << y;
    }
}

TEST (EmbeddedImages, PanelTileMeetsItsNeighboursWithoutASeam)
{
    const auto tile = juce::ImageFileFormat::loadFrom (BinaryData::panel_tile_jpg, (size_t) BinaryData::panel_tile_jpgSize);
    ASSERT_TRUE (tile.isValid());

    // The step from the last column to the first of the next tile may be no
    // larger than the steps found inside the tile, give or take the grain; and
    // the same for rows, as columns of the tile turned on its side.
    constexpr auto grain = 1.25;
    EXPECT_TRUE (wrapsWithoutASeam (tile, grain));

    juce::Image rotated (juce::Image::RGB, tile.getHeight(), tile.getWidth(), false);

    for (int y = 0; y < tile.getHeight(); ++y)
        for (int x = 0; x < tile.getWidth(); ++x)
            rotated.setPixelAt (y, x, tile.getPixelAt (x, y));

    EXPECT_TRUE (wrapsWithoutASeam (rotated, grain));
}
