// The probability estimation table of the JBIG arithmetic coder (ITU-T T.82 table 24), and the
// coder's form of it.
#include "platform/compress/QmEncoder.h"

namespace {

// One row a state: Qe, the next state after a more probable symbol with renormalisation, after a
// less probable one, and the switch flag.
struct QmState {
    uint16_t wQe;
    uint8_t bNextMps;
    uint8_t bNextLps;
    uint8_t bSwitch;
};

constexpr QmState kStates[113] = {
    {0x5A1D,   1,   1, 1}, {0x2586,   2,  14, 0}, {0x1114,   3,  16, 0}, {0x080B,   4,  18, 0},  // 0-3
    {0x03D8,   5,  20, 0}, {0x01DA,   6,  23, 0}, {0x00E5,   7,  25, 0}, {0x006F,   8,  28, 0},  // 4-7
    {0x0036,   9,  30, 0}, {0x001A,  10,  33, 0}, {0x000D,  11,  35, 0}, {0x0006,  12,   9, 0},  // 8-11
    {0x0003,  13,  10, 0}, {0x0001,  13,  12, 0}, {0x5A7F,  15,  15, 1}, {0x3F25,  16,  36, 0},  // 12-15
    {0x2CF2,  17,  38, 0}, {0x207C,  18,  39, 0}, {0x17B9,  19,  40, 0}, {0x1182,  20,  42, 0},  // 16-19
    {0x0CEF,  21,  43, 0}, {0x09A1,  22,  45, 0}, {0x072F,  23,  46, 0}, {0x055C,  24,  48, 0},  // 20-23
    {0x0406,  25,  49, 0}, {0x0303,  26,  51, 0}, {0x0240,  27,  52, 0}, {0x01B1,  28,  54, 0},  // 24-27
    {0x0144,  29,  56, 0}, {0x00F5,  30,  57, 0}, {0x00B7,  31,  59, 0}, {0x008A,  32,  60, 0},  // 28-31
    {0x0068,  33,  62, 0}, {0x004E,  34,  63, 0}, {0x003B,  35,  32, 0}, {0x002C,   9,  33, 0},  // 32-35
    {0x5AE1,  37,  37, 1}, {0x484C,  38,  64, 0}, {0x3A0D,  39,  65, 0}, {0x2EF1,  40,  67, 0},  // 36-39
    {0x261F,  41,  68, 0}, {0x1F33,  42,  69, 0}, {0x19A8,  43,  70, 0}, {0x1518,  44,  72, 0},  // 40-43
    {0x1177,  45,  73, 0}, {0x0E74,  46,  74, 0}, {0x0BFB,  47,  75, 0}, {0x09F8,  48,  77, 0},  // 44-47
    {0x0861,  49,  78, 0}, {0x0706,  50,  79, 0}, {0x05CD,  51,  48, 0}, {0x04DE,  52,  50, 0},  // 48-51
    {0x040F,  53,  50, 0}, {0x0363,  54,  51, 0}, {0x02D4,  55,  52, 0}, {0x025C,  56,  53, 0},  // 52-55
    {0x01F8,  57,  54, 0}, {0x01A4,  58,  55, 0}, {0x0160,  59,  56, 0}, {0x0125,  60,  57, 0},  // 56-59
    {0x00F6,  61,  58, 0}, {0x00CB,  62,  59, 0}, {0x00AB,  63,  61, 0}, {0x008F,  32,  61, 0},  // 60-63
    {0x5B12,  65,  65, 1}, {0x4D04,  66,  80, 0}, {0x412C,  67,  81, 0}, {0x37D8,  68,  82, 0},  // 64-67
    {0x2FE8,  69,  83, 0}, {0x293C,  70,  84, 0}, {0x2379,  71,  86, 0}, {0x1EDF,  72,  87, 0},  // 68-71
    {0x1AA9,  73,  87, 0}, {0x174E,  74,  72, 0}, {0x1424,  75,  72, 0}, {0x119C,  76,  74, 0},  // 72-75
    {0x0F6B,  77,  74, 0}, {0x0D51,  78,  75, 0}, {0x0BB6,  79,  77, 0}, {0x0A40,  48,  77, 0},  // 76-79
    {0x5832,  81,  80, 1}, {0x4D1C,  82,  88, 0}, {0x438E,  83,  89, 0}, {0x3BDD,  84,  90, 0},  // 80-83
    {0x34EE,  85,  91, 0}, {0x2EAE,  86,  92, 0}, {0x299A,  87,  93, 0}, {0x2516,  71,  86, 0},  // 84-87
    {0x5570,  89,  88, 1}, {0x4CA9,  90,  95, 0}, {0x44D9,  91,  96, 0}, {0x3E22,  92,  97, 0},  // 88-91
    {0x3824,  93,  99, 0}, {0x32B4,  94,  99, 0}, {0x2E17,  86,  93, 0}, {0x56A8,  96,  95, 1},  // 92-95
    {0x4F46,  97, 101, 0}, {0x47E5,  98, 102, 0}, {0x41CF,  99, 103, 0}, {0x3C3D, 100, 104, 0},  // 96-99
    {0x375E,  93,  99, 0}, {0x5231, 102, 105, 0}, {0x4C0F, 103, 106, 0}, {0x4639, 104, 107, 0},  // 100-103
    {0x415E,  99, 103, 0}, {0x5627, 106, 105, 1}, {0x50E7, 107, 108, 0}, {0x4B85, 103, 109, 0},  // 104-107
    {0x5597, 109, 110, 0}, {0x504F, 107, 111, 0}, {0x5A10, 111, 110, 1}, {0x5522, 109, 112, 0},  // 108-111
    {0x59EB, 111, 112, 1},  // 112-112
};

constexpr std::array<QmTransition, 256> MakeTransitions()
{
    std::array<QmTransition, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        const unsigned index = byte & 0x7F;
        if (index >= 113) {
            continue;
        }
        const QmState& state = kStates[index];
        const unsigned mps = byte & 0x80;
        table[byte].wQe = state.wQe;
        table[byte].bAfterMps = static_cast<uint8_t>(mps | state.bNextMps);
        table[byte].bAfterLps = static_cast<uint8_t>((mps ^ (state.bSwitch << 7)) | state.bNextLps);
    }
    return table;
}

}  // namespace

constexpr std::array<QmTransition, 256> kQmTransitions = MakeTransitions();
