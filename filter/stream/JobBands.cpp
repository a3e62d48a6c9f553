#include "filter/stream/JobBands.h"

#include "filter/job/JobInfo.h"
#include "filter/render/PrefaultedMemory.h"

#include <cstdlib>
#include <new>

JobBands::JobBands() : m_screener(nullptr, nullptr, true) {}

JobBands::~JobBands()
{
    Release();
}

void JobBands::Release()
{
    for (BYTE*& pb : m_apbBuffer) {
        std::free(pb);
        pb = nullptr;
    }
    m_rows = 0;
    m_cbRow = 0;
}

int JobBands::Fit(size_t rows, size_t cbRow)
{
    // Rows are read whole into the buffers and their padding is never written, so kept buffers of
    // the same row length need no clearing.
    if (cbRow != m_cbRow || rows > m_rows) {
        Release();
        m_rows = rows;
        m_cbRow = cbRow;
    }
    int have = 0;
    for (BYTE*& pb : m_apbBuffer) {
        if (pb == nullptr) {
            pb = static_cast<BYTE*>(CallocPrefaulted(rows, cbRow));
        }
        if (pb == nullptr) {
            break;
        }
        ++have;
    }
    return have;
}

JobBands* JobBandsOf(tagJOBINFO* pJob)
{
    if (pJob->pBands == nullptr) {
        pJob->pBands = new (std::nothrow) JobBands();
    }
    return pJob->pBands;
}

void FreeJobBands(tagJOBINFO* pJob)
{
    delete pJob->pBands;
    pJob->pBands = nullptr;
}
