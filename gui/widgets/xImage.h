// Pictures, from the built-in image table or from a pixbuf.
#pragma once

#include "gui/widgets/xWidget.h"

class xImage : public xWidget {
public:
    // The picture of a built-in image id (only the low 16 bits count; 0 is no picture).
    xImage(int nImageID, xWidget* pOwner, int nID);
    // A picture of the caller's (the image takes its own reference); NULL is no picture.
    xImage(GdkPixbuf* pPixbuf, xWidget* pOwner, int nID);

    // The picture of a built-in image id; an id whose low 16 bits are 0 empties the image.
    virtual void SetImage(int nImageID);
    virtual void SetPixbuf(GdkPixbuf* pPixbuf);
};

// The built-in picture of an image id, NULL for no picture (low 16 bits 0) or an id the table
// lacks. The pixbuf belongs to the table.
GdkPixbuf* BuiltinImageOrNull(int nImageID);
