// What the main window's combo fillers take: rows of fixed tables and the callbacks that name,
// picture and map the values of a value list.
#pragma once

#include <cstdint>

struct tagCOMBOITEM {
    int nStrID;           // section-0 text id (its low 16 bits are used)
    std::int64_t llData;  // the value the row carries
};

// The text of a row for a value.
typedef const char* (*PFNVALUENAME)(long lValue, void* pContext);
// The built-in image id of a row's picture for a value; 0 for none.
typedef unsigned short (*PFNVALUEIMAGE)(long lValue, void* pContext);
// The value a row carries for a list value.
typedef long (*PFNMAPVALUE)(long lValue, void* pContext);
