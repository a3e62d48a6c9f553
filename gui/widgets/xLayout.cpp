#include "gui/widgets/xLayout.h"

xBox::xBox(int nOrientation, int bHomogeneous, int nSpacing) : xContainer(NULL, -1)
{
    Attach(nOrientation == XORIENT_HORIZONTAL ? gtk_hbox_new(bHomogeneous, nSpacing)
                                              : gtk_vbox_new(bHomogeneous, nSpacing));
}

xBox::xBox(GtkWidget* pBox) : xContainer(NULL, -1)
{
    Attach(pBox);
}

xWidget* xBox::PackStart(xWidget* pChild, int bExpand, int bFill, unsigned int nPadding)
{
    gtk_box_pack_start(GTK_BOX(m_pWidget), pChild->GetGtkWidget(), bExpand, bFill, nPadding);
    return pChild;
}

xWidget* xBox::PackEnd(xWidget* pChild, int bExpand, int bFill, unsigned int nPadding)
{
    gtk_box_pack_end(GTK_BOX(m_pWidget), pChild->GetGtkWidget(), bExpand, bFill, nPadding);
    return pChild;
}

xTable::xTable(unsigned int nRows, unsigned int nColumns, int bHomogeneous, xWidget* pOwner, int nID)
    : xContainer(pOwner, nID)
{
    Attach(gtk_table_new(nRows, nColumns, bHomogeneous));
}

xWidget* xTable::Attach(xWidget* pChild, unsigned int nLeft, unsigned int nTop, unsigned int nColSpan,
                        unsigned int nRowSpan, GtkAttachOptions xOptions, GtkAttachOptions yOptions,
                        unsigned int nXPadding, unsigned int nYPadding)
{
    gtk_table_attach(GTK_TABLE(m_pWidget), pChild->GetGtkWidget(), nLeft, nLeft + nColSpan, nTop, nTop + nRowSpan,
                     xOptions, yOptions, nXPadding, nYPadding);
    return pChild;
}

void xTable::SetColSpacing(int nColumn, unsigned int nSpacing)
{
    if (nColumn < 0) {
        gtk_table_set_col_spacings(GTK_TABLE(m_pWidget), nSpacing);
    } else {
        gtk_table_set_col_spacing(GTK_TABLE(m_pWidget), nColumn, nSpacing);
    }
}

xPaned::xPaned(int nOrientation) : xContainer(NULL, -1)
{
    Attach(nOrientation == XORIENT_HORIZONTAL ? gtk_hpaned_new() : gtk_vpaned_new());
}

xWidget* xPaned::Pack1(xWidget* pChild, int bResize, int bShrink)
{
    gtk_paned_pack1(GTK_PANED(m_pWidget), pChild->GetGtkWidget(), bResize, bShrink);
    return pChild;
}

xWidget* xPaned::Pack2(xWidget* pChild, int bResize, int bShrink)
{
    gtk_paned_pack2(GTK_PANED(m_pWidget), pChild->GetGtkWidget(), bResize, bShrink);
    return pChild;
}

xButtonBox::xButtonBox(int nOrientation, GtkButtonBoxStyle layout, int nSpacing) : xContainer(NULL, -1)
{
    Attach(nOrientation == XORIENT_HORIZONTAL ? gtk_hbutton_box_new() : gtk_vbutton_box_new());
    gtk_button_box_set_layout(GTK_BUTTON_BOX(m_pWidget), layout);
    gtk_box_set_spacing(GTK_BOX(m_pWidget), nSpacing);
}

xAlignment::xAlignment(float fXAlign, float fYAlign, float fXScale, float fYScale) : xBin(NULL, -1)
{
    Attach(gtk_alignment_new(fXAlign, fYAlign, fXScale, fYScale));
}
