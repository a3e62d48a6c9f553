// The rules of the settings defaults, fed with answers written by hand.
#include "core/settings/DevModeRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct LengthCase {
    const char* what;
    WORD unit;
    bool metric;
    LayoutLengthViews views;
    SHORT expected;
};

LayoutLengthViews View1(DWORD flags)
{
    LayoutLengthViews v;
    v.view1Present = true;
    v.view1Flags = flags;
    return v;
}

LayoutLengthViews View2(DWORD flags, SHORT hundredths, bool withView1 = false)
{
    LayoutLengthViews v = withView1 ? View1(1) : LayoutLengthViews{};
    v.view2Present = true;
    v.view2Flags = flags;
    v.view2Hundredths = hundredths;
    return v;
}

LayoutLengthViews View3(DWORD flags, SHORT tenthsMm, SHORT hundredths, bool withView1 = false)
{
    LayoutLengthViews v = withView1 ? View1(1) : LayoutLengthViews{};
    v.view3Present = true;
    v.view3Flags = flags;
    v.view3TenthsMm = tenthsMm;
    v.view3Hundredths = hundredths;
    return v;
}

TEST(LayoutLengthRule, LaterViewsOverrideAndUnitsFollowTheLocale)
{
    const LengthCase cases[] = {
        {"no view", 600, true, LayoutLengthViews{}, 0},
        {"view 1: half an inch at 600", 600, true, View1(1), 300},
        {"view 1: half an inch at 300", 300, false, View1(1), 150},
        {"view 1 without bit 0", 600, true, View1(2), 0},
        {"view 2: 0.25 inch", 600, true, View2(1, 25), 150},
        {"view 2 negative keeps view 1", 600, true, View2(1, -1, true), 300},
        {"view 2 zero overrides view 1", 600, true, View2(1, 0, true), 0},
        {"view 2 without bit 0 keeps view 1", 600, true, View2(0, 25, true), 300},
        // 10 mm at 600 dpi: 600 x 100 x 567 / 144000 = 236.25
        {"view 3 metric uses 0.1 mm", 600, true, View3(1, 100, 25, true), 236},
        {"view 3 inch uses 1/100 inch", 600, false, View3(1, 100, 25, true), 150},
        {"view 3 without bit 0 keeps view 1", 600, true, View3(0, 100, 25, true), 300},
        // 9600 x 500 x 567 passes 2^31; the answer 18900 fits.
        {"no 32-bit overflow", 9600, true, View3(1, 500, 0), 18900},
        {"too long for the field is held at its top", 1200, true, View3(1, 32000, 0), 32767},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LayoutLengthRule(0, c.unit, c.metric, c.views), c.expected);
    }
}

TEST(ScreenModeRule, FlagsChooseTheModeAndBit8)
{
    struct Case {
        bool present;
        DWORD flags;
        SHORT n;
        WORD expected;
    } const cases[] = {
        {false, 0x2, 1, 10},
        {true, 0x2, 1, 2},
        {true, 0x3, 1, 2},               // 0x2 before 0x1
        {true, 0x1, 1, 1},
        {true, 0x4, 1, 4},
        {true, 0x0, 1, 2},               // stays 10, then bit 0x8 cleared
        {true, 0x0, 0, 10},
        {true, 0x83, 1, 1},              // 0x1 with 0x80 gives 1 even with 0x2
        {true, 0x82, 1, 2},
        {true, 0x2, 0, 2 | 0x8},
        {true, 0x4, -3, 4 | 0x8},
        {true, 0x101, 7, 1 | 0x8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " n " << c.n);
        EXPECT_EQ(ScreenModeRule(c.present, c.flags, c.n), c.expected);
    }
}

TEST(DuplexRule, UnitPresenceAndCapabilityBits)
{
    struct Case {
        bool present;
        DWORD flags;
        DWORD extra1;
        DWORD extra3;
        WORD option;
        WORD installed;
    } const cases[] = {
        {false, 0x6, 0, 0, 1, 0},
        {true, 0x0, 0, 0, 1, 0},
        {true, 0x5, DMX1_DUPLEX_OPTION, 0, 1, 0},
        {true, 0x6, DMX1_DUPLEX_OPTION, 0, 0, 1},
        {true, 0x2, 0, 0, 0, 1},
        {true, 0x40, 0, 0, 0, 1},
        {true, 0x8, 0, 0, 1, 0},
        {true, 0x10, 0, DMX3_DUPLEX_10, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags);
        const DuplexRuleResult r = DuplexRule(c.present, c.flags);
        EXPECT_EQ(r.fieldsExtra1, c.extra1);
        EXPECT_EQ(r.fieldsExtra3, c.extra3);
        EXPECT_EQ(r.duplexOption, c.option);
        EXPECT_EQ(r.installedDuplex, c.installed);
    }
}

TEST(JobKindRule, NeedsBit0AndAMatchingFeature)
{
    struct Case {
        bool present;
        DWORD first;
        DWORD second;
        DWORD mask;
        bool offered;
    } const cases[] = {
        {false, 1, 0, 0xF, false},
        {true, 0, 0, 0xF, false},
        {true, 1, 0, 0, true},
        {true, 3, 0x4, 0x4, true},
        {true, 1, 0x8, 0x7, false},
        {true, 1, 0x9, 0x1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JobKindRule(c.present, c.first, c.second, c.mask), c.offered);
}

// An 80-byte colour-defaults answer with the given fields, little-endian, written at the byte
// offsets of the answer and read back as the record the rule takes.
tagSPCCOLORDEFAULTS ColourAnswer(uint32_t flags, int16_t colour, uint32_t styleSwitch, uint16_t style,
                                 int16_t type, uint16_t management)
{
    std::vector<BYTE> a(80, 0);
    auto put16 = [&](size_t off, uint16_t v) { a[off] = v & 0xFF; a[off + 1] = v >> 8; };
    auto put32 = [&](size_t off, uint32_t v) { for (int i = 0; i < 4; ++i) a[off + i] = (v >> (8 * i)) & 0xFF; };
    put32(0, flags);
    put16(4, static_cast<uint16_t>(colour));
    put32(8, styleSwitch);
    put16(12, style);
    put16(20, static_cast<uint16_t>(type));
    for (int i = 0; i < 9; ++i)
        put16(22 + 2 * i, static_cast<uint16_t>(-(i + 1) * 5));  // -5, -10, ..., -45
    put16(76, management);
    tagSPCCOLORDEFAULTS record;
    static_assert(sizeof record == 80, "the colour-defaults answer is 80 bytes");
    std::memcpy(&record, a.data(), sizeof record);
    return record;
}

PRIVDM ZeroPriv()
{
    PRIVDM p;
    std::memset(&p, 0, sizeof p);
    return p;
}

TEST(ColourRule, WithoutAnswerTheRecordIsMonochromeAndPlain)
{
    PRIVDM p = ZeroPriv();
    p.dmColorMode = 5;
    p.dmPrintStyle = 2;
    p.dmColorManagement = 1;
    ColourRule(p, nullptr);
    EXPECT_EQ(p.dmColor, 1);
    EXPECT_EQ(p.dmColorMode, 0);
    EXPECT_EQ(p.dmPrintStyle, 0);
    EXPECT_EQ(p.dmColorManagement, 0);
    EXPECT_EQ(p.dmFieldsExtra2, 0u);
    EXPECT_EQ(p.dmClrCtrl.wType, 0);
}

TEST(ColourRule, ValidAnswerFillsModeStyleAndSliders)
{
    PRIVDM p = ZeroPriv();
    const tagSPCCOLORDEFAULTS a = ColourAnswer(0x4, 3, 7, 2, 2, 0);
    ColourRule(p, &a);
    EXPECT_EQ(p.dmColor, 3);
    EXPECT_EQ(p.dmPrintStyle, 2);
    EXPECT_EQ(p.dmColorManagement, 0);
    EXPECT_EQ(p.dmFieldsExtra2, DMX2_COLOR_20 | DMX2_COLOR_40 | DMX2_PRINT_STYLE | DMX2_COLOR_100);
    EXPECT_EQ(p.dmClrCtrl.wType, 2);
    EXPECT_EQ(p.dmClrCtrl.sBrightness, -5);
    EXPECT_EQ(p.dmClrCtrl.sContrast, 0);
    EXPECT_EQ(p.dmClrCtrl.sSaturation, -10);
    EXPECT_EQ(p.dmClrCtrl.sRed, -15);
    EXPECT_EQ(p.dmClrCtrl.sGreen, -20);
    EXPECT_EQ(p.dmClrCtrl.sBlue, -25);
    EXPECT_EQ(p.dmClrCtrl.sCyan, -30);
    EXPECT_EQ(p.dmClrCtrl.sMagenta, -35);
    EXPECT_EQ(p.dmClrCtrl.sYellow, -40);
    EXPECT_EQ(p.dmClrCtrl.sBlack, -45);
    EXPECT_EQ(p.dmClrCtrl.sGray, 0);
}

TEST(ColourRule, OutOfRangeAnswerValuesFallBack)
{
    PRIVDM p = ZeroPriv();
    const tagSPCCOLORDEFAULTS a = ColourAnswer(0x1, 4, 0, 4, 0, 2);
    ColourRule(p, &a);
    EXPECT_EQ(p.dmColor, 2);
    EXPECT_EQ(p.dmPrintStyle, 0);
    EXPECT_EQ(p.dmColorManagement, 1);
    EXPECT_EQ(p.dmClrCtrl.wType, 1);
    EXPECT_EQ(p.dmFieldsExtra2, DMX2_COLOR_40 | DMX2_COLOR_100);
}

}  // namespace
