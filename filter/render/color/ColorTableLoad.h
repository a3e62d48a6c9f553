// The per-page loaders that fill the renderer's colour block from the colour-table file.
// Each takes (settings record, renderer context, option block) and returns 0xFFFF when every
// table it needs was found, else 0. A table the page needs but the file lacks is logged at
// level 6 with its key, so a blank page has a visible cause.
#pragma once

#include "core/WinTypes.h"

struct DRVDEVMODE;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

// Gray weights used when the file has none.
inline constexpr SHORT DEFAULT_GRAY_WEIGHT_RED = 31;
inline constexpr SHORT DEFAULT_GRAY_WEIGHT_GREEN = 56;
inline constexpr SHORT DEFAULT_GRAY_WEIGHT_BLUE = 13;

// Colour pages: the LUT of the colour mode and media (falling back to the generic media 0), with
// the gray axis folded into black when the entry asks for it. Monochrome pages load no LUT and
// succeed.
WORD LoadColorLut(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// The threshold matrices of the page's planes, tiled to the page row length (rounded up to a
// multiple of 4). Slots that this page does not load are freed.
WORD LoadDitherMatrices(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// The tone curves of the page's planes, 256 bytes each; loading stops at the first missing one.
WORD LoadToneCurves(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// The red, green and blue weights of the gray conversion: the last gray-weight entry of the file,
// or the defaults. 0xFFFF when the file gave them.
WORD LoadGrayWeights(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
