// The commands the decoder knows, one row each: (parameter character, group character, letter)
// and what the command sets: the GDI job and page commands, and the PCL-style job and page headers
// (where both languages use a command, one row serves both).
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
    // PCL-style headers.
    Reset,                // "\033E"
    RasterPresentation,   // "\033*r#F"
    UnitOfMeasure,        // "\033&u#D"
    PrintResolution,      // "\033*t#R"
    Copies,               // "\033&l#X"
    DuplexCode,           // "\033&l#S"
    SourceTransparency,   // "\033*v#N"
    PatternTransparency,  // "\033*v#O"
    ColourMode,           // "\033&b#M"
    MediaName,            // "\033&n#W", followed by # bytes: "d" and the media name
    Orientation,          // "\033&l#O"
    LongEdgeOffset,       // "\033&l#U": binding shift in decipoints
    ShortEdgeOffset,      // "\033&l#Z"
    LineSpacing,          // "\033&l#D"
    LogicalOperation,     // "\033*l#O"
    PixelPlacement,       // "\033*l#R"
    CursorX,              // "\033*p#X"
    CursorY,              // "\033*p#Y"
    FrameWidth,           // "\033*c#X": decipoints
    FrameHeight,          // "\033*c#Y"
    FrameAnchor,          // "\033*c#T"
};

struct CommandInfo {
    char parameter;  // 0 for a two-character command
    char group;      // the command character of a two-character command
    char letter;     // upper case; 0 for a two-character command
    CommandId id;
    const char* name;
    bool dataFollows = false;  // the value counts the bytes that follow the command
};

// The most bytes a command with data may carry (a media name is at most 32).
inline constexpr long kMaxCommandData = 256;

// The row of a command, or nullptr when the decoder does not know it.
const CommandInfo* FindCommand(char parameter, char group, char letter);

}  // namespace orvdecode
