#include "core/codec/CustomPaperName.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseCustomPaperName, ReadsWidthAndHeightAfterThePrefix)
{
    struct Case {
        const char* name;
        float width;   // -1: unchanged
        float height;
    };
    const Case cases[] = {
        {"Custom.595x842", 595.0f, 842.0f},
        {"Custom.8.5x11in", 8.5f, 11.0f},
        {"Custom_100x200", 100.0f, 200.0f},
        // Only the first fifteen characters of the width are read.
        {"Custom.1234567890123456789x5", 123456789012345.0f, 5.0f},
        {"Custom.x5", 0.0f, 5.0f},
        // Not a custom name, too short for a size, or no "x": nothing is read.
        {"A4", -1.0f, -1.0f},
        {"custom.595x842", -1.0f, -1.0f},
        {"Custom", -1.0f, -1.0f},
        {"Custom.", -1.0f, -1.0f},
        {"Custom.595", -1.0f, -1.0f},
    };
    for (const Case& c : cases) {
        float width = -1.0f;
        float height = -1.0f;
        ParseCustomPaperName(c.name, &width, &height);
        EXPECT_FLOAT_EQ(width, c.width) << c.name;
        EXPECT_FLOAT_EQ(height, c.height) << c.name;
    }
}

TEST(ParseCustomPaperName, NullArgumentsAreIgnored)
{
    float width = -1.0f;
    float height = -1.0f;
    ParseCustomPaperName(nullptr, &width, &height);
    ParseCustomPaperName("Custom.1x2", nullptr, &height);
    ParseCustomPaperName("Custom.1x2", &width, nullptr);
    EXPECT_EQ(width, -1.0f);
    EXPECT_EQ(height, -1.0f);
}

}  // namespace
