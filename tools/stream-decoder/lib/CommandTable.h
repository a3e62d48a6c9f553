// The commands the decoder knows, one row each: (parameter character, group character, letter)
// and what the command sets. The GDI job and page commands are here; the PCL-style headers would
// be further rows (and a kind for commands followed by data bytes).
#pragma once

namespace orvdecode {

enum class CommandId {
    SheetControl,   // "\033&&#S": 2 on the last page of the last copy when the model asks, else 0;
                    // also the keep-alive sequence
    ResolutionX,    // "\033&r#W"
    ResolutionY,    // "\033&r#L"
    MediaCode,      // "\033&&#Y"
    PaperCode,      // "\033&l#A"
    CustomWidth,    // "\033&f#I"
    CustomLength,   // "\033&f#J"
    SourceCode,     // "\033&l#H"
    RasterCode,     // "\033&&#W"
    RasterHeight,   // "\033*r#T"
    RasterWidth,    // "\033*r#S"
    LeftOffset,     // "\033&a#L"
    TopOffset,      // "\033&l#E"
    Rotation,       // "\033&&#T": 3 turns the page by 180 degrees
    RasterBlock,    // "\033*b0W", followed by the block header and data
    PageEnd,        // "\033&&#R": the planes that carry ink
};

struct CommandInfo {
    char parameter;  // 0 for a two-character command
    char group;
    char letter;     // upper case
    CommandId id;
    const char* name;
};

// The row of a command, or nullptr when the decoder does not know it.
const CommandInfo* FindCommand(char parameter, char group, char letter);

}  // namespace orvdecode
