// Helpers of the option codec tests: the real libcups bound once, queue PPDs opened through it,
// settings records to start from and a field-by-field description of what a call may change.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"
#include "support/RealCups.h"

#include <functional>
#include <string>
#include <vector>

namespace codectest {

using orvtest::RealCups;

// A PPD opened with the real libcups: a sample queue PPD ("GC7350.ppd") from the package's data,
// or a test-only variant ("edge-cases.ppd"). Closed at the end of the scope.
class QueuePpd {
public:
    explicit QueuePpd(const std::string& name);
    ~QueuePpd();
    QueuePpd(const QueuePpd&) = delete;
    QueuePpd& operator=(const QueuePpd&) = delete;

    bool IsOpen() const { return m_handle.pPpd != nullptr; }
    tagMODELHANDLE* Handle() { return &m_handle; }
    ppd_file_t* Ppd() { return m_handle.pPpd; }

private:
    tagMODELHANDLE m_handle {};
};

// A record as the settings defaults would lay it out, zero apart from its sizes and signature.
DRVDEVMODE BlankRecord();

// One record field, named, read and written as a long.
struct Field {
    const char* name;
    std::function<long(const DRVDEVMODE&)> get;
    std::function<void(DRVDEVMODE&, long)> set;
};

#define CODEC_PUBLIC(f)                                                                        \
    ::codectest::Field                                                                         \
    {                                                                                          \
        #f, [](const DRVDEVMODE& d) { return static_cast<long>(d.dm.f); },                     \
            [](DRVDEVMODE& d, long v) { d.dm.f = static_cast<decltype(d.dm.f)>(v); }           \
    }
#define CODEC_PRIVATE(f)                                                                       \
    ::codectest::Field                                                                         \
    {                                                                                          \
        #f, [](const DRVDEVMODE& d) { return static_cast<long>(d.priv.f); },                   \
            [](DRVDEVMODE& d, long v) { d.priv.f = static_cast<decltype(d.priv.f)>(v); }       \
    }

// The record fields the codec tests set and compare, named once for all of them.
namespace fields {
inline const auto kFields = CODEC_PUBLIC(dmFields);
inline const auto kOrientation = CODEC_PUBLIC(dmOrientation);
inline const auto kPaperSize = CODEC_PUBLIC(dmPaperSize);
inline const auto kPaperLength = CODEC_PUBLIC(dmPaperLength);
inline const auto kPaperWidth = CODEC_PUBLIC(dmPaperWidth);
inline const auto kCopies = CODEC_PUBLIC(dmCopies);
inline const auto kSource = CODEC_PUBLIC(dmDefaultSource);
inline const auto kDuplex = CODEC_PUBLIC(dmDuplex);
inline const auto kCollate = CODEC_PUBLIC(dmCollate);
inline const auto kMediaType = CODEC_PUBLIC(dmMediaType);
inline const auto kExtra1 = CODEC_PRIVATE(dmFieldsExtra1);
inline const auto kExtra2 = CODEC_PRIVATE(dmFieldsExtra2);
inline const auto kQuality = CODEC_PRIVATE(dmQuality);
inline const auto kHalftone = CODEC_PRIVATE(dmHalftone);
inline const auto kLayout = CODEC_PRIVATE(dmLayoutPrint);
inline const auto kNup = CODEC_PRIVATE(dmNup);
inline const auto kNupOrder = CODEC_PRIVATE(dmNupOrder);
inline const auto kNupBorder = CODEC_PRIVATE(dmNupBorder);
inline const auto kReverse = CODEC_PRIVATE(dmReverseOrder);
inline const auto kBinding = CODEC_PRIVATE(dmBookletBinding);
inline const auto kBookletUnit = CODEC_PRIVATE(dmBookletUnit);
inline const auto kPosterX = CODEC_PRIVATE(dmPosterX);
inline const auto kPosterY = CODEC_PRIVATE(dmPosterY);
inline const auto kSort = CODEC_PRIVATE(dmSort);
inline const auto kFinisher = CODEC_PRIVATE(dmFinisher);
inline const auto kStaple = CODEC_PRIVATE(dmStaple);
inline const auto kPunch = CODEC_PRIVATE(dmPunch);
inline const auto kSkipBlank = CODEC_PRIVATE(dmSkipBlankPages);
inline const auto kColorMode = CODEC_PRIVATE(dmColor);
inline const auto kTonerSave = CODEC_PRIVATE(dmTonerSave);
inline const auto kTextBlack = CODEC_PRIVATE(dmAllTextBlack);
}  // namespace fields

struct FieldValue {
    Field field;
    long value;
};

// The record with these fields set.
DRVDEVMODE With(DRVDEVMODE record, const std::vector<FieldValue>& values);

// Empty when the records are equal byte for byte; otherwise the differing byte offsets.
std::string Differences(const DRVDEVMODE& actual, const DRVDEVMODE& expected);

}  // namespace codectest
