#include "tools/stream-decoder/lib/CommandTable.h"

namespace orvdecode {

namespace {

const CommandInfo kCommands[] = {
    {'&', '&', 'S', CommandId::SheetControl, "sheet control"},
    {'&', 'r', 'W', CommandId::ResolutionX, "horizontal resolution"},
    {'&', 'r', 'L', CommandId::ResolutionY, "vertical resolution"},
    {'&', '&', 'Y', CommandId::MediaCode, "media code"},
    {'&', 'l', 'A', CommandId::PaperCode, "paper code"},
    {'&', 'f', 'I', CommandId::CustomWidth, "custom paper width"},
    {'&', 'f', 'J', CommandId::CustomLength, "custom paper length"},
    {'&', 'l', 'H', CommandId::SourceCode, "paper source code"},
    {'&', '&', 'W', CommandId::RasterCode, "raster code"},
    {'*', 'r', 'T', CommandId::RasterHeight, "raster height"},
    {'*', 'r', 'S', CommandId::RasterWidth, "raster width"},
    {'&', 'a', 'L', CommandId::LeftOffset, "left offset"},
    {'&', 'l', 'E', CommandId::TopOffset, "top offset"},
    {'&', '&', 'T', CommandId::Rotation, "rotation"},
    {'*', 'b', 'W', CommandId::RasterBlock, "raster block"},
    {'&', '&', 'R', CommandId::PageEnd, "page end, ink planes"},
    {0, 'E', 0, CommandId::Reset, "printer reset"},
    {'*', 'r', 'F', CommandId::RasterPresentation, "raster presentation"},
    {'&', 'u', 'D', CommandId::UnitOfMeasure, "units per inch"},
    {'*', 't', 'R', CommandId::PrintResolution, "print resolution"},
    {'&', 'l', 'X', CommandId::Copies, "copies"},
    {'&', 'l', 'S', CommandId::DuplexCode, "duplex code"},
    {'*', 'v', 'N', CommandId::SourceTransparency, "source transparency"},
    {'*', 'v', 'O', CommandId::PatternTransparency, "pattern transparency"},
    {'&', 'b', 'M', CommandId::ColourMode, "colour mode"},
    {'&', 'n', 'W', CommandId::MediaName, "media name", true},
    {'&', 'l', 'O', CommandId::Orientation, "orientation"},
    {'&', 'l', 'U', CommandId::LongEdgeOffset, "long-edge binding offset"},
    {'&', 'l', 'Z', CommandId::ShortEdgeOffset, "short-edge binding offset"},
    {'&', 'l', 'D', CommandId::LineSpacing, "line spacing"},
    {'*', 'l', 'O', CommandId::LogicalOperation, "logical operation"},
    {'*', 'l', 'R', CommandId::PixelPlacement, "pixel placement"},
    {'*', 'p', 'X', CommandId::CursorX, "cursor x"},
    {'*', 'p', 'Y', CommandId::CursorY, "cursor y"},
    {'*', 'c', 'X', CommandId::FrameWidth, "frame width"},
    {'*', 'c', 'Y', CommandId::FrameHeight, "frame height"},
    {'*', 'c', 'T', CommandId::FrameAnchor, "frame anchor"},
};

}  // namespace

const CommandInfo* FindCommand(char parameter, char group, char letter)
{
    for (const CommandInfo& command : kCommands) {
        if (command.parameter == parameter && command.group == group && command.letter == letter) {
            return &command;
        }
    }
    return nullptr;
}

}  // namespace orvdecode
