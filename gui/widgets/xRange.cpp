#include "gui/widgets/xRange.h"

#include "gui/widgets/xLayout.h"

namespace {

void OnValueChangedRoute(GtkRange*, gpointer pData)
{
    if (pData != NULL) {
        static_cast<xRange*>(pData)->OnValueChanged();
    }
}

}  // namespace

xRange::xRange(xWidget* pOwner, int nID) : xWidget(pOwner, nID), m_pAdjustment(NULL) {}

xRange::~xRange()
{
    if (m_pAdjustment != NULL) {
        g_object_unref(m_pAdjustment);
    }
}

void xRange::AttachRange(GtkWidget* pRange)
{
    Attach(pRange);
    m_pAdjustment = gtk_range_get_adjustment(GTK_RANGE(pRange));
    g_object_ref(m_pAdjustment);
    g_signal_connect(m_pWidget, "value-changed", G_CALLBACK(OnValueChangedRoute), this);
}

void xRange::SetRange(double dMin, double dMax)
{
    gtk_range_set_range(GTK_RANGE(m_pWidget), dMin, dMax);
}

void xRange::SetIncrements(double dStep, double dPage)
{
    gtk_range_set_increments(GTK_RANGE(m_pWidget), dStep, dPage);
}

void xRange::SetValue(double dValue)
{
    gtk_range_set_value(GTK_RANGE(m_pWidget), dValue);
}

double xRange::GetValue()
{
    return m_pAdjustment != NULL ? gtk_adjustment_get_value(m_pAdjustment) : 0.0;
}

int xRange::GetValueInt()
{
    return static_cast<int>(GetValue());
}

void xRange::OnValueChanged()
{
    if (m_pOwner != NULL) {
        m_pOwner->OnNofityValueChanged(m_nID);
    }
}

xSlider::xSlider(int nOrientation, xWidget* pOwner, int nID, int nDigits, double dMin, double dMax, double dStep)
    : xRange(pOwner, nID)
{
    AttachRange(nOrientation == XORIENT_HORIZONTAL ? gtk_hscale_new_with_range(dMin, dMax, dStep)
                                                   : gtk_vscale_new_with_range(dMin, dMax, dStep));
    gtk_scale_set_digits(GTK_SCALE(m_pWidget), nDigits);
    gtk_scale_set_draw_value(GTK_SCALE(m_pWidget), FALSE);
}

void xSlider::SetDigits(int nDigits)
{
    gtk_scale_set_digits(GTK_SCALE(m_pWidget), nDigits);
}
