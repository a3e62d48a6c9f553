#include "core/settings/DevModeRules.h"

#include <cstdint>
#include <limits>

namespace {

SHORT ClampToShort(int64_t v)
{
    if (v > std::numeric_limits<SHORT>::max())
        return std::numeric_limits<SHORT>::max();
    if (v < std::numeric_limits<SHORT>::min())
        return std::numeric_limits<SHORT>::min();
    return static_cast<SHORT>(v);
}

}  // namespace

SHORT LayoutLengthRule(SHORT current, WORD unit, bool metric, const LayoutLengthViews& views)
{
    const int64_t u = unit;
    int64_t value = current;
    if (views.view1Present && (views.view1Flags & 0x1))
        value = u * 5 / 10;  // half an inch
    if (views.view2Present && (views.view2Flags & 0x1) && views.view2Hundredths >= 0)
        value = u * views.view2Hundredths / 100;
    if (views.view3Present && (views.view3Flags & 0x1)) {
        // 0.1 mm to inch by 567/144000 (not 1/254): the factor the stored layouts were made with.
        if (metric)
            value = u * views.view3TenthsMm * 567 / 144000;
        else
            value = u * views.view3Hundredths / 100;
    }
    return ClampToShort(value);
}

WORD ScreenModeRule(bool present, DWORD flags, SHORT n)
{
    WORD mode = 10;
    if (!present)
        return mode;
    if (flags & 0x2)
        mode = 2;
    else if (flags & 0x1)
        mode = 1;
    else if (flags & 0x4)
        mode = 4;
    if ((flags & 0x1) && (flags & 0x80))
        mode = 1;
    if (n <= 0 || (flags & 0x100))
        mode |= 0x8;
    else
        mode &= static_cast<WORD>(~0x8);
    return mode;
}

DuplexRuleResult DuplexRule(bool present, DWORD flags)
{
    DuplexRuleResult r;
    if (!present)
        return r;
    if ((flags & 0x3) && (flags & 0xC))
        r.fieldsExtra1 |= DMX1_DUPLEX_OPTION;
    if ((flags & 0x2) || (flags & 0x40)) {
        r.duplexOption = 0;
        r.installedDuplex = 1;
    }
    if (flags & 0x10)
        r.fieldsExtra3 |= DMX3_DUPLEX_10;
    return r;
}

bool JobKindRule(bool present, DWORD firstWord, DWORD secondWord, DWORD featureMask)
{
    return present && (firstWord & 0x1) && (secondWord == 0 || (secondWord & featureMask) != 0);
}

void ColourRule(PRIVDM& priv, const tagSPCCOLORDEFAULTS* answer)
{
    priv.dmColor = 1;
    if (answer == nullptr) {
        priv.dmColorMode = 0;
        priv.dmPrintStyle = 0;
        priv.dmColorManagement = 0;
        return;
    }
    if (answer->dwWord0 & 0x6)
        priv.dmFieldsExtra2 |= DMX2_COLOR_20;
    const SHORT colour = static_cast<SHORT>(answer->wWord1);
    priv.dmColor = (colour >= 1 && colour <= 3) ? colour : 2;
    priv.dmFieldsExtra2 |= DMX2_COLOR_40;
    priv.dmColorMode = 0;
    if (answer->dwWord2 != 0)
        priv.dmFieldsExtra2 |= DMX2_PRINT_STYLE;
    const WORD style = answer->wWord3;
    priv.dmPrintStyle = style <= 3 ? static_cast<SHORT>(style) : 0;
    priv.dmFieldsExtra2 |= DMX2_COLOR_100;
    const WORD management = answer->wWord29;
    priv.dmColorManagement = management <= 1 ? management : 1;
    // Words 5 to 14: the colour-control type, then nine slider defaults in this order; contrast
    // and gray stay 0.
    const SHORT type = static_cast<SHORT>(answer->wWords5To14[0]);
    priv.dmClrCtrl.wType = (type >= 1 && type <= 3) ? static_cast<WORD>(type) : 1;
    SHORT* const sliders[] = {
        &priv.dmClrCtrl.sBrightness, &priv.dmClrCtrl.sSaturation, &priv.dmClrCtrl.sRed,
        &priv.dmClrCtrl.sGreen,      &priv.dmClrCtrl.sBlue,       &priv.dmClrCtrl.sCyan,
        &priv.dmClrCtrl.sMagenta,    &priv.dmClrCtrl.sYellow,     &priv.dmClrCtrl.sBlack,
    };
    size_t word = 1;
    for (SHORT* slider : sliders) {
        *slider = static_cast<SHORT>(answer->wWords5To14[word]);
        ++word;
    }
}
