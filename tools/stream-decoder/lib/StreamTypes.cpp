#include "tools/stream-decoder/lib/StreamTypes.h"

#include "filter/render/encode/RasterBlockLayout.h"

namespace orvdecode {

const char* PlaneName(uint16_t plane)
{
    switch (plane) {
    case RASTER_PLANE_BLACK: return "black";
    case RASTER_PLANE_CYAN: return "cyan";
    case RASTER_PLANE_MAGENTA: return "magenta";
    case RASTER_PLANE_YELLOW: return "yellow";
    default: return "?";
    }
}

}  // namespace orvdecode
