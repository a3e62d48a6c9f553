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
