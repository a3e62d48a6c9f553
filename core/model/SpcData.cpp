#include "core/model/SpcData.h"

#include "core/util/FileUtil.h"

#include <cstdlib>
#include <cstring>

tagSPCDATA* SpcLoadImage(const void* pvBytes, size_t cbBytes)
{
    if (pvBytes == nullptr || cbBytes == 0 || cbBytes > SIZE_MAX - sizeof(tagSPCDATA)) {
        return nullptr;
    }
    // One block, so that free() by the owner releases everything and a read past the image's
    // last byte is a read past the block (which the sanitizer build reports).
    auto* pBlock = static_cast<BYTE*>(malloc(sizeof(tagSPCDATA) + cbBytes));
    if (pBlock == nullptr) {
        return nullptr;
    }
    auto* pData = reinterpret_cast<tagSPCDATA*>(pBlock);
    BYTE* pbImage = pBlock + sizeof(tagSPCDATA);
    memcpy(pbImage, pvBytes, cbBytes);
    pData->pbImage = pbImage;
    pData->cbImage = cbBytes;
    return pData;
}

tagSPCDATA* SpcLoadFile(const char* pszDir, const char* pszName)
{
    size_t cbFile = 0;
    void* pvFile = ReadWholeFileSized(pszDir, pszName, &cbFile);
    if (pvFile == nullptr) {
        return nullptr;
    }
    tagSPCDATA* pData = SpcLoadImage(pvFile, cbFile);
    free(pvFile);
    return pData;
}
