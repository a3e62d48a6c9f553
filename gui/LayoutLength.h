// The gutter of the booklet dialog and the overlap of the poster dialog: a length stored in the
// settings record as an integer in 1/dmUnitOfLayout inch, edited in a spin button in millimetres
// or inches with a range label beside it.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/MMInch.h"

#include <glib.h>

class xSpinButton;
class xWidget;

// Which layout length: the booklet's gutter or the poster's overlap.
enum class LayoutLength { Gutter, Overlap };

// The largest length the model allows, in millimetres (bMM) or inches: the model's record of the
// booklet or poster, else 50 mm or 2.0 inches. A model maximum of 0 or less would leave an empty
// or inverted range, so it counts as none.
double GetLayoutLengthMax(const tagMODELHANDLE* pHandle, LayoutLength which, bool bMM);

// The spin button over [0, dMax]: whole millimetres, or inches with one decimal in steps of 0.1;
// at most 3 characters.
xSpinButton* CreateLayoutLengthSpin(xWidget* pOwner, int nID, bool bMM, double dMax);

// The range label's text, "(0 - 50 mm)" or "(0.0 - 2.0 in.)", for the caller to g_free; never
// NULL.
gchar* FormatLayoutLengthRange(bool bMM, double dMax);

// The stored length shown in the spin button (the converter keeps the three units).
void ShowLayoutLength(xSpinButton* pSpin, CMMInch* pConv, bool bMM, SHORT sStored);

// The spin button's length in units of 1/sUnit inch (the converter's resolution): rounded to the
// nearest unit in millimetres and in inches alike, so that a length shown and read back gives the
// units it came from (0.3 inch at 600 is 180, not 179); held to 0..32767.
SHORT ReadLayoutLength(xSpinButton* pSpin, CMMInch* pConv, bool bMM, SHORT sUnit);

// The length in whole units of 1/sUnit inch (0 or less: 600), rounded to nearest and held to
// 0..32767.
SHORT LayoutLengthToUnits(SHORT sUnit, bool bMM, double dLength);
