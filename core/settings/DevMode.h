// The settings record: every setting of one print job in one fixed 1232-byte image.
//
// The record is stored unchanged in the saved-settings file and sent as raw bytes through the
// filter's pipe, so this header is its only layout: a public part DEVMODE (96 bytes) followed by
// the private part PRIVDM (1136 bytes). Every field sits at its natural alignment with the gaps
// spelled out, so the compiler adds no padding of its own; the asserts below pin every offset.
// Multi-byte fields are little-endian in the image, which is the host order of every platform the
// driver builds for (asserted below).
//
// Where the settings program's side of the project knows a field under a second name, that name is
// noted beside it.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the settings record is a little-endian byte image read in place");

// ----- Public part ---------------------------------------------------------------------------

struct DEVMODE {
    WORD dmSize;              // 0: size of DEVMODE, 96
    WORD dmDriverExtra;       // 2: size of PRIVDM, 1136
    DWORD dmFields;           // 4: validity bits, DM_* below
    SHORT dmOrientation;      // 8: 1 portrait, 2 landscape
    SHORT dmPaperSize;        // 10: paper id (1..455 standard, 256 and above 455 custom)
    SHORT dmPaperLength;      // 12: 0.1 mm
    SHORT dmPaperWidth;       // 14: 0.1 mm
    SHORT dmScale;            // 16: percent
    SHORT dmCopies;           // 18
    SHORT dmDefaultSource;    // 20: paper source id
    SHORT dmPrintQuality;     // 22: horizontal resolution, dpi
    SHORT dmColor;            // 24: 1 monochrome, 2 colour
    SHORT dmDuplex;           // 26: 1 one-sided, 2 long edge, 3 short edge
    SHORT dmYResolution;      // 28: vertical resolution, dpi
    SHORT dmTTOption;         // 30: font option, carried unchanged
    SHORT dmCollate;          // 32: 0 off, 1 on
    char dmFormName[32];      // 34
    WORD dmLogPixels;         // 66: dpi
    DWORD dmBitsPerPel;       // 68: carried unchanged
    DWORD dmPelsWidth;        // 72: carried unchanged
    DWORD dmPelsHeight;       // 76: carried unchanged
    DWORD dmICMMethod;        // 80: colour matching method 1 or 2 (also called dmColorMatch)
    DWORD dmICMIntent;        // 84: colour matching intent 1..4
    DWORD dmMediaType;        // 88: media type id
    DWORD dmDitherType;       // 92: 1..5, 10, or 256 and above
};

// dmFields validity bits.
inline constexpr DWORD DM_ORIENTATION = 0x1;
inline constexpr DWORD DM_PAPERSIZE = 0x2;
inline constexpr DWORD DM_PAPERLENGTH = 0x4;
inline constexpr DWORD DM_PAPERWIDTH = 0x8;
inline constexpr DWORD DM_SCALE = 0x10;
inline constexpr DWORD DM_COPIES = 0x100;
inline constexpr DWORD DM_DEFAULTSOURCE = 0x200;
inline constexpr DWORD DM_PRINTQUALITY = 0x400;
inline constexpr DWORD DM_COLOR = 0x800;
inline constexpr DWORD DM_DUPLEX = 0x1000;
inline constexpr DWORD DM_YRESOLUTION = 0x2000;
inline constexpr DWORD DM_TTOPTION = 0x4000;
inline constexpr DWORD DM_COLLATE = 0x8000;
inline constexpr DWORD DM_FORMNAME = 0x10000;
inline constexpr DWORD DM_LOGPIXELS = 0x20000;
inline constexpr DWORD DM_BITSPERPEL = 0x40000;
inline constexpr DWORD DM_PELSWIDTH = 0x80000;
inline constexpr DWORD DM_PELSHEIGHT = 0x100000;
inline constexpr DWORD DM_ICMMETHOD = 0x800000;
inline constexpr DWORD DM_ICMINTENT = 0x1000000;
inline constexpr DWORD DM_MEDIATYPE = 0x2000000;
inline constexpr DWORD DM_DITHERTYPE = 0x4000000;

// ----- Private part --------------------------------------------------------------------------

// Colour-control block, 48 bytes: the adjustment sliders run -50..50 with 0 neutral.
struct CLRCTRL {
    WORD wType;               // +0: 1 saturation, 2 RGB balance, 3 CMYK balance
    SHORT sBrightness;        // +2
    SHORT sContrast;          // +4
    SHORT sSaturation;        // +6
    SHORT sRed;               // +8
    SHORT sGreen;             // +10
    SHORT sBlue;              // +12
    SHORT sCyan;              // +14
    SHORT sMagenta;           // +16
    SHORT sYellow;            // +18
    SHORT sBlack;             // +20
    SHORT sGray;              // +22
    BYTE bReserved24[8];      // +24
    WORD wProfile;            // +32: image colour profile 0/1
    WORD wGrayRepro;          // +34: gray reproduction 0/1
    BYTE bReserved36[2];      // +36
    SHORT sGrayBrightness;    // +38
    WORD wFourColor;          // +40: four-colour mode of the PCL-style headers
    WORD wInterpolation;      // +42: interpolation switch of the raster renderer
    BYTE bReserved44[4];      // +44
};

// Watermark block at private 760.
struct WMINFO {
    char String[196];         // private 760..955
    LONG pos[2];              // private 956, 960
    BYTE bReserved964[2];
    WORD wStyle;              // private 966
    WORD wPage;               // private 968
    WORD wLayer;              // private 970
};

// Comments give the offset inside PRIVDM (record offset = 96 + private offset).
struct PRIVDM {
    DWORD dwPrivDATA;               // 0: signature "DEMK"
    DWORD dwDevmodeVersion;         // 4
    DWORD dwFlags;                  // 8
    DWORD dmFieldsExtra1;           // 12: capability bits, DMX1_* below
    DWORD dmFieldsExtra2;           // 16: DMX2_*
    DWORD dmFieldsExtra3;           // 20: DMX3_*
    DWORD dmFieldsExtra4;           // 24
    DWORD dmExtraPrint;             // 28: DMXP_*
    DWORD dmTotalPages;             // 32: page count written by the filter's page pass
    DWORD dmExtraFlag;              // 36
    DWORD dmReserved40;             // 40: carried unchanged
    DWORD dmReserved44;             // 44: carried unchanged
    WORD dmSourceAndTypeFor1Page;   // 48
    SHORT dmFirstPagePaperSource;   // 50
    DWORD dmFirstPageMediaType;     // 52
    SHORT dmOutputPaperSize;        // 56: 0 = same as dmPaperSize
    SHORT dmOutputPaperWidth;       // 58: 0.1 mm
    SHORT dmOutputPaperLength;      // 60: 0.1 mm
    SHORT dmRotateOrient;           // 62
    WORD dmMetric;                  // 64: bit 0x2 metric units
    BYTE bReserved66[6];
    WORD dmBaseResolution;          // 72: dpi the layout values were made for
    WORD dmOption74;                // 74
    WORD dmDuplexOption;            // 76: 0 duplex unit available, 1 not
    WORD dmDuplexMargin;            // 78: in 1/dmUnitOfLayout inch
    WORD dmOption80;                // 80
    WORD dmReverseOrder;            // 82
    WORD dmMirror;                  // 84
    WORD dmOption86;                // 86
    WORD dmSkipBlankPages;          // 88
    WORD dmCopiesByDriver;          // 90
    WORD dmStaple;                  // 92: 0..6
    WORD dmFinisher;                // 94: finisher code
    WORD dmPunch;                   // 96: 0..3
    WORD dmOption98;                // 98
    WORD dmSort;                    // 100: 0..5
    WORD dmCoverPage;               // 102: 0x1 front, 0x2 back
    WORD dmFrontCoverFile;          // 104
    SHORT dmFrontCoverSource;       // 106
    WORD dmBackCoverFile;           // 108
    SHORT dmBackCoverSource;        // 110
    DWORD dmFrontCoverMedia;        // 112
    DWORD dmBackCoverMedia;         // 116
    WORD dmJobSpool;                // 120: 0 normal, 1..5 job kinds, 6 secure print
    WORD dmUseDeptCode;             // 122
    BYTE bReserved124[4];
    char dmDeptCode[32];            // 128
    char dmMailBox_UserID[32];      // 160
    char dmPassword[32];            // 192
    WORD dmLayoutPrint;             // 224: 0, 1 n-up, 2 booklet, 4 poster, 8 fit, 16 zoom
    WORD dmUnitOfLayout;            // 226: layout lengths are in 1/dmUnitOfLayout inch
    SHORT dmNup;                    // 228
    SHORT dmNupOrder;               // 230
    SHORT dmNupBorder;              // 232
    SHORT dmNupBorderWidth;         // 234
    SHORT dmBookletBinding;         // 236
    SHORT dmBookletUnit;            // 238
    SHORT dmGutter;                 // 240: layout units
    SHORT dmScaleTo;                // 242: zoom percent
    SHORT dmAlign;                  // 244: zoom position, low 4 bits 0..8
    WORD dmFittoPageRatio;          // 246
    SHORT dmPosterX;                // 248
    SHORT dmPosterY;                // 250
    SHORT dmOverlap;                // 252: layout units
    WORD dmNupUnitKind;             // 254
    WORD dmBookletUnitKind;         // 256
    BYTE bReserved258[6];
    SHORT dmColor;                  // 264: colour mode 1..3
    SHORT dmColorMode;              // 266
    SHORT dmPrintStyle;             // 268: 0..3
    WORD dmColorManagement;         // 270: 0/1 (also called dmMonoColorManage)
    CLRCTRL dmClrCtrl;              // 272
    WORD dmDensity;                 // 320
    WORD dmAllTextBlack;            // 322
    SHORT dmContrast;               // 324
    WORD dmLanguageMode;            // 326: read by the raster renderer's language choice
    BYTE bReserved328[2];
    SHORT dmQuality;                // 330: quality mode 1..4
    WORD dmScreenMode;              // 332
    WORD dmOption334;               // 334
    SHORT dmTonerSave;              // 336
    WORD dmOption338;               // 338
    WORD dmOption340;               // 340
    WORD dmOption342;               // 342
    WORD dmHalftone;                // 344
    WORD dmOption346;               // 346
    BYTE bReserved348[8];
    DWORD dmOptionBits356;          // 356
    BYTE bReserved360[2];
    WORD dmWord362;                 // 362: cleared by the revise pipeline
    BYTE bReserved364[96];
    char dmText460[32];             // 460: text field, terminated by the revise pipeline
    BYTE bReserved492[96];
    char dmText588[32];             // 588: text field, likewise
    DWORD dmOptionBits620;          // 620
    BYTE bReserved624[136];
    WMINFO dmWMInfo;                // 760
    DWORD dmWord972;                // 972
    DWORD dmWord976;                // 976
    DWORD dmInstalledValue35;       // 980
    DWORD dmInstalledValue36;       // 984
    WORD dmInstalledDuplex;         // 988: installed duplex-unit count
    WORD dmInstalledSummary[4];     // 990..996: installed-option summary words
    WORD dmInstalledValue998;       // 998: installed-option value
    BYTE bReserved1000[4];
    WORD dmOption1004;              // 1004
    WORD dmOption1006;              // 1006
    WORD dmWords1008[6];            // 1008..1018
    char dmJobName[84];             // 1020
    char dmUserName[32];            // 1104
};

// The whole record. PRIVDM is found at record start + dmSize; every valid record has dmSize 96.
struct DRVDEVMODE {
    DEVMODE dm;
    PRIVDM priv;
};

inline constexpr WORD kDevmodePublicSize = 96;
inline constexpr WORD kDevmodePrivateSize = 1136;
inline constexpr DWORD kDevmodeSize = 1232;
// "DEMK" read as a little-endian 32-bit word.
inline constexpr DWORD kDevmodeSignature = 0x4B4D4544;

// dmFieldsExtra1: private settings the model supports.
inline constexpr DWORD DMX1_MIRROR = 0x1;
inline constexpr DWORD DMX1_ROTATE180 = 0x2;
inline constexpr DWORD DMX1_OPTION340 = 0x8;
inline constexpr DWORD DMX1_FIRSTPAGE_MEDIA = 0x10;
inline constexpr DWORD DMX1_FIRSTPAGE_SOURCE = 0x20;
inline constexpr DWORD DMX1_OUTPUT_PAPER_DIMS = 0x40;
inline constexpr DWORD DMX1_OPTION74 = 0x100;
inline constexpr DWORD DMX1_DUPLEX_OPTION = 0x200;
inline constexpr DWORD DMX1_ALWAYS_400 = 0x400;
inline constexpr DWORD DMX1_ALWAYS_800 = 0x800;
inline constexpr DWORD DMX1_REVERSE_ORDER = 0x1000;
inline constexpr DWORD DMX1_ALWAYS_2000 = 0x2000;
inline constexpr DWORD DMX1_SKIP_BLANK = 0x4000;
inline constexpr DWORD DMX1_ALWAYS_8000 = 0x8000;
inline constexpr DWORD DMX1_STAPLE = 0x10000;
inline constexpr DWORD DMX1_FINISHER = 0x20000;
inline constexpr DWORD DMX1_PUNCH = 0x40000;
inline constexpr DWORD DMX1_PUNCH_80000 = 0x80000;
inline constexpr DWORD DMX1_SORT = 0x100000;
inline constexpr DWORD DMX1_JOB_OPTIONS = 0x200000;
inline constexpr DWORD DMX1_FRONT_COVER = 0x400000;
inline constexpr DWORD DMX1_BACK_COVER = 0x800000;
inline constexpr DWORD DMX1_JOBKIND1 = 0x1000000;
inline constexpr DWORD DMX1_JOBKIND2 = 0x2000000;
inline constexpr DWORD DMX1_JOBKIND3 = 0x4000000;
inline constexpr DWORD DMX1_DEPT_CODE = 0x8000000;
inline constexpr DWORD DMX1_JOBKIND4 = 0x10000000;
inline constexpr DWORD DMX1_JOBKIND5 = 0x20000000;

// dmFieldsExtra2.
inline constexpr DWORD DMX2_FIT = 0x1;
inline constexpr DWORD DMX2_ZOOM = 0x2;
inline constexpr DWORD DMX2_BOOKLET = 0x4;
inline constexpr DWORD DMX2_NUP = 0x8;
inline constexpr DWORD DMX2_POSTER = 0x10;
inline constexpr DWORD DMX2_COLOR_20 = 0x20;
inline constexpr DWORD DMX2_COLOR_40 = 0x40;
inline constexpr DWORD DMX2_PRINT_STYLE = 0x80;
inline constexpr DWORD DMX2_COLOR_100 = 0x100;
inline constexpr DWORD DMX2_DENSITY = 0x200;
inline constexpr DWORD DMX2_ALL_TEXT_BLACK = 0x400;
inline constexpr DWORD DMX2_SCREEN = 0x800;
inline constexpr DWORD DMX2_SCREEN_LIST = 0x1000;
inline constexpr DWORD DMX2_TONER_SAVE = 0x4000;
inline constexpr DWORD DMX2_OPTION338 = 0x8000;
inline constexpr DWORD DMX2_OPTION342 = 0x10000;
inline constexpr DWORD DMX2_HALFTONE = 0x20000;
inline constexpr DWORD DMX2_OPTIONBITS356 = 0x40000;
inline constexpr DWORD DMX2_OPTIONBITS620 = 0x80000;
inline constexpr DWORD DMX2_ALWAYS_100000 = 0x100000;
inline constexpr DWORD DMX2_INSTALLED35 = 0x200000;
inline constexpr DWORD DMX2_INSTALLED36 = 0x400000;
inline constexpr DWORD DMX2_FINISHER_UNITS = 0x800000;
inline constexpr DWORD DMX2_PUNCH_UNITS = 0x1000000;
inline constexpr DWORD DMX2_LARGE_TRAY = 0x2000000;
inline constexpr DWORD DMX2_ALWAYS_4000000 = 0x4000000;
inline constexpr DWORD DMX2_INSTALLED998 = 0x8000000;
inline constexpr DWORD DMX2_CONTRAST = 0x10000000;
inline constexpr DWORD DMX2_OPTION346 = 0x20000000;

// dmFieldsExtra3.
inline constexpr DWORD DMX3_ALWAYS_1 = 0x1;
inline constexpr DWORD DMX3_OPTION1004 = 0x2;
inline constexpr DWORD DMX3_OPTION1006 = 0x4;
inline constexpr DWORD DMX3_LIST71 = 0x8;
inline constexpr DWORD DMX3_DUPLEX_10 = 0x10;

// dmExtraPrint.
inline constexpr DWORD DMXP_MIRROR = 0x1;
inline constexpr DWORD DMXP_ROTATE180 = 0x2;
inline constexpr DWORD DMXP_FIRSTPAGE = 0x4;
inline constexpr DWORD DMXP_OPTION340 = 0x8;

// ----- Layout asserts ------------------------------------------------------------------------

static_assert(sizeof(DEVMODE) == 96);
static_assert(sizeof(PRIVDM) == 1136);
static_assert(sizeof(DRVDEVMODE) == 1232);
static_assert(sizeof(CLRCTRL) == 48);
static_assert(sizeof(WMINFO) == 212);
static_assert(offsetof(DRVDEVMODE, priv) == 96);

static_assert(offsetof(DEVMODE, dmSize) == 0);
static_assert(offsetof(DEVMODE, dmDriverExtra) == 2);
static_assert(offsetof(DEVMODE, dmFields) == 4);
static_assert(offsetof(DEVMODE, dmOrientation) == 8);
static_assert(offsetof(DEVMODE, dmPaperSize) == 10);
static_assert(offsetof(DEVMODE, dmPaperLength) == 12);
static_assert(offsetof(DEVMODE, dmPaperWidth) == 14);
static_assert(offsetof(DEVMODE, dmScale) == 16);
static_assert(offsetof(DEVMODE, dmCopies) == 18);
static_assert(offsetof(DEVMODE, dmDefaultSource) == 20);
static_assert(offsetof(DEVMODE, dmPrintQuality) == 22);
static_assert(offsetof(DEVMODE, dmColor) == 24);
static_assert(offsetof(DEVMODE, dmDuplex) == 26);
static_assert(offsetof(DEVMODE, dmYResolution) == 28);
static_assert(offsetof(DEVMODE, dmTTOption) == 30);
static_assert(offsetof(DEVMODE, dmCollate) == 32);
static_assert(offsetof(DEVMODE, dmFormName) == 34);
static_assert(offsetof(DEVMODE, dmLogPixels) == 66);
static_assert(offsetof(DEVMODE, dmBitsPerPel) == 68);
static_assert(offsetof(DEVMODE, dmPelsWidth) == 72);
static_assert(offsetof(DEVMODE, dmPelsHeight) == 76);
static_assert(offsetof(DEVMODE, dmICMMethod) == 80);
static_assert(offsetof(DEVMODE, dmICMIntent) == 84);
static_assert(offsetof(DEVMODE, dmMediaType) == 88);
static_assert(offsetof(DEVMODE, dmDitherType) == 92);

static_assert(offsetof(CLRCTRL, wType) == 0);
static_assert(offsetof(CLRCTRL, sBrightness) == 2);
static_assert(offsetof(CLRCTRL, sContrast) == 4);
static_assert(offsetof(CLRCTRL, sSaturation) == 6);
static_assert(offsetof(CLRCTRL, sRed) == 8);
static_assert(offsetof(CLRCTRL, sGreen) == 10);
static_assert(offsetof(CLRCTRL, sBlue) == 12);
static_assert(offsetof(CLRCTRL, sCyan) == 14);
static_assert(offsetof(CLRCTRL, sMagenta) == 16);
static_assert(offsetof(CLRCTRL, sYellow) == 18);
static_assert(offsetof(CLRCTRL, sBlack) == 20);
static_assert(offsetof(CLRCTRL, sGray) == 22);
static_assert(offsetof(CLRCTRL, wProfile) == 32);
static_assert(offsetof(CLRCTRL, wGrayRepro) == 34);
static_assert(offsetof(CLRCTRL, sGrayBrightness) == 38);
static_assert(offsetof(CLRCTRL, wFourColor) == 40);
static_assert(offsetof(CLRCTRL, wInterpolation) == 42);

static_assert(offsetof(WMINFO, pos) == 956 - 760);
static_assert(offsetof(WMINFO, wStyle) == 966 - 760);
static_assert(offsetof(WMINFO, wPage) == 968 - 760);
static_assert(offsetof(WMINFO, wLayer) == 970 - 760);

static_assert(offsetof(PRIVDM, dwPrivDATA) == 0);
static_assert(offsetof(PRIVDM, dwDevmodeVersion) == 4);
static_assert(offsetof(PRIVDM, dwFlags) == 8);
static_assert(offsetof(PRIVDM, dmFieldsExtra1) == 12);
static_assert(offsetof(PRIVDM, dmFieldsExtra2) == 16);
static_assert(offsetof(PRIVDM, dmFieldsExtra3) == 20);
static_assert(offsetof(PRIVDM, dmFieldsExtra4) == 24);
static_assert(offsetof(PRIVDM, dmExtraPrint) == 28);
static_assert(offsetof(PRIVDM, dmTotalPages) == 32);
static_assert(offsetof(PRIVDM, dmExtraFlag) == 36);
static_assert(offsetof(PRIVDM, dmReserved40) == 40);
static_assert(offsetof(PRIVDM, dmReserved44) == 44);
static_assert(offsetof(PRIVDM, dmSourceAndTypeFor1Page) == 48);
static_assert(offsetof(PRIVDM, dmFirstPagePaperSource) == 50);
static_assert(offsetof(PRIVDM, dmFirstPageMediaType) == 52);
static_assert(offsetof(PRIVDM, dmOutputPaperSize) == 56);
static_assert(offsetof(PRIVDM, dmOutputPaperWidth) == 58);
static_assert(offsetof(PRIVDM, dmOutputPaperLength) == 60);
static_assert(offsetof(PRIVDM, dmRotateOrient) == 62);
static_assert(offsetof(PRIVDM, dmMetric) == 64);
static_assert(offsetof(PRIVDM, dmBaseResolution) == 72);
static_assert(offsetof(PRIVDM, dmOption74) == 74);
static_assert(offsetof(PRIVDM, dmDuplexOption) == 76);
static_assert(offsetof(PRIVDM, dmDuplexMargin) == 78);
static_assert(offsetof(PRIVDM, dmOption80) == 80);
static_assert(offsetof(PRIVDM, dmReverseOrder) == 82);
static_assert(offsetof(PRIVDM, dmMirror) == 84);
static_assert(offsetof(PRIVDM, dmOption86) == 86);
static_assert(offsetof(PRIVDM, dmSkipBlankPages) == 88);
static_assert(offsetof(PRIVDM, dmCopiesByDriver) == 90);
static_assert(offsetof(PRIVDM, dmStaple) == 92);
static_assert(offsetof(PRIVDM, dmFinisher) == 94);
static_assert(offsetof(PRIVDM, dmPunch) == 96);
static_assert(offsetof(PRIVDM, dmOption98) == 98);
static_assert(offsetof(PRIVDM, dmSort) == 100);
static_assert(offsetof(PRIVDM, dmCoverPage) == 102);
static_assert(offsetof(PRIVDM, dmFrontCoverFile) == 104);
static_assert(offsetof(PRIVDM, dmFrontCoverSource) == 106);
static_assert(offsetof(PRIVDM, dmBackCoverFile) == 108);
static_assert(offsetof(PRIVDM, dmBackCoverSource) == 110);
static_assert(offsetof(PRIVDM, dmFrontCoverMedia) == 112);
static_assert(offsetof(PRIVDM, dmBackCoverMedia) == 116);
static_assert(offsetof(PRIVDM, dmJobSpool) == 120);
static_assert(offsetof(PRIVDM, dmUseDeptCode) == 122);
static_assert(offsetof(PRIVDM, dmDeptCode) == 128);
static_assert(offsetof(PRIVDM, dmMailBox_UserID) == 160);
static_assert(offsetof(PRIVDM, dmPassword) == 192);
static_assert(offsetof(PRIVDM, dmLayoutPrint) == 224);
static_assert(offsetof(PRIVDM, dmUnitOfLayout) == 226);
static_assert(offsetof(PRIVDM, dmNup) == 228);
static_assert(offsetof(PRIVDM, dmNupOrder) == 230);
static_assert(offsetof(PRIVDM, dmNupBorder) == 232);
static_assert(offsetof(PRIVDM, dmNupBorderWidth) == 234);
static_assert(offsetof(PRIVDM, dmBookletBinding) == 236);
static_assert(offsetof(PRIVDM, dmBookletUnit) == 238);
static_assert(offsetof(PRIVDM, dmGutter) == 240);
static_assert(offsetof(PRIVDM, dmScaleTo) == 242);
static_assert(offsetof(PRIVDM, dmAlign) == 244);
static_assert(offsetof(PRIVDM, dmFittoPageRatio) == 246);
static_assert(offsetof(PRIVDM, dmPosterX) == 248);
static_assert(offsetof(PRIVDM, dmPosterY) == 250);
static_assert(offsetof(PRIVDM, dmOverlap) == 252);
static_assert(offsetof(PRIVDM, dmNupUnitKind) == 254);
static_assert(offsetof(PRIVDM, dmBookletUnitKind) == 256);
static_assert(offsetof(PRIVDM, dmColor) == 264);
static_assert(offsetof(PRIVDM, dmColorMode) == 266);
static_assert(offsetof(PRIVDM, dmPrintStyle) == 268);
static_assert(offsetof(PRIVDM, dmColorManagement) == 270);
static_assert(offsetof(PRIVDM, dmClrCtrl) == 272);
static_assert(offsetof(PRIVDM, dmDensity) == 320);
static_assert(offsetof(PRIVDM, dmAllTextBlack) == 322);
static_assert(offsetof(PRIVDM, dmContrast) == 324);
static_assert(offsetof(PRIVDM, dmLanguageMode) == 326);
static_assert(offsetof(PRIVDM, dmQuality) == 330);
static_assert(offsetof(PRIVDM, dmScreenMode) == 332);
static_assert(offsetof(PRIVDM, dmOption334) == 334);
static_assert(offsetof(PRIVDM, dmTonerSave) == 336);
static_assert(offsetof(PRIVDM, dmOption338) == 338);
static_assert(offsetof(PRIVDM, dmOption340) == 340);
static_assert(offsetof(PRIVDM, dmOption342) == 342);
static_assert(offsetof(PRIVDM, dmHalftone) == 344);
static_assert(offsetof(PRIVDM, dmOption346) == 346);
static_assert(offsetof(PRIVDM, dmOptionBits356) == 356);
static_assert(offsetof(PRIVDM, dmWord362) == 362);
static_assert(offsetof(PRIVDM, dmText460) == 460);
static_assert(offsetof(PRIVDM, dmText588) == 588);
static_assert(offsetof(PRIVDM, dmOptionBits620) == 620);
static_assert(offsetof(PRIVDM, dmWMInfo) == 760);
static_assert(offsetof(PRIVDM, dmWord972) == 972);
static_assert(offsetof(PRIVDM, dmWord976) == 976);
static_assert(offsetof(PRIVDM, dmInstalledValue35) == 980);
static_assert(offsetof(PRIVDM, dmInstalledValue36) == 984);
static_assert(offsetof(PRIVDM, dmInstalledDuplex) == 988);
static_assert(offsetof(PRIVDM, dmInstalledSummary) == 990);
static_assert(offsetof(PRIVDM, dmInstalledValue998) == 998);
static_assert(offsetof(PRIVDM, dmOption1004) == 1004);
static_assert(offsetof(PRIVDM, dmOption1006) == 1006);
static_assert(offsetof(PRIVDM, dmWords1008) == 1008);
static_assert(offsetof(PRIVDM, dmJobName) == 1020);
static_assert(offsetof(PRIVDM, dmUserName) == 1104);
