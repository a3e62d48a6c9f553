// The model-only predicates of CMdUtil: each reads one capability of the model data.
#include "core/mdutil/MdUtil.h"

#include "core/mdutil/MdUtilAmounts.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/PrinterInfo.h"

namespace {

WORD Flag(bool b) { return b ? FLAG_TRUE : FLAG_FALSE; }
WORD OneOrZero(bool b) { return b ? 1 : 0; }

// Whether some record of the answer satisfies the test.
template <typename T, typename Test>
bool AnyRecord(const tagMODELHANDLE* pHandle, SHORT sCapId, SHORT sItem, LONG lView, Test test)
{
    CPrinterInfo info(pHandle, sCapId, sItem, lView);
    DWORD count = 0;
    const T* records = info.template Records<T>(&count);
    for (DWORD i = 0; i < count; i++) {
        if (test(records[i]))
            return true;
    }
    return false;
}

// The flags word of a capability's first record, or false without it.
template <typename T>
bool FirstRecord(const tagMODELHANDLE* pHandle, SHORT sCapId, LONG lView, T* pOut)
{
    CPrinterInfo info(pHandle, sCapId, 0, lView);
    const T* record = info.template First<T>();
    if (record == nullptr)
        return false;
    *pOut = *record;
    return true;
}

bool DuplexFlags(const tagMODELHANDLE* pHandle, DWORD* pdwFlags)
{
    tagDUPLEXINFO duplex;
    if (!FirstRecord(pHandle, SPCID_DUPLEX, 1, &duplex))
        return false;
    *pdwFlags = duplex.dwFlags;
    return true;
}

constexpr SHORT kSourceManualFeed = 4;
constexpr WORD kPresenceNone = 0;
constexpr WORD kPunchPresenceTwo = 2;

}  // namespace

CMdUtil::CMdUtil(const tagMODELHANDLE* pHandle, CInstallOption* pInstallOption)
    : m_pHandle(pHandle), m_pInstallOption(pInstallOption)
{
}

CMdUtil::~CMdUtil() = default;

WORD CMdUtil::HasSource4() const
{
    return Flag(AnyRecord<tagSPCIDVALUE>(m_pHandle, SPCID_PAPERSOURCE, 0, 1,
                                         [](const tagSPCIDVALUE& r) { return r.sId == kSourceManualFeed; }));
}

WORD CMdUtil::IsOptionItemFlagged(SHORT sItem) const
{
    return Flag(AnyRecord<tagOPTIONITEM>(m_pHandle, SPCID_OPTIONLIST, sItem, 2,
                                         [](const tagOPTIONITEM& r) { return (r.dwFlags & 0x3) != 0; }));
}

WORD CMdUtil::IsOptionBit0Set(SHORT sItem) const
{
    return Flag(AnyRecord<tagOPTIONITEM>(m_pHandle, SPCID_OPTIONLIST, sItem, 2,
                                         [](const tagOPTIONITEM& r) { return (r.dwFlags & 0x1) != 0; }));
}

WORD CMdUtil::TestCapability57Word16(DWORD dwMask) const
{
    tagCOVERINFO record;
    return OneOrZero(FirstRecord(m_pHandle, SPCID_JOBOPTIONS, 2, &record) && (record.dwBackFlags & dwMask) != 0);
}

WORD CMdUtil::TestCapability57Word8(DWORD dwMask) const
{
    tagCOVERINFO record;
    return OneOrZero(FirstRecord(m_pHandle, SPCID_JOBOPTIONS, 2, &record) && (record.dwFrontFlags & dwMask) != 0);
}

WORD CMdUtil::HasCapability57() const
{
    tagCOVERINFO record;
    return Flag(FirstRecord(m_pHandle, SPCID_JOBOPTIONS, 2, &record));
}

WORD CMdUtil::HasCapability79Bit3() const
{
    tagOPTIONFLAGS record;
    return Flag(FirstRecord(m_pHandle, SPCID_OPTIONFLAGS, 1, &record) && (record.dwFlags & 0x8) != 0);
}

WORD CMdUtil::HasCapability79Bits0to2() const
{
    tagOPTIONFLAGS record;
    return Flag(FirstRecord(m_pHandle, SPCID_OPTIONFLAGS, 1, &record) && (record.dwFlags & 0x7) != 0);
}

WORD CMdUtil::HasDuplexBit8() const
{
    DWORD flags = 0;
    return Flag(DuplexFlags(m_pHandle, &flags) && (flags & 0x100) != 0);
}

WORD CMdUtil::HasDuplexBit4() const
{
    DWORD flags = 0;
    return Flag(DuplexFlags(m_pHandle, &flags) && (flags & 0x10) != 0);
}

SHORT CMdUtil::GetDuplexValue(bool bFlag) const
{
    tagDUPLEXMARGINS record;
    if (!FirstRecord(m_pHandle, SPCID_DUPLEX, 4, &record))
        return bFlag ? 200 : 500;
    return static_cast<SHORT>(bFlag ? record.sWords[1] : record.sWords[3]);
}

WORD CMdUtil::HasCapability21() const
{
    tagCUSTOMLIMITS record;
    return Flag(FirstRecord(m_pHandle, SPCID_CUSTOMSIZE, 1, &record) && record.dwFlags != 0);
}

WORD CMdUtil::IsCapability22Kind9Bit0Clear() const
{
    tagFLAGWORD record;
    return Flag(!(FirstRecord(m_pHandle, SPCID_MEDIATYPE, 9, &record) && (record.dwFlags & 0x1) != 0));
}

WORD CMdUtil::HasCapability39() const
{
    tagSPCSCREENINFO record;
    return Flag(FirstRecord(m_pHandle, SPCID_SCREENLIST, 1, &record));
}

WORD CMdUtil::HasFinisherWithoutStapler() const
{
    return Flag(AnyRecord<tagFINISHERINFO>(m_pHandle, SPCID_FINISHER, 0, 3, [](const tagFINISHERINFO& r) {
        return r.wStaplePresence == kPresenceNone;
    }));
}

WORD CMdUtil::HasFinisherPunchWord0or2() const
{
    return Flag(AnyRecord<tagFINISHERINFO>(m_pHandle, SPCID_FINISHER, 0, 3, [](const tagFINISHERINFO& r) {
        return r.wPunchPresence == kPresenceNone || r.wPunchPresence == kPunchPresenceTwo;
    }));
}

WORD CMdUtil::HasCapability34Feature() const
{
    return Flag(AnyRecord<tagFINISHMODEINFO>(m_pHandle, SPCID_FINISHERMODES, 0, 3, [](const tagFINISHMODEINFO& r) {
        return (r.dwFlags & 0x1) != 0 && (r.dwP[2] & 0x6) != 0;
    }));
}

WORD CMdUtil::HasLargeCapacityGroup() const
{
    return Flag(AnyRecord<tagSOURCEGROUP>(m_pHandle, SPCID_SOURCEGROUP, 0, 2, [](const tagSOURCEGROUP& r) {
        return r.sKind == kSourceGroupLargeCapacity;
    }));
}

WORD CMdUtil::IsCapability28Set() const
{
    tagNUPINFO record;
    return OneOrZero(FirstRecord(m_pHandle, SPCID_NUP, 1, &record) && (record.dwFlags & 0x1) != 0);
}

WORD CMdUtil::HasCapability38Bit1() const
{
    tagFEATURERECORD record;
    return Flag(FirstRecord(m_pHandle, SPCID_PRINTFEATURES, 1, &record) && (record.dwFlags & 0x2) != 0);
}

WORD CMdUtil::IsDuplexMode1Capable() const
{
    DWORD flags = 0;
    return Flag(DuplexFlags(m_pHandle, &flags) && (flags & 0x3) != 0);
}

WORD CMdUtil::IsDuplexMode2Capable() const
{
    DWORD flags = 0;
    return Flag(DuplexFlags(m_pHandle, &flags) && (flags & 0xC) != 0);
}

WORD CMdUtil::IsDuplexCapable() const
{
    return OneOrZero(IsDuplexMode1Capable() != 0 || IsDuplexMode2Capable() != 0);
}

DWORD CMdUtil::GetCapability36Word() const
{
    tagSPCBASE36 record;
    return FirstRecord(m_pHandle, SPCID_INSTALLBASE2, 1, &record) ? record.dwValues[3] : 0;
}

DWORD CMdUtil::GetCapability36StandardTotal() const
{
    tagSPCBASE36 base;
    DWORD total = FirstRecord(m_pHandle, SPCID_INSTALLBASE2, 1, &base) ? base.dwValues[0] : 0;
    CPrinterInfo info(m_pHandle, SPCID_INSTALLBASE2, 0, 2);
    DWORD count = 0;
    const tagSPCAMOUNT* records = info.Records<tagSPCAMOUNT>(&count);
    for (DWORD i = 0; i < count; i++) {
        if ((records[i].dwFlags & 0x3) == 0x2)
            total = SaturatingAdd(total, records[i].dwAmount);
    }
    return total;
}
