// The package's compression library, loaded from the build tree as the filter loads it (dlopen of
// the shared object, the entry `COMPRESS` bound by name), and a call of it as the renderer makes
// one: a zero-filled parameter block, set field by field. Test programs that include this define
// ORV_COMPRESS_LIB_PATH.
#pragma once

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/compress/CompressParams.h"

namespace orvtest {

class CompressLibrary {
public:
    CompressLibrary()
    {
        m_handle = dlopen(ORV_COMPRESS_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
        if (m_handle != nullptr) {
            m_entry = reinterpret_cast<PFNCOMPRESS>(dlsym(m_handle, "COMPRESS"));
        } else {
            m_error = dlerror();
        }
    }
    ~CompressLibrary()
    {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }
    CompressLibrary(const CompressLibrary&) = delete;
    CompressLibrary& operator=(const CompressLibrary&) = delete;

    PFNCOMPRESS entry() const { return m_entry; }
    const std::string& error() const { return m_error; }

private:
    void* m_handle = nullptr;
    PFNCOMPRESS m_entry = nullptr;
    std::string m_error;
};

// Guard bytes behind the output size, to see whether the library wrote past it.
inline constexpr size_t kOutputGuardBytes = 64;
inline constexpr uint8_t kOutputGuardValue = 0xA5;

// One COMPRESS call over `rows` rows starting at `firstRow`, with an output buffer of `outputSize`
// bytes followed by guard bytes.
struct CompressCall {
    std::vector<BYTE> output;  // outputSize + kOutputGuardBytes, all guard value before the call
    std::vector<BYTE> work;
    tagCOMPRESSPARAMS params {};

    CompressCall(const BYTE* firstRow, unsigned width, unsigned rows, size_t outputSize,
                 BYTE option = COMPRESS_OPT_DEFAULT, DWORD stripeRows = 0)
    {
        const size_t rowBytes = (width + 7) / 8;
        const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
        output.assign(outputSize + kOutputGuardBytes, kOutputGuardValue);
        work.assign(3 * workBytes, 0);
        std::memcpy(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag));
        params.pOutput = output.data();
        params.qwOutputSize = outputSize;
        params.pFirstRow = firstRow;
        params.wWidth = static_cast<WORD>(width);
        params.wRows = static_cast<WORD>(rows);
        params.dwRowsEncoded = 0;
        params.wWidth2 = static_cast<WORD>(width);
        params.dwRows = rows;
        for (int i = 0; i < 3; ++i) {
            params.apWorkRow[i] = work.data() + i * workBytes;
        }
        params.bOption = option;
        params.bReserved90 = 1;
        params.dwStripeRows = stripeRows != 0 ? stripeRows : rows;
        params.pOutputAgain = output.data();
    }

    int Run(PFNCOMPRESS compress) { return compress(&params); }

    // The bytes the library says it wrote (bounded by the output size, whatever it says).
    std::vector<BYTE> Written() const
    {
        const size_t size = output.size() - kOutputGuardBytes;
        const size_t n = std::min<size_t>(params.qwBytesWritten, size);
        return std::vector<BYTE>(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(n));
    }

    bool GuardIntact() const
    {
        return std::all_of(output.end() - kOutputGuardBytes, output.end(),
                           [](BYTE b) { return b == kOutputGuardValue; });
    }
};

}  // namespace orvtest
