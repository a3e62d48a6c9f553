#include "gui/dlgcoloradj/PreviewPicture.h"

#include <cstdio>

namespace {

// Reports a photograph the renderer cannot read. The picture is built-in data, so this is a
// programming fault; it is told, not fatal: the page just shows no preview.
bool Check(bool bHolds, const char* pszExpression)
{
    if (!bHolds) {
        std::printf("dlgcoloradj: CDlgColorAdj::CDlgColorAdj(xWindow*, tagDIALOGINFO*): assertion failed: (%s)\n",
                    pszExpression);
        std::fflush(stdout);
    }
    return bHolds;
}

bool IsUsablePhotograph(GdkPixbuf* pSource)
{
    return Check(pSource != nullptr, "pixbuf != NULL") &&
           Check(gdk_pixbuf_get_colorspace(pSource) == GDK_COLORSPACE_RGB,
                 "gdk_pixbuf_get_colorspace (pixbuf) == GDK_COLORSPACE_RGB") &&
           Check(gdk_pixbuf_get_bits_per_sample(pSource) == 8, "gdk_pixbuf_get_bits_per_sample (pixbuf) == 8") &&
           Check(!gdk_pixbuf_get_has_alpha(pSource), "!gdk_pixbuf_get_has_alpha (pixbuf)") &&
           Check(gdk_pixbuf_get_n_channels(pSource) == 3, "gdk_pixbuf_get_n_channels (pixbuf) == 3");
}

}  // namespace

CPreviewPicture::CPreviewPicture(GdkPixbuf* pSource)
{
    if (!IsUsablePhotograph(pSource)) {
        return;
    }
    GdkPixbuf* pCopy = gdk_pixbuf_copy(pSource);
    if (pCopy == nullptr) {
        return;
    }
    // The renderer walks both buffers with one row stride; a copy is made with the source's, but
    // that is checked rather than assumed.
    tagPREVIEWPICTURES pictures{};
    pictures.pSource = gdk_pixbuf_get_pixels(pSource);
    pictures.pTarget = gdk_pixbuf_get_pixels(pCopy);
    pictures.nWidth = gdk_pixbuf_get_width(pSource);
    pictures.nHeight = gdk_pixbuf_get_height(pSource);
    pictures.nRowStride = gdk_pixbuf_get_rowstride(pSource);
    const bool sameLayout = gdk_pixbuf_get_width(pCopy) == pictures.nWidth &&
                            gdk_pixbuf_get_height(pCopy) == pictures.nHeight &&
                            gdk_pixbuf_get_rowstride(pCopy) == pictures.nRowStride &&
                            gdk_pixbuf_get_n_channels(pCopy) == 3;
    if (!sameLayout || !IsRenderable(pictures)) {
        g_object_unref(pCopy);
        return;
    }
    m_pWorking = pCopy;
    m_pictures = pictures;
}

CPreviewPicture::~CPreviewPicture()
{
    if (m_pWorking != nullptr) {
        g_object_unref(m_pWorking);
    }
}
