// The preview table: a three-dimensional lookup table of 1024 nodes on a body-centred cubic
// lattice (8 x 8 x 8 cell corners and 8 x 8 x 8 cell centres), built from the colour-control block
// by one of the colour transforms and read per pixel by integer tetrahedral interpolation.
//
// Lattice geometry, in lattice units where one cell is 32: corner index i lies at 32 i, centre
// index i at 32 i - 16, and lattice position p stands for colour value p x 255 / 192. Colours
// 0..255 fall into cells 0..6; the outer centres (-21.25 and 276.25) and corner 7 (297.5) are
// evaluated too, and corner 7 always gets weight 0.
//
// The table is process-wide and statically allocated (the dialog is modal and runs on the GTK
// main thread only); nothing here allocates.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

// Entries of each channel of the preview table: corners 0..511, centres 512..1023.
constexpr int kPreviewNodes = 1024;
constexpr int kPreviewCentreBase = 512;

// Selects the transform by the scaled block's wType (1 saturation, 2 RGB balance, 3 CMYK
// balance; any other type keeps the transform selected last, the saturation transform before the
// first selection) and evaluates every node into the preview table.
void BuildLut(const CLRCTRL* pScaled);

// Fills the product table the interpolation multiplies with. Called after BuildLut and before the
// pixels of a render are mapped.
void InitPreviewTables();

// Maps one pixel through the preview table.
void LutInterpolate(BYTE r, BYTE g, BYTE b, BYTE* pR, BYTE* pG, BYTE* pB);

namespace preview {

// Entry of node (ri, gi, bi) in the preview table, each index 0..7.
constexpr int CornerEntry(int ri, int gi, int bi)
{
    return bi * 64 + gi * 8 + ri;
}
constexpr int CentreEntry(int ri, int gi, int bi)
{
    return kPreviewCentreBase + CornerEntry(ri, gi, bi);
}

// One of the four nodes a pixel is interpolated from: its table entry and its weight (0..32; the
// four add up to 32).
struct LutNode {
    int entry;
    int weight;
};

// The four nodes and weights of one pixel.
void GetInterpolationNodes(BYTE r, BYTE g, BYTE b, LutNode nodes[4]);

// What the preview table holds at an entry, as R, G, B.
void GetPreviewNode(int entry, BYTE* pR, BYTE* pG, BYTE* pB);

// The interpolation with plain multiplication instead of the product table: the same sums, kept
// as the reference the table path is compared with.
void LutInterpolateReference(BYTE r, BYTE g, BYTE b, BYTE* pR, BYTE* pG, BYTE* pB);

// Makes the transform of an adjustment type (1, 2 or 3) the one BuildLut uses; any other type
// leaves the current one.
void SelectTransform(WORD wType);

// Which transform BuildLut would use now: 1, 2 or 3.
WORD CurrentTransformType();

}  // namespace preview
