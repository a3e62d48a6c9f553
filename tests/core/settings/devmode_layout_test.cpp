// The settings record read from a byte image written by hand from the record's layout table:
// every field must come out of the struct from the bytes at its documented position, little-endian.
#include "core/settings/DevMode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct FieldCase {
    const char* name;
    size_t recordOffset;  // from the record start
    int width;            // 2 or 4
    bool isSigned;
    std::function<int64_t(const DRVDEVMODE&)> read;
};

// Writes `value` at `offset` as `width` little-endian bytes, one byte at a time.
void PutLe(std::vector<BYTE>& image, size_t offset, int width, uint32_t value)
{
    for (int i = 0; i < width; ++i)
        image[offset + i] = static_cast<BYTE>(value >> (8 * i));
}

// A value whose bytes all differ and whose top bit is set, so a field read one byte off, a
// swapped byte order or a lost sign all show.
uint32_t ProbeValue(size_t offset, int width)
{
    const uint32_t lo = offset & 0xFF;
    const uint32_t hi = 0x80 | (((offset >> 8) + 0x11) & 0x7F);
    if (width == 2)
        return hi << 8 | lo;
    return hi << 24 | 0x3C0000u | 0x5A00u | lo;
}

int64_t Expected(uint32_t raw, int width, bool isSigned)
{
    if (width == 2)
        return isSigned ? int64_t{static_cast<int16_t>(raw)} : int64_t{static_cast<uint16_t>(raw)};
    return isSigned ? int64_t{static_cast<int32_t>(raw)} : int64_t{static_cast<uint32_t>(raw)};
}

#define PUB(f) [](const DRVDEVMODE& d) -> int64_t { return d.dm.f; }
#define PRV(f) [](const DRVDEVMODE& d) -> int64_t { return d.priv.f; }

const FieldCase kFields[] = {
    {"dmSize", 0, 2, false, PUB(dmSize)},
    {"dmDriverExtra", 2, 2, false, PUB(dmDriverExtra)},
    {"dmFields", 4, 4, false, PUB(dmFields)},
    {"dmOrientation", 8, 2, true, PUB(dmOrientation)},
    {"dmPaperSize", 10, 2, true, PUB(dmPaperSize)},
    {"dmPaperLength", 12, 2, true, PUB(dmPaperLength)},
    {"dmPaperWidth", 14, 2, true, PUB(dmPaperWidth)},
    {"dmScale", 16, 2, true, PUB(dmScale)},
    {"dmCopies", 18, 2, true, PUB(dmCopies)},
    {"dmDefaultSource", 20, 2, true, PUB(dmDefaultSource)},
    {"dmPrintQuality", 22, 2, true, PUB(dmPrintQuality)},
    {"dmColor", 24, 2, true, PUB(dmColor)},
    {"dmDuplex", 26, 2, true, PUB(dmDuplex)},
    {"dmYResolution", 28, 2, true, PUB(dmYResolution)},
    {"dmTTOption", 30, 2, true, PUB(dmTTOption)},
    {"dmCollate", 32, 2, true, PUB(dmCollate)},
    {"dmLogPixels", 66, 2, false, PUB(dmLogPixels)},
    {"dmBitsPerPel", 68, 4, false, PUB(dmBitsPerPel)},
    {"dmPelsWidth", 72, 4, false, PUB(dmPelsWidth)},
    {"dmPelsHeight", 76, 4, false, PUB(dmPelsHeight)},
    {"dmICMMethod", 80, 4, false, PUB(dmICMMethod)},
    {"dmICMIntent", 84, 4, false, PUB(dmICMIntent)},
    {"dmMediaType", 88, 4, false, PUB(dmMediaType)},
    {"dmDitherType", 92, 4, false, PUB(dmDitherType)},
    {"dwPrivDATA", 96, 4, false, PRV(dwPrivDATA)},
    {"dwDevmodeVersion", 100, 4, false, PRV(dwDevmodeVersion)},
    {"dwFlags", 104, 4, false, PRV(dwFlags)},
    {"dmFieldsExtra1", 108, 4, false, PRV(dmFieldsExtra1)},
    {"dmFieldsExtra2", 112, 4, false, PRV(dmFieldsExtra2)},
    {"dmFieldsExtra3", 116, 4, false, PRV(dmFieldsExtra3)},
    {"dmFieldsExtra4", 120, 4, false, PRV(dmFieldsExtra4)},
    {"dmExtraPrint", 124, 4, false, PRV(dmExtraPrint)},
    {"dmTotalPages", 128, 4, false, PRV(dmTotalPages)},
    {"dmExtraFlag", 132, 4, false, PRV(dmExtraFlag)},
    {"dmReserved40", 136, 4, false, PRV(dmReserved40)},
    {"dmReserved44", 140, 4, false, PRV(dmReserved44)},
    {"dmSourceAndTypeFor1Page", 144, 2, false, PRV(dmSourceAndTypeFor1Page)},
    {"dmFirstPagePaperSource", 146, 2, true, PRV(dmFirstPagePaperSource)},
    {"dmFirstPageMediaType", 148, 4, false, PRV(dmFirstPageMediaType)},
    {"dmOutputPaperSize", 152, 2, true, PRV(dmOutputPaperSize)},
    {"dmOutputPaperWidth", 154, 2, true, PRV(dmOutputPaperWidth)},
    {"dmOutputPaperLength", 156, 2, true, PRV(dmOutputPaperLength)},
    {"dmRotateOrient", 158, 2, true, PRV(dmRotateOrient)},
    {"dmMetric", 160, 2, false, PRV(dmMetric)},
    {"dmBaseResolution", 168, 2, false, PRV(dmBaseResolution)},
    {"dmOption74", 170, 2, false, PRV(dmOption74)},
    {"dmDuplexOption", 172, 2, false, PRV(dmDuplexOption)},
    {"dmDuplexMargin", 174, 2, false, PRV(dmDuplexMargin)},
    {"dmOption80", 176, 2, false, PRV(dmOption80)},
    {"dmReverseOrder", 178, 2, false, PRV(dmReverseOrder)},
    {"dmMirror", 180, 2, false, PRV(dmMirror)},
    {"dmOption86", 182, 2, false, PRV(dmOption86)},
    {"dmSkipBlankPages", 184, 2, false, PRV(dmSkipBlankPages)},
    {"dmCopiesByDriver", 186, 2, false, PRV(dmCopiesByDriver)},
    {"dmStaple", 188, 2, false, PRV(dmStaple)},
    {"dmFinisher", 190, 2, false, PRV(dmFinisher)},
    {"dmPunch", 192, 2, false, PRV(dmPunch)},
    {"dmOption98", 194, 2, false, PRV(dmOption98)},
    {"dmSort", 196, 2, false, PRV(dmSort)},
    {"dmCoverPage", 198, 2, false, PRV(dmCoverPage)},
    {"dmFrontCoverFile", 200, 2, false, PRV(dmFrontCoverFile)},
    {"dmFrontCoverSource", 202, 2, true, PRV(dmFrontCoverSource)},
    {"dmBackCoverFile", 204, 2, false, PRV(dmBackCoverFile)},
    {"dmBackCoverSource", 206, 2, true, PRV(dmBackCoverSource)},
    {"dmFrontCoverMedia", 208, 4, false, PRV(dmFrontCoverMedia)},
    {"dmBackCoverMedia", 212, 4, false, PRV(dmBackCoverMedia)},
    {"dmJobSpool", 216, 2, false, PRV(dmJobSpool)},
    {"dmUseDeptCode", 218, 2, false, PRV(dmUseDeptCode)},
    {"dmLayoutPrint", 320, 2, false, PRV(dmLayoutPrint)},
    {"dmUnitOfLayout", 322, 2, false, PRV(dmUnitOfLayout)},
    {"dmNup", 324, 2, true, PRV(dmNup)},
    {"dmNupOrder", 326, 2, true, PRV(dmNupOrder)},
    {"dmNupBorder", 328, 2, true, PRV(dmNupBorder)},
    {"dmNupBorderWidth", 330, 2, true, PRV(dmNupBorderWidth)},
    {"dmBookletBinding", 332, 2, true, PRV(dmBookletBinding)},
    {"dmBookletUnit", 334, 2, true, PRV(dmBookletUnit)},
    {"dmGutter", 336, 2, true, PRV(dmGutter)},
    {"dmScaleTo", 338, 2, true, PRV(dmScaleTo)},
    {"dmAlign", 340, 2, true, PRV(dmAlign)},
    {"dmFittoPageRatio", 342, 2, false, PRV(dmFittoPageRatio)},
    {"dmPosterX", 344, 2, true, PRV(dmPosterX)},
    {"dmPosterY", 346, 2, true, PRV(dmPosterY)},
    {"dmOverlap", 348, 2, true, PRV(dmOverlap)},
    {"dmNupUnitKind", 350, 2, false, PRV(dmNupUnitKind)},
    {"dmBookletUnitKind", 352, 2, false, PRV(dmBookletUnitKind)},
    {"PRIVDM.dmColor", 360, 2, true, PRV(dmColor)},
    {"dmColorMode", 362, 2, true, PRV(dmColorMode)},
    {"dmPrintStyle", 364, 2, true, PRV(dmPrintStyle)},
    {"dmColorManagement", 366, 2, false, PRV(dmColorManagement)},
    {"dmClrCtrl.wType", 368, 2, false, PRV(dmClrCtrl.wType)},
    {"dmClrCtrl.sBrightness", 370, 2, true, PRV(dmClrCtrl.sBrightness)},
    {"dmClrCtrl.sContrast", 372, 2, true, PRV(dmClrCtrl.sContrast)},
    {"dmClrCtrl.sSaturation", 374, 2, true, PRV(dmClrCtrl.sSaturation)},
    {"dmClrCtrl.sRed", 376, 2, true, PRV(dmClrCtrl.sRed)},
    {"dmClrCtrl.sGreen", 378, 2, true, PRV(dmClrCtrl.sGreen)},
    {"dmClrCtrl.sBlue", 380, 2, true, PRV(dmClrCtrl.sBlue)},
    {"dmClrCtrl.sCyan", 382, 2, true, PRV(dmClrCtrl.sCyan)},
    {"dmClrCtrl.sMagenta", 384, 2, true, PRV(dmClrCtrl.sMagenta)},
    {"dmClrCtrl.sYellow", 386, 2, true, PRV(dmClrCtrl.sYellow)},
    {"dmClrCtrl.sBlack", 388, 2, true, PRV(dmClrCtrl.sBlack)},
    {"dmClrCtrl.sGray", 390, 2, true, PRV(dmClrCtrl.sGray)},
    {"dmClrCtrl.wProfile", 400, 2, false, PRV(dmClrCtrl.wProfile)},
    {"dmClrCtrl.wGrayRepro", 402, 2, false, PRV(dmClrCtrl.wGrayRepro)},
    {"dmClrCtrl.sGrayBrightness", 406, 2, true, PRV(dmClrCtrl.sGrayBrightness)},
    {"dmClrCtrl.wFourColor", 408, 2, false, PRV(dmClrCtrl.wFourColor)},
    {"dmClrCtrl.wInterpolation", 410, 2, false, PRV(dmClrCtrl.wInterpolation)},
    {"dmDensity", 416, 2, false, PRV(dmDensity)},
    {"dmAllTextBlack", 418, 2, false, PRV(dmAllTextBlack)},
    {"dmContrast", 420, 2, true, PRV(dmContrast)},
    {"dmLanguageMode", 422, 2, false, PRV(dmLanguageMode)},
    {"dmQuality", 426, 2, true, PRV(dmQuality)},
    {"dmScreenMode", 428, 2, false, PRV(dmScreenMode)},
    {"dmOption334", 430, 2, false, PRV(dmOption334)},
    {"dmTonerSave", 432, 2, true, PRV(dmTonerSave)},
    {"dmOption338", 434, 2, false, PRV(dmOption338)},
    {"dmOption340", 436, 2, false, PRV(dmOption340)},
    {"dmOption342", 438, 2, false, PRV(dmOption342)},
    {"dmHalftone", 440, 2, false, PRV(dmHalftone)},
    {"dmOption346", 442, 2, false, PRV(dmOption346)},
    {"dmOptionBits356", 452, 4, false, PRV(dmOptionBits356)},
    {"private 362", 458, 2, false, PRV(dmWord362)},
    {"dmOptionBits620", 716, 4, false, PRV(dmOptionBits620)},
    {"dmWMInfo.pos[0]", 1052, 4, true, PRV(dmWMInfo.pos[0])},
    {"dmWMInfo.pos[1]", 1056, 4, true, PRV(dmWMInfo.pos[1])},
    {"dmWMInfo.wStyle", 1062, 2, false, PRV(dmWMInfo.wStyle)},
    {"dmWMInfo.wPage", 1064, 2, false, PRV(dmWMInfo.wPage)},
    {"dmWMInfo.wLayer", 1066, 2, false, PRV(dmWMInfo.wLayer)},
    {"private 972", 1068, 4, false, PRV(dmWord972)},
    {"private 976", 1072, 4, false, PRV(dmWord976)},
    {"dmInstalledValue35", 1076, 4, false, PRV(dmInstalledValue35)},
    {"dmInstalledValue36", 1080, 4, false, PRV(dmInstalledValue36)},
    {"private 988", 1084, 2, false, PRV(dmInstalledDuplex)},
    {"private 990", 1086, 2, false, PRV(dmInstalledSummary[0])},
    {"private 996", 1092, 2, false, PRV(dmInstalledSummary[3])},
    {"private 998", 1094, 2, false, PRV(dmInstalledValue998)},
    {"dmOption1004", 1100, 2, false, PRV(dmOption1004)},
    {"dmOption1006", 1102, 2, false, PRV(dmOption1006)},
    {"private 1008", 1104, 2, false, PRV(dmWords1008[0])},
    {"private 1018", 1114, 2, false, PRV(dmWords1008[5])},
};

TEST(DevmodeLayout, EveryNumericFieldReadsItsDocumentedBytes)
{
    for (const FieldCase& c : kFields) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> image(1232, 0);
        const uint32_t raw = ProbeValue(c.recordOffset, c.width);
        PutLe(image, c.recordOffset, c.width, raw);
        DRVDEVMODE record;
        std::memcpy(&record, image.data(), sizeof record);
        EXPECT_EQ(c.read(record), Expected(raw, c.width, c.isSigned));
        // And nothing else of the record picked the value up.
        DRVDEVMODE zero;
        std::memset(&zero, 0, sizeof zero);
        EXPECT_EQ(c.read(zero), 0);
    }
}

struct TextCase {
    const char* name;
    size_t recordOffset;
    size_t size;
    std::function<const char*(const DRVDEVMODE&)> text;
};

#define PUBTXT(f) [](const DRVDEVMODE& d) -> const char* { return d.dm.f; }
#define PRVTXT(f) [](const DRVDEVMODE& d) -> const char* { return d.priv.f; }

const TextCase kTexts[] = {
    {"dmFormName", 34, 32, PUBTXT(dmFormName)},
    {"dmDeptCode", 224, 32, PRVTXT(dmDeptCode)},
    {"dmMailBox_UserID", 256, 32, PRVTXT(dmMailBox_UserID)},
    {"dmPassword", 288, 32, PRVTXT(dmPassword)},
    {"private 460", 556, 32, PRVTXT(dmText460)},
    {"private 588", 684, 32, PRVTXT(dmText588)},
    {"dmWMInfo.String", 856, 196, PRVTXT(dmWMInfo.String)},
    {"dmJobName", 1116, 84, PRVTXT(dmJobName)},
    {"dmUserName", 1200, 32, PRVTXT(dmUserName)},
};

TEST(DevmodeLayout, TextFieldsSitAtTheirBytesWithTheirSizes)
{
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> image(1232, 0);
        // First and last byte of the field marked; the bytes just outside stay 0.
        image[c.recordOffset] = 'A';
        image[c.recordOffset + c.size - 1] = 'Z';
        DRVDEVMODE record;
        std::memcpy(&record, image.data(), sizeof record);
        const char* text = c.text(record);
        const char* base = reinterpret_cast<const char*>(&record);
        EXPECT_EQ(static_cast<size_t>(text - base), c.recordOffset);
        EXPECT_EQ(text[0], 'A');
        EXPECT_EQ(text[c.size - 1], 'Z');
    }
}

TEST(DevmodeLayout, SignatureDemkSitsAtBytes96To99)
{
    DRVDEVMODE record;
    std::memset(&record, 0, sizeof record);
    record.priv.dwPrivDATA = kDevmodeSignature;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    EXPECT_EQ(std::memcmp(bytes + 96, "DEMK", 4), 0);
}

}  // namespace
