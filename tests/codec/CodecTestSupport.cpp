#include "codec/CodecTestSupport.h"

#include <cstring>

namespace codectest {

namespace {

std::string PathOf(const std::string& name)
{
    // Test-only variants live beside the tests; the sample queue PPDs are the package's own.
    if (name.find("edge") == 0) {
        return std::string(ORV_CODEC_TEST_PPD_DIR) + "/" + name;
    }
    return std::string(ORV_SAMPLE_PPD_DIR) + "/" + name;
}

}  // namespace

QueuePpd::QueuePpd(const std::string& name)
{
    m_handle.pCupsFunc = &RealCups();
    if (m_handle.pCupsFunc->handle != nullptr) {
        m_handle.pPpd = m_handle.pCupsFunc->ppdOpenFile(PathOf(name).c_str());
    }
}

QueuePpd::~QueuePpd()
{
    if (m_handle.pPpd != nullptr) {
        m_handle.pCupsFunc->ppdClose(m_handle.pPpd);
    }
}

DRVDEVMODE BlankRecord()
{
    DRVDEVMODE record;
    std::memset(&record, 0, sizeof record);
    record.dm.dmSize = kDevmodePublicSize;
    record.dm.dmDriverExtra = kDevmodePrivateSize;
    record.priv.dwPrivDATA = kDevmodeSignature;
    return record;
}

DRVDEVMODE With(DRVDEVMODE record, const std::vector<FieldValue>& values)
{
    for (const FieldValue& v : values) {
        v.field.set(record, v.value);
    }
    return record;
}

std::string Differences(const DRVDEVMODE& actual, const DRVDEVMODE& expected)
{
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    const auto* e = reinterpret_cast<const unsigned char*>(&expected);
    std::string out;
    for (size_t i = 0; i < sizeof(DRVDEVMODE); ++i) {
        if (a[i] != e[i]) {
            out += (out.empty() ? "bytes differ at " : ", ") + std::to_string(i);
        }
    }
    return out;
}

}  // namespace codectest

// libcups 2.4 builds a cache over the PPD the first time cupsMarkOptions meets "sides" or "media",
// and the cache's copies of the duplex keyword and choices are never freed, not even by ppdClose
// (a bare program that only opens a PPD, marks "sides" and closes it shows the same 40 bytes).
// The leak is libcups's own; LeakSanitizer is told to look past it and at everything else.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:_ppdCacheCreateWithPPD\n";
}
