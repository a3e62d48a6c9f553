// The option block: what the filter's front end hands to every renderer call. The front end
// allocates it zeroed once per job and fills the job and page fields; the renderer writes the
// language type and capability mask when it is created, and hangs the page bitmap in it.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/ModelDataQuery.h"
#include "platform/compress/CompressParams.h"

#include <cstddef>

struct tagSPCDATA;     // the model data file loaded whole (the model data reader's record)
struct tagPAGEBITMAP;  // the page's bit-planes (filter/render/encode/PageBitmap.h)

// Printer-language types, decided once when the renderer is created.
enum LANGTYPE : DWORD {
    LANGTYPE_NONE = 0,  // the renderer writes nothing
    LANGTYPE_PCL = 1,   // PCL-style job and page headers
    LANGTYPE_GDI = 2,   // GDI page language with raster blocks
};

// Capability mask bit 1: the job may carry the ECONOMODE line.
inline constexpr DWORD RENDERCAPS_ECONOMODE = 0x2;

// "L_" and the model's colour-table name (at most 15 characters) fit with room to spare.
inline constexpr size_t RENDER_COLORTABLE_NAME_SIZE = 72;

struct tagRENDEROPTIONS {
    tagSPCDATA* pModelData;
    const char* pszDataDir;                              // the data directory, ending in '/'
    char szColorTableName[RENDER_COLORTABLE_NAME_SIZE];  // "L_" + capability 7 name, NUL-terminated
    PFNMODELQUERY pfnModelQuery;  // what the renderer's model-data reads ask; empty: the reader's own
    DWORD dwLangType;             // LANGTYPE, written by the renderer at creation
    DWORD dwCapabilityMask;       // written by the renderer at creation
    DWORD dwInputOrder;           // cleared at every page: input rows are red, green, blue
    SHORT sPaperSize;             // dmPaperSize
    WORD wPaperWidth;             // dmPaperWidth, 0.1 mm
    WORD wPaperLength;            // dmPaperLength, 0.1 mm
    SHORT sMediaType;             // low 16 bits of dmMediaType
    SHORT sPaperSource;           // dmDefaultSource
    WORD wDuplex;                 // dmDuplex
    DWORD dwDuplexCaps;           // the model's duplex capability word
    DWORD dwPagesPerSet;          // pages of one copy set, 0 when the job does not say
    DWORD dwPageInSet;            // 1-based page number within the copy set
    DWORD dwPageInSetAtStart;     // page in set at the first page of the set
    WORD wDuplexMargin;           // binding margin, units of dmUnitOfLayout
    SHORT sReverseOrder;
    SHORT sOrientation;
    DWORD dwCopyFlags;           // bit 0: the printer makes the copies
    DWORD dwPageWidth;           // band width in pixels (page width rounded down to the band multiple)
    DWORD dwPageHeight;          // rows
    tagPAGEBITMAP* pPageBitmap;  // allocated and freed by the renderer's page encoding
    PFNCOMPRESS pfnCompress;     // empty when the compression library is missing
};

// The job's model data, or nullptr without an option block.
inline const tagSPCDATA* RenderModelData(const tagRENDEROPTIONS* options)
{
    return options != nullptr ? options->pModelData : nullptr;
}

// The query the renderer's model-data reads ask; nullptr: the model data reader's own.
inline PFNMODELQUERY RenderModelQuery(const tagRENDEROPTIONS* options)
{
    return options != nullptr ? options->pfnModelQuery : nullptr;
}

// The front end's layout of the block (176 bytes on the 64-bit hosts the filter runs on).
static_assert(sizeof(void*) != 8 || sizeof(tagRENDEROPTIONS) == 176, "option block layout");
static_assert(offsetof(tagRENDEROPTIONS, dwLangType) == 16 + RENDER_COLORTABLE_NAME_SIZE + sizeof(PFNMODELQUERY),
              "option block layout");
