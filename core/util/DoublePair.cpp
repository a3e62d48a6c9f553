#include "core/util/DoublePair.h"

namespace {

double g_dFirst = 0.0;
double g_dSecond = 0.0;

}  // namespace

void SetDoublePair(double dFirst, double dSecond)
{
    g_dFirst = dFirst;
    g_dSecond = dSecond;
}

void GetDoublePair(double* pdFirst, double* pdSecond)
{
    if (pdFirst != nullptr) {
        *pdFirst = g_dFirst;
    }
    if (pdSecond != nullptr) {
        *pdSecond = g_dSecond;
    }
}
