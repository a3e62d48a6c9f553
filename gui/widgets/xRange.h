// Ranges and the slider made from them.
#pragma once

#include "gui/widgets/xWidget.h"

class xRange : public xWidget {
public:
    xRange(xWidget* pOwner, int nID);
    ~xRange() override;

    virtual void SetRange(double dMin, double dMax);
    virtual void SetIncrements(double dStep, double dPage);
    // Raises OnNofityValueChanged when the value changes.
    virtual void SetValue(double dValue);
    virtual double GetValue();
    // GetValue truncated toward zero.
    virtual int GetValueInt();
    // "value-changed": the owner's OnNofityValueChanged with the range's id.
    virtual void OnValueChanged();

protected:
    // Attaches a range widget, keeps a reference on its adjustment and routes "value-changed".
    void AttachRange(GtkWidget* pRange);

    // The range's adjustment, held so that its value can still be read after the dialog that
    // held the range destroyed it (GTK lets go of it then).
    GtkAdjustment* m_pAdjustment;
};

class xSlider : public xRange {
public:
    // A horizontal (nOrientation 1) or vertical scale from dMin to dMax in steps of dStep,
    // showing nDigits decimals and no value text.
    xSlider(int nOrientation, xWidget* pOwner, int nID, int nDigits, double dMin, double dMax, double dStep);

    virtual void SetDigits(int nDigits);
};
