// The layout of built-in picture 102, the photograph of the colour adjustment preview (224 x 198,
// 8-bit RGB without alpha). Its top part is a test card with exact values, so that tests of the
// preview can check what a transform does to known colours; its lower part is a small landscape.
//
//   rows   0..39   grey ramp: every pixel of column x is PreviewRampValue(x) in R, G and B
//   rows  40..43   mid grey (128, 128, 128)
//   rows  44..91   eight patches, 28 columns each, in the order of kPreviewPatches
//   rows  92..95   mid grey (128, 128, 128)
//   rows  96..197  a landscape: sky, sun, hills, a house (no fixed values)
#pragma once

namespace orv::preview {

inline constexpr int kWidth = 224;
inline constexpr int kHeight = 198;

inline constexpr int kRampTop = 0;
inline constexpr int kRampBottom = 40;  // first row after the ramp
inline constexpr int kPatchTop = 44;
inline constexpr int kPatchBottom = 92;
inline constexpr int kPatchWidth = 28;
inline constexpr int kSceneTop = 96;
inline constexpr unsigned char kSeparatorGrey = 128;

// Grey level of ramp column x (0..223): 0 at the left edge, 255 at the right, rounded.
constexpr unsigned char PreviewRampValue(int x)
{
    return static_cast<unsigned char>((x * 255 + (kWidth - 1) / 2) / (kWidth - 1));
}

struct PreviewPatch {
    const char* pszName;
    unsigned char r, g, b;
};

// Patch i covers columns 28 i .. 28 i + 27 of rows kPatchTop .. kPatchBottom - 1.
inline constexpr PreviewPatch kPreviewPatches[8] = {
    {"red", 255, 0, 0},    {"green", 0, 255, 0},     {"blue", 0, 0, 255},      {"cyan", 0, 255, 255},
    {"magenta", 255, 0, 255}, {"yellow", 255, 255, 0}, {"white", 255, 255, 255}, {"black", 0, 0, 0},
};

}  // namespace orv::preview
