// Anonymous layout containers: boxes, tables, paned containers, button boxes and alignments.
#pragma once

#include "gui/widgets/xContainer.h"

// Orientation arguments of the layout classes: 1 is horizontal, any other value vertical.
enum { XORIENT_HORIZONTAL = 1, XORIENT_VERTICAL = 0 };

class xBox : public xContainer {
public:
    // A new horizontal (nOrientation 1) or vertical box.
    xBox(int nOrientation, int bHomogeneous, int nSpacing);
    // Wraps an existing box (a dialog's content area).
    explicit xBox(GtkWidget* pBox);

    virtual xWidget* PackStart(xWidget* pChild, int bExpand, int bFill, unsigned int nPadding);
    virtual xWidget* PackEnd(xWidget* pChild, int bExpand, int bFill, unsigned int nPadding);
};

class xTable : public xContainer {
public:
    xTable(unsigned int nRows, unsigned int nColumns, int bHomogeneous, xWidget* pOwner, int nID);

    // gtk_table_attach over columns [nLeft, nLeft + nColSpan) and rows [nTop, nTop + nRowSpan).
    virtual xWidget* Attach(xWidget* pChild, unsigned int nLeft, unsigned int nTop, unsigned int nColSpan,
                            unsigned int nRowSpan, GtkAttachOptions xOptions, GtkAttachOptions yOptions,
                            unsigned int nXPadding, unsigned int nYPadding);
    using xWidget::Attach;

    // A negative column sets the spacing of every column, else of that one.
    void SetColSpacing(int nColumn, unsigned int nSpacing);
};

class xPaned : public xContainer {
public:
    explicit xPaned(int nOrientation);

    virtual xWidget* Pack1(xWidget* pChild, int bResize, int bShrink);
    virtual xWidget* Pack2(xWidget* pChild, int bResize, int bShrink);
};

class xButtonBox : public xContainer {
public:
    xButtonBox(int nOrientation, GtkButtonBoxStyle layout, int nSpacing);
};

class xAlignment : public xBin {
public:
    xAlignment(float fXAlign, float fYAlign, float fXScale, float fYScale);
};
