// Lengths between millimetres, inches and device dots.
//
// A dpi of 0 or below counts as 600 in every conversion. Dot results are held to the range of a
// 32-bit integer.
#pragma once

#include "core/WinTypes.h"

double InchToMM(double dInch);
double MMToInch(double dMM);
// dots x 25.4 / dpi in millimetres, dots / dpi in inches.
double DotsToLength(LONG lDots, SHORT sDpi, bool bMM);
// Millimetres rounded to the nearest dot, inches truncated to the dot below.
LONG LengthToDots(SHORT sDpi, bool bMM, double dLength);

// One length kept in all three units for a dialog or a normalisation step.
class CMMInch {
public:
    CMMInch();
    virtual ~CMMInch() = default;

    void SetDpi(SHORT sDpi) { m_sDpi = sDpi; }

    // The stored value plus 0.00001, so that a caller that truncates does not lose a digit to a
    // value stored just below it.
    double GetMM() const;
    double GetInch() const;
    double GetLength(bool bMM) const { return bMM ? GetMM() : GetInch(); }
    LONG GetDots() const { return m_lDots; }

    // Stores the dots; with bRecompute also millimetres and inches from them.
    void SetDots(LONG lDots, bool bRecompute);
    // Stores the inches and always the dots from them; with bRecompute also millimetres.
    void SetInch(bool bRecompute, double dInch);
    // Stores the millimetres; with bRecompute also inches and dots.
    void SetMM(bool bRecompute, double dMM);
    void SetLength(bool bMM, bool bRecompute, double dValue);

    // Copy a text into one of the two text buffers, cut to fit with its terminator.
    void SetFirstText(const char* pszText);
    void SetSecondText(const char* pszText);
    const char* GetFirstText() const { return m_szText1; }
    const char* GetSecondText() const { return m_szText2; }

private:
    double m_dMM = 0.0;
    double m_dInch = 0.0;
    LONG m_lDots = 0;
    SHORT m_sDpi = 600;
    char m_szText1[32] = {};
    char m_szText2[32] = {};
    char m_szDecimal[2] = {'.', '\0'};
};
