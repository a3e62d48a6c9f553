#include "core/printerinfo/MMInch.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kMMPerInch = 25.4;
constexpr SHORT kDefaultDpi = 600;
// The largest lengths a setter keeps: the largest 64-bit integer as dots at 600 dpi.
constexpr double kMaxInch = 1.5372286728091292e16;
constexpr double kMaxMM = 3.904560828935188e17;

SHORT EffectiveDpi(SHORT sDpi)
{
    return sDpi > 0 ? sDpi : kDefaultDpi;
}

// The integer part, held to the 32-bit range (a NaN counts as 0).
LONG ClampToLong(double d)
{
    if (std::isnan(d)) {
        return 0;
    }
    if (d >= static_cast<double>(INT32_MAX)) {
        return INT32_MAX;
    }
    if (d <= static_cast<double>(INT32_MIN)) {
        return INT32_MIN;
    }
    return static_cast<LONG>(d);
}

void CopyText(char (&dst)[32], const char* src)
{
    if (src == nullptr) {
        dst[0] = '\0';
        return;
    }
    size_t n = strnlen(src, sizeof dst - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

}  // namespace

double InchToMM(double dInch)
{
    return dInch * kMMPerInch;
}

double MMToInch(double dMM)
{
    return dMM / kMMPerInch;
}

double DotsToLength(LONG lDots, SHORT sDpi, bool bMM)
{
    const double dpi = EffectiveDpi(sDpi);
    return bMM ? lDots * kMMPerInch / dpi : lDots / dpi;
}

LONG LengthToDots(SHORT sDpi, bool bMM, double dLength)
{
    const double dpi = EffectiveDpi(sDpi);
    return bMM ? ClampToLong(dpi * dLength / kMMPerInch + 0.5) : ClampToLong(dpi * dLength);
}

CMMInch::CMMInch() = default;

double CMMInch::GetMM() const
{
    return m_dMM + 0.00001;
}

double CMMInch::GetInch() const
{
    return m_dInch + 0.00001;
}

void CMMInch::SetDots(LONG lDots, bool bRecompute)
{
    m_lDots = lDots;
    if (bRecompute) {
        m_dMM = DotsToLength(lDots, m_sDpi, true);
        m_dInch = DotsToLength(lDots, m_sDpi, false);
    }
}

void CMMInch::SetInch(bool bRecompute, double dInch)
{
    m_dInch = dInch > kMaxInch ? kMaxInch : dInch;
    m_lDots = LengthToDots(m_sDpi, false, m_dInch);
    if (bRecompute) {
        m_dMM = InchToMM(m_dInch);
    }
}

void CMMInch::SetMM(bool bRecompute, double dMM)
{
    m_dMM = dMM > kMaxMM ? kMaxMM : dMM;
    if (bRecompute) {
        m_dInch = MMToInch(m_dMM);
        m_lDots = LengthToDots(m_sDpi, true, m_dMM);
    }
}

void CMMInch::SetLength(bool bMM, bool bRecompute, double dValue)
{
    if (bMM) {
        SetMM(bRecompute, dValue);
    } else {
        SetInch(bRecompute, dValue);
    }
}

void CMMInch::SetFirstText(const char* pszText)
{
    CopyText(m_szText1, pszText);
}

void CMMInch::SetSecondText(const char* pszText)
{
    CopyText(m_szText2, pszText);
}
