// The two pictures of a preview page: the built-in photograph it renders from (shared with the
// image table, never changed or released here) and the working picture the page shows, a copy of
// the photograph made once when the page is built and rewritten in place by every render.
#pragma once

#include "gui/dlgcoloradj/PreviewRender.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

// The built-in picture of the colour adjustment preview.
inline constexpr unsigned short kPreviewPictureId = 102;

class CPreviewPicture {
public:
    // Takes the photograph as the image table gives it, NULL when it is missing or could not be
    // decoded. The renderer needs RGB, 8 bits per sample, no alpha and 3 channels; a picture that
    // is anything else is reported on standard output and the page shows no preview.
    explicit CPreviewPicture(GdkPixbuf* pSource);
    ~CPreviewPicture();
    CPreviewPicture(const CPreviewPicture&) = delete;
    CPreviewPicture& operator=(const CPreviewPicture&) = delete;

    // True when both pictures exist and share one layout, so a render can map one into the other.
    bool IsValid() const { return m_pWorking != nullptr; }
    // The working picture, NULL when the photograph is unusable.
    GdkPixbuf* Working() const { return m_pWorking; }
    // The two pixel buffers for the renderer; all empty (not renderable) when invalid.
    const tagPREVIEWPICTURES& Pictures() const { return m_pictures; }

private:
    GdkPixbuf* m_pWorking = nullptr;
    tagPREVIEWPICTURES m_pictures{};
};
