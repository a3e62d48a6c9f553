// Decodes one JBIG image with JBIG-KIT's full decoder, independently of the project's stream
// decoder, so that the compression tests do not depend on it.
#pragma once

extern "C" {
#include <jbig.h>
}

#include <cstdint>
#include <vector>

namespace orvtest {

struct JbigImage {
    bool ok = false;
    unsigned long width = 0;
    unsigned long height = 0;
    std::vector<uint8_t> bits;  // rows of (width + 7) / 8 bytes
};

inline uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return (uint32_t(bytes[offset]) << 24) | (uint32_t(bytes[offset + 1]) << 16) | (uint32_t(bytes[offset + 2]) << 8) |
           uint32_t(bytes[offset + 3]);
}

inline JbigImage DecodeJbig(const std::vector<uint8_t>& data)
{
    JbigImage image;
    jbg_dec_state state;
    jbg_dec_init(&state);
    jbg_dec_maxsize(&state, 65535, 1u << 20);
    size_t consumed = 0;
    std::vector<uint8_t> copy(data);  // the decoder's interface is not const-qualified
    const int result = jbg_dec_in(&state, copy.data(), copy.size(), &consumed);
    if (result == JBG_EOK && consumed == copy.size() && jbg_dec_getplanes(&state) == 1) {
        image.ok = true;
        image.width = jbg_dec_getwidth(&state);
        image.height = jbg_dec_getheight(&state);
        const uint8_t* bits = jbg_dec_getimage(&state, 0);
        image.bits.assign(bits, bits + jbg_dec_getsize(&state));
    }
    jbg_dec_free(&state);
    return image;
}

}  // namespace orvtest
