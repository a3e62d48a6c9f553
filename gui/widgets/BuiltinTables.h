// The settings program's built-in user-interface texts and pictures.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

// Text of (section, string id) in the locale chosen from LANG, else in "en"; NULL when neither
// has a text for the key. The text belongs to the table: never freed or changed by the caller.
const char* GetBuiltinString(unsigned short wSection, unsigned short wID);

// The picture of an image id, decoded once and cached; NULL for an unknown id (0 included) or a
// picture that cannot be decoded. The pixbuf belongs to the cache: callers may hand it to GTK,
// which takes its own references, but never unref or modify it (copy it first to change pixels).
GdkPixbuf* GetBuiltinImage(unsigned short wID);
