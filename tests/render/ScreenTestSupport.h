// A renderer context with hand-made screening tables and a page bitmap, for the screening tests.
#pragma once

#include "core/settings/DevMode.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"
#include "filter/render/screen/ScreenSimd.h"
#include "filter/render/screen/ScreenFast.h"
#include "filter/render/screen/ScreenReference.h"
#include "filter/render/screen/Screening.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace rendertest {

// The two screening implementations, to run every case through both.
struct ScreenImpl {
    const char* name;
    WORD (*mono)
    (uint64_t, uint64_t, uint64_t, const BYTE*, const DRVDEVMODE*, tagRENDERCONTEXT*, const tagRENDEROPTIONS*,
     tagPAGEBITMAP*, DWORD*);
    WORD (*color)
    (uint64_t, uint64_t, uint64_t, const BYTE*, const DRVDEVMODE*, tagRENDERCONTEXT*, const tagRENDEROPTIONS*,
     tagPAGEBITMAP*, DWORD*);
};
inline const ScreenImpl kScreenImpls[] = {
    {"reference", ScreenBandMonoReference, ScreenBandColorReference},
    {"fast", ScreenBandMono, ScreenBandColor},
};

// The vector levels of the fast screening this CPU runs, the plainest first.
inline std::vector<ScreenSimd> AvailableSimdLevels()
{
    std::vector<ScreenSimd> levels;
    for (ScreenSimd level : {ScreenSimd::Sse2, ScreenSimd::Avx2, ScreenSimd::Avx512}) {
        if (static_cast<int>(level) <= static_cast<int>(ScreenSimdAvailable())) {
            levels.push_back(level);
        }
    }
    return levels;
}
inline const char* SimdName(ScreenSimd level)
{
    return level == ScreenSimd::Avx512 ? "AVX-512" : level == ScreenSimd::Avx2 ? "AVX2" : "SSE2";
}
// Pins a context's fast screening to one level for a scope.
class ScopedSimdLevel {
public:
    ScopedSimdLevel(tagRENDERCONTEXT* context, ScreenSimd level)
        : m_context(context), m_savedPinned(context->bScreenSimdPinned), m_saved(context->eScreenSimd)
    {
        m_context->bScreenSimdPinned = true;
        m_context->eScreenSimd = level;
    }
    ~ScopedSimdLevel()
    {
        m_context->bScreenSimdPinned = m_savedPinned;
        m_context->eScreenSimd = m_saved;
    }
    ScopedSimdLevel(const ScopedSimdLevel&) = delete;
    ScopedSimdLevel& operator=(const ScopedSimdLevel&) = delete;

private:
    tagRENDERCONTEXT* m_context;
    bool m_savedPinned;
    ScreenSimd m_saved;
};

// Band rows: 3 bytes a pixel, rows padded to 4 bytes; every pixel starts white.
class Band {
public:
    Band(int width, int rows) : m_width(width), m_rows(rows), m_stride((3 * width + 3) / 4 * 4)
    {
        m_bytes.assign(m_stride * rows + 1, 255);
        m_bytes.back() = 0x5A;  // a guard byte past the last row: never a pixel
    }
    void Set(int x, int y, BYTE r, BYTE g, BYTE b)
    {
        BYTE* p = &m_bytes[y * m_stride + 3 * x];
        p[0] = r, p[1] = g, p[2] = b;
    }
    void Fill(BYTE r, BYTE g, BYTE b)
    {
        for (int y = 0; y < m_rows; ++y) {
            for (int x = 0; x < m_width; ++x) {
                Set(x, y, r, g, b);
            }
        }
    }
    // Row padding bytes hold 0 (black), so a screening that read them would show it.
    void DarkenPadding()
    {
        for (int y = 0; y < m_rows; ++y) {
            for (size_t i = 3 * m_width; i < m_stride; ++i) {
                m_bytes[y * m_stride + i] = 0;
            }
        }
    }
    const BYTE* data() const { return m_bytes.data(); }
    BYTE* data() { return m_bytes.data(); }
    uint64_t size() const { return PackPair(m_width, m_rows); }
    int width() const { return m_width; }
    int rows() const { return m_rows; }
    size_t stride() const { return m_stride; }

private:
    int m_width, m_rows;
    size_t m_stride;
    std::vector<BYTE> m_bytes;
};

// A context holding four planes of tables (the monochrome path uses the black ones) and a page
// bitmap of `width` x `height` pixels.
class ScreenPage {
public:
    ScreenPage(bool mono, int width, int height, LONG mulX = 1, LONG mulY = 1)
    {
        m_settings.priv.dmColor = mono ? 1 : 2;
        m_context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        m_context->lResMultiplierX = mulX;
        m_context->lResMultiplierY = mulY;
        m_context->asGrayWeight[0] = 31;
        m_context->asGrayWeight[1] = 56;
        m_context->asGrayWeight[2] = 13;
        m_context->pColorCache =
            static_cast<tagCOLORCACHEENTRY*>(std::calloc(COLOR_CACHE_ENTRIES, sizeof(tagCOLORCACHEENTRY)));
        ClearCache();
        m_context->pColorBlock = static_cast<tagCOLORBLOCK*>(std::calloc(1, sizeof(tagCOLORBLOCK)));
        m_options.dwPageWidth = static_cast<DWORD>(width);
        m_options.dwPageHeight = static_cast<DWORD>(height);
        m_width = width;
        m_height = height;
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            block()->apToneCurve[slot] = static_cast<BYTE*>(std::malloc(TONE_CURVE_BYTES));
            // Inks print as they come; the monochrome curve is indexed by gray level (0 black).
            for (int i = 0; i < 256; ++i) {
                block()->apToneCurve[slot][i] = static_cast<BYTE>(mono ? 255 - i : i);
            }
        }
        SetMatrices({{0}});  // every value above 0 prints
        EXPECT_EQ(AllocPageBitmap(width, height, &m_settings, m_context, &m_options), FLAG_TRUE);
    }
    ~ScreenPage()
    {
        FreePageBitmap(m_options.pPageBitmap);
        RendererFree(m_context);
    }
    ScreenPage(const ScreenPage&) = delete;
    ScreenPage& operator=(const ScreenPage&) = delete;

    // One matrix (rows of thresholds, all of one width) for every plane, tiled as the loader does.
    void SetMatrices(const std::vector<std::vector<BYTE>>& rows, int planes = SLOT_COUNT)
    {
        for (int slot = SLOT_COUNT - planes; slot < SLOT_COUNT; ++slot) {
            SetMatrix(slot, rows);
        }
    }
    void SetMatrix(int slot, const std::vector<std::vector<BYTE>>& rows)
    {
        const size_t dots = static_cast<size_t>(m_width) * m_context->lResMultiplierX;
        const size_t rowBytes = (dots + 3) & ~static_cast<size_t>(3);
        std::free(block()->apMatrix[slot]);
        block()->apMatrix[slot] = static_cast<BYTE*>(std::malloc(rowBytes * rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t x = 0; x < rowBytes; ++x) {
                block()->apMatrix[slot][r * rowBytes + x] = rows[r][x % rows[r].size()];
            }
        }
        block()->adwMatrixHeight[slot] = static_cast<DWORD>(rows.size());
        block()->dwMatrixRowBytes = static_cast<DWORD>(rowBytes);
    }
    void SetCurve(int slot, const std::vector<BYTE>& curve)
    {
        std::memcpy(block()->apToneCurve[slot], curve.data(), TONE_CURVE_BYTES);
    }
    // Every LUT node gives the same inks.
    void SetFlatLut(BYTE c, BYTE m, BYTE y, BYTE k)
    {
        for (size_t n = 0; n < LUT_BYTES; n += 4) {
            block()->abLut[n] = c, block()->abLut[n + 1] = m, block()->abLut[n + 2] = y, block()->abLut[n + 3] = k;
        }
    }
    void ClearCache()
    {
        if (m_context->pColorCache == nullptr) {
            return;
        }
        std::memset(m_context->pColorCache, 0, COLOR_CACHE_ENTRIES * sizeof(tagCOLORCACHEENTRY));
        m_context->pColorCache[0].bRed = m_context->pColorCache[0].bGreen = m_context->pColorCache[0].bBlue = 255;
    }
    void ClearBitmap() { std::memset(bitmap()->pBits, 0, PagePlaneBytes(bitmap()) * bitmap()->dwPlanes); }

    WORD Screen(const ScreenImpl& impl, const Band& band, int x, int y, DWORD* ink = nullptr)
    {
        DWORD mask = 0xDEAD;
        const auto fn = mono() ? impl.mono : impl.color;
        const WORD result = fn(band.size(), PackPair(m_width, m_height), PackPair(x, y), band.data(), &m_settings,
                               m_context, &m_options, bitmap(), &mask);
        if (ink != nullptr) {
            *ink = mask;
        }
        return result;
    }

    bool Dot(int plane, int row, int dot) const
    {
        const tagPAGEBITMAP* b = m_options.pPageBitmap;
        const BYTE byte = b->pBits[plane * PagePlaneBytes(b) + row * b->cbRowBytes + dot / 8];
        return (byte & (0x80 >> (dot % 8))) != 0;
    }
    // Rows of '#' (set) and '.' of one plane.
    std::vector<std::string> Plane(int plane) const
    {
        const tagPAGEBITMAP* b = m_options.pPageBitmap;
        std::vector<std::string> rows;
        for (DWORD r = 0; r < b->dwHeight; ++r) {
            std::string s;
            for (DWORD d = 0; d < b->dwWidth; ++d) {
                s += Dot(plane, static_cast<int>(r), static_cast<int>(d)) ? '#' : '.';
            }
            rows.push_back(s);
        }
        return rows;
    }
    std::vector<BYTE> Bits() const
    {
        const tagPAGEBITMAP* b = m_options.pPageBitmap;
        return std::vector<BYTE>(b->pBits, b->pBits + PagePlaneBytes(b) * b->dwPlanes);
    }

    bool mono() const { return m_settings.priv.dmColor == 1; }
    DRVDEVMODE* settings() { return &m_settings; }
    tagRENDERCONTEXT* context() { return m_context; }
    tagRENDEROPTIONS* options() { return &m_options; }
    tagCOLORBLOCK* block() { return m_context->pColorBlock; }
    tagPAGEBITMAP* bitmap() { return m_options.pPageBitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    DRVDEVMODE m_settings{};
    tagRENDERCONTEXT* m_context = nullptr;
    tagRENDEROPTIONS m_options{};
    int m_width = 0, m_height = 0;
};

}  // namespace rendertest
