// What the pages of a job share for reading their bands: the screening thread and the two band
// buffers. They are kept from page to page, so that a page neither starts a thread nor maps and
// faults in fresh buffers while it reads the pipe; the job's renderer teardown frees them.
#pragma once

#include "core/WinTypes.h"
#include "filter/stream/BandScreener.h"

#include <cstddef>

struct tagJOBINFO;

class JobBands {
public:
    JobBands();
    ~JobBands();
    JobBands(const JobBands&) = delete;
    JobBands& operator=(const JobBands&) = delete;

    // Makes the buffers hold bands of `rows` rows of `cbRow` bytes: kept when they already do,
    // made anew (zeroed) for rows of another length or more rows. The number of buffers there
    // are: 2, 1 when memory runs out for the second (the bands are then screened one after the
    // other), 0 when it runs out for the first.
    int Fit(size_t rows, size_t cbRow);
    BYTE* Buffer(int i) const { return m_apbBuffer[i]; }

    BandScreener& Screener() { return m_screener; }

private:
    void Release();

    BYTE* m_apbBuffer[2] = {nullptr, nullptr};
    size_t m_rows = 0;
    size_t m_cbRow = 0;
    BandScreener m_screener;
};

// The job's band resources, made at its first page; nullptr when they cannot be made.
JobBands* JobBandsOf(tagJOBINFO* pJob);

// Ends the screening thread and frees the buffers; the job may start anew after it.
void FreeJobBands(tagJOBINFO* pJob);
