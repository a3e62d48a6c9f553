#include "tools/stream-decoder/lib/PlaneFiles.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace orvdecode {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool SizesMatch(const std::vector<uint8_t>& rows, unsigned width, unsigned height)
{
    return width > 0 && height > 0 && rows.size() == (static_cast<size_t>(width) + 7) / 8 * height;
}

// libpng reports errors by longjmp; the writer state is released on every path.
struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngWriter()
    {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png != nullptr) {
            info = png_create_info_struct(png);
        }
    }
    ~PngWriter() { png_destroy_write_struct(&png, info != nullptr ? &info : nullptr); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;
};

bool WritePngRows(FILE* file, const std::vector<uint8_t>& rows, std::vector<uint8_t>& inverted, unsigned width,
                  unsigned height)
{
    PngWriter writer;
    if (writer.png == nullptr || writer.info == nullptr) {
        return false;
    }
    if (setjmp(png_jmpbuf(writer.png))) {
        return false;
    }
    png_init_io(writer.png, file);
    png_set_IHDR(writer.png, writer.info, width, height, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.png, writer.info);
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    // In a grey PNG 0 is black; in the plane a set bit prints.
    for (size_t i = 0; i < rows.size(); ++i) {
        inverted[i] = static_cast<uint8_t>(~rows[i]);
    }
    for (unsigned y = 0; y < height; ++y) {
        png_write_row(writer.png, inverted.data() + y * rowBytes);
    }
    png_write_end(writer.png, nullptr);
    return true;
}

}  // namespace

bool WritePbm(const std::string& path, const std::vector<uint8_t>& rows, unsigned width, unsigned height)
{
    if (!SizesMatch(rows, width, height)) {
        return false;
    }
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    if (std::fprintf(file.get(), "P4\n%u %u\n", width, height) < 0 ||
        std::fwrite(rows.data(), 1, rows.size(), file.get()) != rows.size()) {
        return false;
    }
    return std::fclose(file.release()) == 0;
}

bool WritePng(const std::string& path, const std::vector<uint8_t>& rows, unsigned width, unsigned height)
{
    if (!SizesMatch(rows, width, height)) {
        return false;
    }
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    // Allocated before setjmp, so that a longjmp out of libpng leaves nothing behind.
    std::vector<uint8_t> inverted(rows.size());
    if (!WritePngRows(file.get(), rows, inverted, width, height)) {
        return false;
    }
    return std::fclose(file.release()) == 0;
}

}  // namespace orvdecode
