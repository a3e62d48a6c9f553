#include "gui/PaperSizeRows.h"

#include "core/codec/PpdChoiceId.h"
#include "core/mdutil/MdUtil.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/CustomSizes.h"
#include "core/printerinfo/PrinterInfo.h"

#include <strings.h>

#include <cstring>

namespace {

constexpr SHORT kFirstCustomPaper = 456;
constexpr LONG kPaperRecordView = 4;
constexpr LONG kCustomLimitsView = 1;
constexpr WORD kLayoutNup = 1;
constexpr WORD kLayoutBooklet = 2;

constexpr DWORD kLayoutMayRotate = 0x1;
constexpr DWORD kLayoutBookletAllowed = 0x2;
constexpr DWORD kLayoutNoNup = 0x8;
constexpr DWORD kDuplexFirstMode = 0x1;
constexpr DWORD kDuplexSecondMode = 0x2;

struct PaperFlags {
    DWORD layout;
    DWORD duplex;
};

// The flag words of the paper's model record; false when the model has no record for it.
bool ReadPaperFlags(tagMODELHANDLE* handle, tagCUPSFUNC* cups, ppd_file_t* ppd, WORD paperId,
                    const char* choiceKeyword, PaperFlags* flags)
{
    if (paperId < kFirstCustomPaper) {
        CPrinterInfo info(handle, SPCID_PAPERSIZE, static_cast<SHORT>(paperId), kPaperRecordView);
        const tagPAPERINFO* record = info.First<tagPAPERINFO>();
        if (record == nullptr) {
            return false;
        }
        *flags = {record->dwLayoutFlags, record->dwDuplexFlags};
        return true;
    }
    if (cups->ppdPageSize == nullptr) {
        return false;
    }
    ppd_size_t* size = cups->ppdPageSize(ppd, choiceKeyword);
    if (size == nullptr) {
        return false;
    }
    const bool isLong = IsLongPaper(handle, false, size->width / 72.0, size->length / 72.0) != 0;
    CPrinterInfo info(handle, isLong ? SPCID_CUSTOMLONG : SPCID_CUSTOMSIZE, 0, kCustomLimitsView);
    const tagCUSTOMLIMITS* record = info.First<tagCUSTOMLIMITS>();
    if (record == nullptr) {
        return false;
    }
    *flags = {record->dwWord88, record->dwWord68};
    return true;
}

// The last case-blind occurrence of needle in text at index 1 or later; npos when none.
size_t FindLastNoCase(const std::string& text, const char* needle)
{
    const size_t n = strlen(needle);
    if (text.size() < n + 1) {
        return std::string::npos;
    }
    for (size_t i = text.size() - n + 1; i-- > 1;) {
        if (strncasecmp(text.c_str() + i, needle, n) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

}  // namespace

std::string LocaliseCustomPaperUnit(const char* choiceText, const char* mmText, const char* inText)
{
    std::string text = choiceText != nullptr ? choiceText : "";
    size_t at = FindLastNoCase(text, "mm");
    const char* unit = mmText;
    if (at == std::string::npos) {
        at = FindLastNoCase(text, "in");
        unit = inText;
    }
    if (at != std::string::npos) {
        text.erase(at);
        text += unit != nullptr ? unit : "";
    }
    return text;
}

std::vector<PaperSizeRow> BuildPaperSizeRows(tagDIALOGINFO* info, const DRVDEVMODE* pdm, bool outputMode,
                                             bool inputMode, const CommonTextLookup& text)
{
    std::vector<PaperSizeRow> rows;
    if (info == nullptr || pdm == nullptr) {
        return rows;
    }
    tagMODELHANDLE* handle = &info->mh;
    tagCUPSFUNC* cups = handle->pCupsFunc;
    bool d1 = true;
    bool d2 = true;
    if (info->pMdUtil != nullptr) {
        d1 = info->pMdUtil->IsDuplexAvailable() != 0;
        d2 = info->pMdUtil->IsDuplexAvailable2() != 0;
    }
    if (outputMode && IsPaperTooLarge(handle, pdm->dm.dmPaperSize) == 0) {
        const char* same = text ? text(kIdsSameAsPaperSize) : nullptr;
        rows.push_back({same != nullptr ? same : "", 0});
    }
    if (cups == nullptr || cups->ppdFindOption == nullptr || handle->pPpd == nullptr) {
        return rows;
    }
    ppd_option_t* pageSize = cups->ppdFindOption(handle->pPpd, "PageSize");
    if (pageSize == nullptr) {
        return rows;
    }
    for (const tagVALUELIST* node = info->pPaperList; node != nullptr; node = node->pNext) {
        const WORD id = node->wValue;
        ppd_choice_t* choice = FindChoiceById(pageSize, id);
        if (choice == nullptr) {
            continue;
        }
        PaperFlags flags{};
        if (!ReadPaperFlags(handle, cups, handle->pPpd, id, choice->choice, &flags)) {
            continue;
        }
        if (outputMode && !inputMode) {
            if (pdm->priv.dmLayoutPrint == kLayoutNup && (flags.layout & kLayoutNoNup) != 0) {
                continue;
            }
            if (pdm->priv.dmLayoutPrint == kLayoutBooklet &&
                !((flags.layout & kLayoutBookletAllowed) != 0 &&
                  (((flags.duplex & kDuplexFirstMode) != 0 && d1) || ((flags.duplex & kDuplexSecondMode) != 0 && d2)))) {
                continue;
            }
            if (pdm->priv.dmRotateOrient == 1 && (flags.layout & kLayoutMayRotate) == 0) {
                continue;
            }
        }
        if (IsPaperTooLarge(handle, static_cast<SHORT>(id)) != 0) {
            continue;
        }
        if (id < kFirstCustomPaper) {
            rows.push_back({choice->text, id});
        } else {
            rows.push_back({LocaliseCustomPaperUnit(choice->text, text ? text(kIdsUnitMm) : nullptr,
                                                    text ? text(kIdsUnitInch) : nullptr),
                            id});
        }
    }
    return rows;
}
