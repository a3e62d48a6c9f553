// PLACEHOLDER until the built-in text and picture tables exist: every key is missing, so every
// lookup answers NULL (an empty text, no picture). The tables' own source replaces this file.
#include "gui/widgets/BuiltinTables.h"

const char* GetBuiltinString(unsigned short, unsigned short)
{
    return NULL;
}

GdkPixbuf* GetBuiltinImage(unsigned short)
{
    return NULL;
}
