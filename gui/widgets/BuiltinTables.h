// The program's built-in UI texts and pictures.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

// The built-in text of (section, string id) in the user's locale; NULL for a key the table lacks.
const char* GetBuiltinString(unsigned short wSection, unsigned short wID);

// The built-in picture of an image id, owned by the table (callers take their own reference when
// they keep it); NULL for an id the table lacks.
GdkPixbuf* GetBuiltinImage(unsigned short wID);
