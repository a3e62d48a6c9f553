// Model images of the settings-record tests, built from the file layout with the values below.
#pragma once

#include "model_image_builder.h"

#include "core/model/SpcData.h"

#include <cstdlib>
#include <memory>

using ModelData = std::unique_ptr<tagSPCDATA, decltype(&std::free)>;

inline ModelData LoadModel(const ModelImageBuilder& builder)
{
    const std::vector<BYTE> bytes = builder.build();
    return ModelData(SpcLoadImage(bytes.data(), bytes.size()), &std::free);
}

namespace settings_models {

using namespace model_records;

// Papers: Letter (1), Legal (5), A4 (9), in 0.1 mm.
constexpr SHORT kLetter = 1;
constexpr SHORT kLegal = 5;
constexpr SHORT kA4 = 9;

inline ModelImageBuilder& Papers(ModelImageBuilder& b, DWORD paperFlags)
{
    // Header: count, paper flags, metric default, inch default, resolution.
    return b.list(20, {0, paperFlags, kA4, kLetter, 600}, 0,
                  {Paper(kLetter, 2159, 2794), Paper(kLegal, 2159, 3556), Paper(kA4, 2100, 2970)});
}

// The least a model can have: papers and sources.
inline ModelImageBuilder Bare()
{
    ModelImageBuilder b;
    Papers(b, 0);
    b.list(24, {0, 7}, 0, {Source(7), Source(8)});
    return b;
}

// Custom-size limits: widths 1000 (0.1 mm) / 600 dots (254 in 0.1 mm) to 2970; lengths 1480 /
// 3496 dots (1478) to 4318.
inline Words CustomSizeLimits()
{
    return CustomLimits({2970, 4318, 0, 0, 1000, 1480, 600, 3496});
}

// Long paper: widths 2100 to 2159, lengths 4000 to 12000 (0.1 mm). The inch limits, 5100 and
// 9600 dots (2159 and 4064 in 0.1 mm), lie inside, so the 0.1 mm values decide.
inline Words LongPaperLimits()
{
    return CustomLimits({2159, 12000, 5100, 0, 2100, 4000, 5100, 9600});
}

// A model with every capability the defaults read set to a known value.
inline ModelImageBuilder Rich()
{
    ModelImageBuilder b;
    Papers(b, 0x1);
    b.section(21, CustomSizeLimits());
    b.list(22, {0, 3}, 0, {Media(3), Media(4)});
    b.fixed(23, {999});
    b.list(24, {0, 7}, 0, {Source(7), Source(8)});
    // Duplex: flags 0x2 | 0x4 | 0x10, no records, default 2 behind the four closing words.
    b.fixed(25, {0x16, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2});
    // Source group 5 of kind 5 (large capacity) adds source 20.
    b.list(26, {0}, 0, {SourceGroup(5, 5, {20})});
    // Pages per sheet: supported, border 2 (w4), border width 3 (h8), unit kind word 1 (w32).
    b.fixed(28, {1, 2, 3, 0, 0, 0, 0, 0, 1});
    // Booklet: supported; h28 = 50 (1/100 inch), h32 = 100 (0.1 mm); unit kind word w56 = 2.
    b.section(29, Words().words({1, 0, 0, 0, 0, 0, 0, 50, 100, 0, 0, 0, 0, 0, 2}));
    b.fixed(30, {1});
    // Zoom: supported, 20..300 %, alignment 6.
    b.fixed(31, {1, 20, 300, 6});
    b.fixed(38, {1, 0});
    b.fixed(40, {1});
    // Density: supported, 1..5, default 3 (w16).
    b.fixed(45, {1, 1, 5, 0, 3});
    b.fixed(50, {1, 1});
    b.fixed(56, {1, 2});
    b.fixed(60, {1, 0});
    b.fixed(61, {1, 0x4});  // needs duplex (feature 0x4): offered
    b.fixed(62, {1, 0x1});  // needs capability 35: not offered
    b.fixed(63, {0x5, 0});
    b.fixed(64, {1, 3});
    // Poster: supported; w4 = 25 (1/100 inch), w12 = 50 (0.1 mm).
    b.fixed(67, {1, 25, 0, 50, 0});
    b.section(75, LongPaperLimits());
    // Contrast: supported, -10..10, default 4 (w20).
    b.fixed(78, {1, static_cast<DWORD>(-10), 10, 0, 0, 4});
    b.fixed(79, {0x130, 0, 0, 0});
    return b;
}

// The rich model with resolution modes and colour defaults added.
inline ModelImageBuilder RichWithListCapabilities()
{
    ModelImageBuilder b = Rich();
    // Resolution modes: mode 3 is the default entry, 1200 x 1200 dpi by its override words.
    b.list(41, {0, 0, 3}, 0, {Words().words({3, 1200, 1200}), Words().words({1, 300, 300})});
    b.list(42, {0, 3}, 0,
           {Words().words({3, 0, 0, 0, 0, 0, 0, 1200, 1200, 0, 0, 0, 0, 0, 0, 0}).words({0, 0, 0}),
            Words().words({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).words({0, 0, 0})});
    // Colour defaults: colour mode 2, print style switch on, style 1, type 3, sliders 1..9,
    // colour management 1 (word 29); one record.
    {
        Words colour;
        colour.words({0x2, 2, 1, 1, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        colour.zeros(4 * (29 - 15)).u32(1).u32(0);  // words 15..28, 29, 30
        colour.u32(1).words({1, 0, 0, 0});          // count, one record
        b.section(55, colour);
    }
    return b;
}

}  // namespace settings_models
