#include "tools/stream-decoder/lib/RasterBlockReader.h"

extern "C" {
#include <jbig.h>
}

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/compress/CompressParams.h"
#include "filter/render/encode/RasterBlockLayout.h"

namespace orvdecode {

namespace {

uint16_t LittleEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t LittleEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint32_t BigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

bool Fail(StreamError& error, size_t offset, std::string message)
{
    error.offset = offset;
    error.message = std::move(message);
    return false;
}

// JBIG header fields that a band image must have: lowest layer, no differential layers, one plane.
constexpr size_t kJbigLayerOffset = 0;
constexpr size_t kJbigLayersOffset = 1;
constexpr size_t kJbigPlanesOffset = 2;

struct JbigDecoder {
    jbg_dec_state state;
    JbigDecoder() { jbg_dec_init(&state); }
    ~JbigDecoder() { jbg_dec_free(&state); }
    JbigDecoder(const JbigDecoder&) = delete;
    JbigDecoder& operator=(const JbigDecoder&) = delete;
};

bool DecodeJbigBlock(const uint8_t* data, size_t offset, const RasterBlockInfo& info, unsigned width, uint8_t* dest,
                     StreamError& error)
{
    const uint8_t* image = data + offset;
    const size_t length = info.dataLength;
    if (length < kJbigHeaderSize) {
        return Fail(error, offset,
                    "JBIG block: expected at least the 20-byte JBIG header, found " + std::to_string(length) + " bytes");
    }
    if (image[kJbigLayerOffset] != 0 || image[kJbigLayersOffset] != 0 || image[kJbigPlanesOffset] != 1) {
        return Fail(error, offset, "JBIG block: expected a one-plane image without differential layers");
    }
    const uint32_t imageWidth = BigEndian32(image + kJbigHeaderWidthOffset);
    const uint32_t imageHeight = BigEndian32(image + kJbigHeaderHeightOffset);
    const uint32_t stripeHeight = BigEndian32(image + kJbigHeaderStripeOffset);
    if (imageWidth != width) {
        return Fail(error, offset + kJbigHeaderWidthOffset,
                    "JBIG block: expected the image width " + std::to_string(width) + " (the raster width), found " +
                        std::to_string(imageWidth));
    }
    if (imageHeight != info.rows) {
        return Fail(error, offset + kJbigHeaderHeightOffset,
                    "JBIG block: expected the image height " + std::to_string(info.rows) +
                        " (the block's rows), found " + std::to_string(imageHeight));
    }
    if (stripeHeight == 0) {
        return Fail(error, offset + kJbigHeaderStripeOffset, "JBIG block: expected a stripe height above 0");
    }

    JbigDecoder decoder;
    jbg_dec_maxsize(&decoder.state, width, info.rows);
    // The decoder's interface takes non-const data; it gets a copy of the block.
    std::vector<uint8_t> copy(image, image + length);
    size_t consumed = 0;
    const int result = jbg_dec_in(&decoder.state, copy.data(), copy.size(), &consumed);
    if (result == JBG_EAGAIN) {
        return Fail(error, offset + length, "JBIG block: the image data ends before its last row");
    }
    if (result != JBG_EOK) {
        return Fail(error, offset + consumed, std::string("JBIG block: ") + jbg_strerror(result));
    }
    if (consumed != length) {
        return Fail(error, offset + consumed,
                    "JBIG block: expected the block to end with the image, found " +
                        std::to_string(length - consumed) + " more bytes");
    }
    if (jbg_dec_getwidth(&decoder.state) != width || jbg_dec_getheight(&decoder.state) != info.rows ||
        jbg_dec_getplanes(&decoder.state) != 1) {
        return Fail(error, offset, "JBIG block: the decoded image is not the size its header announced");
    }
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    const size_t bytes = rowBytes * info.rows;
    if (jbg_dec_getsize(&decoder.state) != bytes) {
        return Fail(error, offset, "JBIG block: the decoded image is not the size its header announced");
    }
    std::memcpy(dest, jbg_dec_getimage(&decoder.state, 0), bytes);
    return true;
}

}  // namespace

bool ReadRasterBlockHeader(const uint8_t* data, size_t size, size_t offset, RasterBlockInfo& info,
                           StreamError& error)
{
    if (offset > size || size - offset < kRasterBlockHeaderSize) {
        return Fail(error, offset,
                    "raster block: expected a 16-byte header, found " + std::to_string(offset > size ? 0 : size - offset) +
                        " bytes");
    }
    const uint8_t* header = data + offset;
    for (size_t zero : {size_t(5), size_t(7), size_t(9), size_t(12), size_t(13)}) {
        if (header[zero] != 0) {
            return Fail(error, offset + zero,
                        "raster block header: expected 0 in byte " + std::to_string(zero) + ", found " +
                            std::to_string(header[zero]));
        }
    }
    for (size_t flag : {kRasterBlockLastBandOffset, kRasterBlockFirstBandOffset}) {
        if (header[flag] > 1) {
            return Fail(error, offset + flag,
                        "raster block header: expected 0 or 1 in byte " + std::to_string(flag) + ", found " +
                            std::to_string(header[flag]));
        }
    }
    info.dataLength = LittleEndian32(header + kRasterBlockLengthOffset);
    info.lastBand = header[kRasterBlockLastBandOffset] == 1;
    info.firstBand = header[kRasterBlockFirstBandOffset] == 1;
    info.compression = header[kRasterBlockCompressionOffset];
    info.rows = LittleEndian16(header + kRasterBlockRowsOffset);
    info.plane = LittleEndian16(header + kRasterBlockPlaneOffset);
    if (info.compression != RASTER_COMPRESSION_NONE && info.compression != RASTER_COMPRESSION_JBIG) {
        return Fail(error, offset + kRasterBlockCompressionOffset,
                    "raster block header: expected compression 0 or 11, found " + std::to_string(info.compression));
    }
    if (info.rows == 0) {
        return Fail(error, offset + kRasterBlockRowsOffset, "raster block header: expected at least one row");
    }
    if (info.plane >= kRasterPlaneCount) {
        return Fail(error, offset + kRasterBlockPlaneOffset,
                    "raster block header: expected plane 0 to 3, found " + std::to_string(info.plane));
    }
    const size_t dataOffset = offset + kRasterBlockHeaderSize;
    if (size - dataOffset < info.dataLength) {
        return Fail(error, dataOffset,
                    "raster block: expected " + std::to_string(info.dataLength) + " data bytes, found " +
                        std::to_string(size - dataOffset));
    }
    return true;
}

bool DecodeRasterBlockData(const uint8_t* data, size_t offset, const RasterBlockInfo& info, unsigned width,
                           uint8_t* dest, StreamError& error)
{
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    if (info.compression == RASTER_COMPRESSION_JBIG) {
        return DecodeJbigBlock(data, offset, info, width, dest, error);
    }
    const size_t expected = rowBytes * info.rows;
    if (info.dataLength != expected) {
        return Fail(error, offset,
                    "uncompressed block: expected " + std::to_string(info.rows) + " rows of " +
                        std::to_string(rowBytes) + " bytes (" + std::to_string(expected) + "), found " +
                        std::to_string(info.dataLength) + " bytes");
    }
    std::memcpy(dest, data + offset, expected);
    return true;
}

}  // namespace orvdecode
