#include "filter/job/DumpDevmode.h"

#include "filter/log/FilterLog.h"

#include <cstring>

namespace {

constexpr int kDebug = 1;

void Number(const char* name, long long value)
{
    LogMessage(kDebug, "%-23s = %lld\n", name, value);
}

// A fixed text field may arrive without a terminator: never read past its end.
void Text(const char* name, const char* text, size_t size)
{
    LogMessage(kDebug, "%-23s = %.*s\n", name, static_cast<int>(strnlen(text, size)), text);
}

}  // namespace

#define DUMP_PUBLIC(f)       Number("DEVMODE." #f, pdm->dm.f)
#define DUMP_PRIVATE(f)      Number("PRIVDM." #f, p.f)
#define DUMP_PUBLIC_TEXT(f)  Text("DEVMODE." #f, pdm->dm.f, sizeof pdm->dm.f)
#define DUMP_PRIVATE_TEXT(f) Text("PRIVDM." #f, p.f, sizeof p.f)

void DumpDevmode(const DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return;
    }
    DUMP_PUBLIC(dmSize);
    DUMP_PUBLIC(dmDriverExtra);
    DUMP_PUBLIC(dmFields);
    DUMP_PUBLIC(dmOrientation);
    DUMP_PUBLIC(dmPaperSize);
    DUMP_PUBLIC(dmPaperLength);
    DUMP_PUBLIC(dmPaperWidth);
    DUMP_PUBLIC(dmScale);
    DUMP_PUBLIC(dmCopies);
    DUMP_PUBLIC(dmDefaultSource);
    DUMP_PUBLIC(dmPrintQuality);
    DUMP_PUBLIC(dmColor);
    DUMP_PUBLIC(dmDuplex);
    DUMP_PUBLIC(dmYResolution);
    DUMP_PUBLIC(dmTTOption);
    DUMP_PUBLIC(dmCollate);
    DUMP_PUBLIC_TEXT(dmFormName);
    DUMP_PUBLIC(dmLogPixels);
    DUMP_PUBLIC(dmBitsPerPel);
    DUMP_PUBLIC(dmPelsWidth);
    DUMP_PUBLIC(dmPelsHeight);
    DUMP_PUBLIC(dmICMMethod);
    DUMP_PUBLIC(dmICMIntent);
    DUMP_PUBLIC(dmMediaType);
    DUMP_PUBLIC(dmDitherType);

    const PRIVDM& p = pdm->priv;
    DUMP_PRIVATE(dwPrivDATA);
    DUMP_PRIVATE(dwDevmodeVersion);
    DUMP_PRIVATE(dwFlags);
    DUMP_PRIVATE(dmFieldsExtra1);
    DUMP_PRIVATE(dmFieldsExtra2);
    DUMP_PRIVATE(dmFieldsExtra3);
    DUMP_PRIVATE(dmFieldsExtra4);
    DUMP_PRIVATE(dmExtraPrint);
    DUMP_PRIVATE(dmTotalPages);
    DUMP_PRIVATE(dmExtraFlag);
    DUMP_PRIVATE(dmReserved40);
    DUMP_PRIVATE(dmReserved44);
    DUMP_PRIVATE(dmSourceAndTypeFor1Page);
    DUMP_PRIVATE(dmFirstPagePaperSource);
    DUMP_PRIVATE(dmFirstPageMediaType);
    DUMP_PRIVATE(dmOutputPaperSize);
    DUMP_PRIVATE(dmOutputPaperWidth);
    DUMP_PRIVATE(dmOutputPaperLength);
    DUMP_PRIVATE(dmRotateOrient);
    DUMP_PRIVATE(dmMetric);
    DUMP_PRIVATE(dmBaseResolution);
    DUMP_PRIVATE(dmOption74);
    DUMP_PRIVATE(dmDuplexOption);
    DUMP_PRIVATE(dmDuplexMargin);
    DUMP_PRIVATE(dmOption80);
    DUMP_PRIVATE(dmReverseOrder);
    DUMP_PRIVATE(dmMirror);
    DUMP_PRIVATE(dmOption86);
    DUMP_PRIVATE(dmSkipBlankPages);
    DUMP_PRIVATE(dmCopiesByDriver);
    DUMP_PRIVATE(dmStaple);
    DUMP_PRIVATE(dmFinisher);
    DUMP_PRIVATE(dmPunch);
    DUMP_PRIVATE(dmOption98);
    DUMP_PRIVATE(dmSort);
    DUMP_PRIVATE(dmCoverPage);
    DUMP_PRIVATE(dmFrontCoverFile);
    DUMP_PRIVATE(dmFrontCoverSource);
    DUMP_PRIVATE(dmBackCoverFile);
    DUMP_PRIVATE(dmBackCoverSource);
    DUMP_PRIVATE(dmFrontCoverMedia);
    DUMP_PRIVATE(dmBackCoverMedia);
    DUMP_PRIVATE(dmJobSpool);
    DUMP_PRIVATE(dmUseDeptCode);
    DUMP_PRIVATE_TEXT(dmDeptCode);
    DUMP_PRIVATE_TEXT(dmMailBox_UserID);
    // The password the user typed for the job stays out of the log, which other users may read.
    Number("PRIVDM.dmPassword length", static_cast<long long>(strnlen(p.dmPassword, sizeof p.dmPassword)));
    DUMP_PRIVATE(dmLayoutPrint);
    DUMP_PRIVATE(dmUnitOfLayout);
    DUMP_PRIVATE(dmNup);
    DUMP_PRIVATE(dmNupOrder);
    DUMP_PRIVATE(dmNupBorder);
    DUMP_PRIVATE(dmNupBorderWidth);
    DUMP_PRIVATE(dmBookletBinding);
    DUMP_PRIVATE(dmBookletUnit);
    DUMP_PRIVATE(dmGutter);
    DUMP_PRIVATE(dmScaleTo);
    DUMP_PRIVATE(dmAlign);
    DUMP_PRIVATE(dmFittoPageRatio);
    DUMP_PRIVATE(dmPosterX);
    DUMP_PRIVATE(dmPosterY);
    DUMP_PRIVATE(dmOverlap);
    DUMP_PRIVATE(dmNupUnitKind);
    DUMP_PRIVATE(dmBookletUnitKind);
    DUMP_PRIVATE(dmColor);
    DUMP_PRIVATE(dmColorMode);
    DUMP_PRIVATE(dmPrintStyle);
    DUMP_PRIVATE(dmColorManagement);
    DUMP_PRIVATE(dmClrCtrl.wType);
    DUMP_PRIVATE(dmClrCtrl.sBrightness);
    DUMP_PRIVATE(dmClrCtrl.sContrast);
    DUMP_PRIVATE(dmClrCtrl.sSaturation);
    DUMP_PRIVATE(dmClrCtrl.sRed);
    DUMP_PRIVATE(dmClrCtrl.sGreen);
    DUMP_PRIVATE(dmClrCtrl.sBlue);
    DUMP_PRIVATE(dmClrCtrl.sCyan);
    DUMP_PRIVATE(dmClrCtrl.sMagenta);
    DUMP_PRIVATE(dmClrCtrl.sYellow);
    DUMP_PRIVATE(dmClrCtrl.sBlack);
    DUMP_PRIVATE(dmClrCtrl.sGray);
    DUMP_PRIVATE(dmDensity);
    DUMP_PRIVATE(dmAllTextBlack);
    DUMP_PRIVATE(dmContrast);
    DUMP_PRIVATE(dmQuality);
    DUMP_PRIVATE(dmScreenMode);
    DUMP_PRIVATE(dmOption334);
    DUMP_PRIVATE(dmTonerSave);
    DUMP_PRIVATE(dmOption338);
    DUMP_PRIVATE(dmOption340);
    DUMP_PRIVATE(dmOption342);
    DUMP_PRIVATE(dmHalftone);
    DUMP_PRIVATE(dmOption346);
    DUMP_PRIVATE(dmOptionBits356);
    DUMP_PRIVATE(dmOptionBits620);
    DUMP_PRIVATE_TEXT(dmWMInfo.String);
    DUMP_PRIVATE(dmWMInfo.pos[0]);
    DUMP_PRIVATE(dmWMInfo.pos[1]);
    DUMP_PRIVATE(dmWMInfo.wStyle);
    DUMP_PRIVATE(dmWMInfo.wPage);
    DUMP_PRIVATE(dmWMInfo.wLayer);
    DUMP_PRIVATE(dmInstalledValue35);
    DUMP_PRIVATE(dmInstalledValue36);
    DUMP_PRIVATE(dmOption1004);
    DUMP_PRIVATE(dmOption1006);
    DUMP_PRIVATE_TEXT(dmJobName);
    DUMP_PRIVATE_TEXT(dmUserName);
}
