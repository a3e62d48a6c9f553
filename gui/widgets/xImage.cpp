#include "gui/widgets/xImage.h"

#include "gui/widgets/BuiltinTables.h"

GdkPixbuf* BuiltinImageOrNull(int nImageID)
{
    unsigned short wID = static_cast<unsigned short>(nImageID & 0xFFFF);
    return wID != 0 ? GetBuiltinImage(wID) : NULL;
}

xImage::xImage(int nImageID, xWidget* pOwner, int nID) : xWidget(pOwner, nID)
{
    Attach(gtk_image_new_from_pixbuf(BuiltinImageOrNull(nImageID)));
}

xImage::xImage(GdkPixbuf* pPixbuf, xWidget* pOwner, int nID) : xWidget(pOwner, nID)
{
    Attach(gtk_image_new_from_pixbuf(pPixbuf));
}

void xImage::SetImage(int nImageID)
{
    gtk_image_set_from_pixbuf(GTK_IMAGE(m_pWidget), BuiltinImageOrNull(nImageID));
}

void xImage::SetPixbuf(GdkPixbuf* pPixbuf)
{
    gtk_image_set_from_pixbuf(GTK_IMAGE(m_pWidget), pPixbuf);
}
