#include "core/model/SpcFrame.h"

namespace {

// Header checks shared by every query: the image must hold a whole header whose magic and
// format version are known, whose file size does not exceed the bytes really loaded and whose
// section table lies inside that size.
DWORD CheckHeader(const tagSPCDATA* pData)
{
    if (pData == nullptr || pData->pbImage == nullptr || pData->cbImage < tagSPCHEADER::kSize) {
        return ERROR_INVALID_DATA;
    }
    const BYTE* pb = pData->pbImage;
    if (SpcToHostDword(pb + tagSPCHEADER::kMagicAt) != SPC_MAGIC) {
        return ERROR_INVALID_DATA;
    }
    WORD wVersion = SpcFormatVersion(SpcToHostDword(pb + tagSPCHEADER::kVersionAt));
    if (wVersion < SPC_VERSION_MIN || wVersion > SPC_VERSION_MAX) {
        return ERROR_INVALID_DATA;
    }
    uint64_t cbFile = SpcToHostDword(pb + tagSPCHEADER::kFileSizeAt);
    if (cbFile > pData->cbImage) {
        return ERROR_INVALID_DATA;
    }
    if (SpcToHostDword(pb + tagSPCHEADER::kTableEndAt) > cbFile) {
        return ERROR_INVALID_DATA;
    }
    return ERROR_SUCCESS;
}

}  // namespace

SpcImage SpcImageOf(const tagSPCDATA* pData)
{
    return SpcImage(pData->pbImage, SpcToHostDword(pData->pbImage + tagSPCHEADER::kFileSizeAt));
}

DWORD SpcVersionWord(const tagSPCDATA* pData)
{
    return SpcToHostDword(pData->pbImage + tagSPCHEADER::kVersionAt);
}

DWORD SpcFindSection(const tagSPCDATA* pData, SHORT sCapId, const BYTE** ppSection)
{
    DWORD dwResult = CheckHeader(pData);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    if (sCapId <= 0) {
        return ERROR_NOT_SUPPORTED;
    }
    SpcImage img = SpcImageOf(pData);
    const BYTE* pb = pData->pbImage;
    uint64_t tableStart = SpcToHostDword(pb + tagSPCHEADER::kTableStartAt);
    uint64_t tableEnd = SpcToHostDword(pb + tagSPCHEADER::kTableEndAt);
    uint64_t entryAt = tableStart + 4 * static_cast<uint64_t>(sCapId - 1);
    if (entryAt >= tableEnd) {
        return ERROR_NOT_SUPPORTED;
    }
    DWORD dwEntry = img.Dword(entryAt);  // the table end is inside the file, the entry may straddle it
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    if (dwEntry == 0) {
        return ERROR_NOT_SUPPORTED;
    }
    if (dwEntry >= img.Limit()) {
        return ERROR_INVALID_DATA;
    }
    *ppSection = pb + dwEntry;
    return ERROR_SUCCESS;
}
