#include "gui/dlgcoloradj/PreviewLut.h"

#include "gui/dlgcoloradj/PreviewColorModel.h"
#include "gui/dlgcoloradj/PreviewTransforms.h"

namespace {

constexpr int kCell = 32;          // lattice units per cell
constexpr int kHalfCell = 16;      // from a cell's centre to its faces
constexpr int kWeightShift = 5;    // weights add up to 32
constexpr int kLatticeSpan = 192;  // lattice units of the colour range 0..255
constexpr int kWeights = 33;       // weights 0..32

// The preview table, one byte table per output channel, rebuilt whole by every BuildLut.
BYTE g_red[kPreviewNodes];
BYTE g_green[kPreviewNodes];
BYTE g_blue[kPreviewNodes];
// Entry (w, v) = w x v, filled by InitPreviewTables.
int g_product[kWeights][256];
// The transform BuildLut uses; the saturation transform until another is selected.
WORD g_transformType = 1;

void EvaluateNode(preview::TransformFunction transform, const preview::TransformParams& params, int entry,
                  double x, double y, double z)
{
    const preview::Triple rgb = transform(x / kLatticeSpan * 255.0, y / kLatticeSpan * 255.0,
                                          z / kLatticeSpan * 255.0, params);
    g_red[entry] = preview::RoundToByte(rgb.a);
    g_green[entry] = preview::RoundToByte(rgb.b);
    g_blue[entry] = preview::RoundToByte(rgb.c);
}

// One channel's place in the lattice: cell 0..6 and signed offset from the cell's centre
// -16..15.
struct Axis {
    int cell;
    int offset;
};

inline Axis AxisOf(BYTE v)
{
    const int t = v * kLatticeSpan / 255;  // 0..192, floor
    return {t / kCell, t % kCell - kHalfCell};
}

inline int Magnitude(int d)
{
    return d < 0 ? -d : d;
}

// The tetrahedron of the body-centred lattice holding the point, as four nodes with barycentric
// weights scaled to 32. Axis a is the channel farthest from the cell's centre, b the next, e the
// last; ties may go either way, since the node that differs then has weight 0.
inline void FindNodes(BYTE r, BYTE g, BYTE b, preview::LutNode nodes[4])
{
    Axis axes[3] = {AxisOf(r), AxisOf(g), AxisOf(b)};
    // Strides of the red, green and blue indices in a table entry.
    constexpr int kStride[3] = {1, 8, 64};

    int ia = 0;
    int ib = 1;
    int ie = 2;
    // Three compare-and-swaps order the axes by |offset|, largest first.
    if (Magnitude(axes[ib].offset) > Magnitude(axes[ia].offset)) {
        const int t = ia;
        ia = ib;
        ib = t;
    }
    if (Magnitude(axes[ie].offset) > Magnitude(axes[ib].offset)) {
        const int t = ib;
        ib = ie;
        ie = t;
    }
    if (Magnitude(axes[ib].offset) > Magnitude(axes[ia].offset)) {
        const int t = ia;
        ia = ib;
        ib = t;
    }
    const Axis& a = axes[ia];
    const Axis& bx = axes[ib];
    const Axis& e = axes[ie];
    const int alpha = Magnitude(a.offset);
    const int beta = Magnitude(bx.offset);
    const int delta = e.offset;

    // The cell's own centre has centre index cell + 1 on every axis.
    const int centre = kPreviewCentreBase + (axes[0].cell + 1) * kStride[0] + (axes[1].cell + 1) * kStride[1] +
                       (axes[2].cell + 1) * kStride[2];
    const int stepA = a.offset > 0 ? kStride[ia] : -kStride[ia];

    // The corner on the face side of axes a and b: corner index cell + 1 on the upper side, cell
    // on the lower side; on axis e corner index cell (the +1 node is one stride further).
    const int cornerA = a.offset > 0 ? a.cell + 1 : a.cell;
    const int cornerB = bx.offset > 0 ? bx.cell + 1 : bx.cell;
    const int corner = cornerA * kStride[ia] + cornerB * kStride[ib] + e.cell * kStride[ie];

    nodes[0] = {centre, kCell - alpha - beta};
    nodes[1] = {centre + stepA, alpha - beta};
    nodes[2] = {corner, beta - delta};
    nodes[3] = {corner + kStride[ie], beta + delta};
}

}  // namespace

void BuildLut(const CLRCTRL* pScaled)
{
    if (pScaled == nullptr)
        return;
    preview::SelectTransform(pScaled->wType);
    const preview::TransformFunction transform = preview::TransformOfType(g_transformType);
    const preview::TransformParams params = preview::ParamsOf(*pScaled);

    for (int bi = 0; bi < 8; ++bi) {
        for (int gi = 0; gi < 8; ++gi) {
            for (int ri = 0; ri < 8; ++ri)
                EvaluateNode(transform, params, preview::CornerEntry(ri, gi, bi), kCell * ri, kCell * gi, kCell * bi);
        }
    }
    for (int bi = 0; bi < 8; ++bi) {
        for (int gi = 0; gi < 8; ++gi) {
            for (int ri = 0; ri < 8; ++ri)
                EvaluateNode(transform, params, preview::CentreEntry(ri, gi, bi), kCell * (ri - 0.5),
                             kCell * (gi - 0.5), kCell * (bi - 0.5));
        }
    }
}

void InitPreviewTables()
{
    for (int w = 0; w < kWeights; ++w) {
        for (int v = 0; v < 256; ++v)
            g_product[w][v] = w * v;
    }
}

void LutInterpolate(BYTE r, BYTE g, BYTE b, BYTE* pR, BYTE* pG, BYTE* pB)
{
    preview::LutNode n[4];
    FindNodes(r, g, b, n);
    const int red = g_product[n[0].weight][g_red[n[0].entry]] + g_product[n[1].weight][g_red[n[1].entry]] +
                    g_product[n[2].weight][g_red[n[2].entry]] + g_product[n[3].weight][g_red[n[3].entry]];
    const int green = g_product[n[0].weight][g_green[n[0].entry]] + g_product[n[1].weight][g_green[n[1].entry]] +
                      g_product[n[2].weight][g_green[n[2].entry]] + g_product[n[3].weight][g_green[n[3].entry]];
    const int blue = g_product[n[0].weight][g_blue[n[0].entry]] + g_product[n[1].weight][g_blue[n[1].entry]] +
                     g_product[n[2].weight][g_blue[n[2].entry]] + g_product[n[3].weight][g_blue[n[3].entry]];
    *pR = static_cast<BYTE>((red + kHalfCell) >> kWeightShift);
    *pG = static_cast<BYTE>((green + kHalfCell) >> kWeightShift);
    *pB = static_cast<BYTE>((blue + kHalfCell) >> kWeightShift);
}

namespace preview {

void GetInterpolationNodes(BYTE r, BYTE g, BYTE b, LutNode nodes[4])
{
    FindNodes(r, g, b, nodes);
}

void GetPreviewNode(int entry, BYTE* pR, BYTE* pG, BYTE* pB)
{
    if (entry < 0 || entry >= kPreviewNodes)
        return;
    *pR = g_red[entry];
    *pG = g_green[entry];
    *pB = g_blue[entry];
}

void LutInterpolateReference(BYTE r, BYTE g, BYTE b, BYTE* pR, BYTE* pG, BYTE* pB)
{
    LutNode n[4];
    FindNodes(r, g, b, n);
    int sum[3] = {kHalfCell, kHalfCell, kHalfCell};
    for (const LutNode& node : n) {
        sum[0] += node.weight * g_red[node.entry];
        sum[1] += node.weight * g_green[node.entry];
        sum[2] += node.weight * g_blue[node.entry];
    }
    *pR = static_cast<BYTE>(sum[0] / 32);
    *pG = static_cast<BYTE>(sum[1] / 32);
    *pB = static_cast<BYTE>(sum[2] / 32);
}

void SelectTransform(WORD wType)
{
    if (TransformOfType(wType) != nullptr)
        g_transformType = wType;
}

WORD CurrentTransformType()
{
    return g_transformType;
}

}  // namespace preview
