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

struct FieldValue {
    Field field;
    long value;
};

// The record with these fields set.
DRVDEVMODE With(DRVDEVMODE record, const std::vector<FieldValue>& values);

// Empty when the records are equal byte for byte; otherwise the differing byte offsets.
std::string Differences(const DRVDEVMODE& actual, const DRVDEVMODE& expected);

}  // namespace codectest
