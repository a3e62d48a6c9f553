// orv-stream-decode as a user runs it: a stream file in, a summary out, every plane of every page
// written as PBM (and PNG) files; a malformed stream gives exit status 1 and the fault's offset.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "decoder/StreamBuilder.h"
#include "support/BitPlanes.h"
#include "support/CompressLibrary.h"
#include "support/ScratchDir.h"

namespace {

using orvtest::StreamBuilder;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RunResult RunDecoder(const orvtest::ScratchDir& dir, const std::string& arguments)
{
    const std::string command = "cd '" + dir.path() + "' && '" ORV_STREAM_DECODE_PATH "' " + arguments +
                                " >out.txt 2>err.txt";
    RunResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadFile(dir / "out.txt");
    result.err = ReadFile(dir / "err.txt");
    return result;
}

void WriteStream(const orvtest::ScratchDir& dir, const std::string& name, const StreamBuilder& stream)
{
    dir.WriteFile(name, std::string(stream.bytes().begin(), stream.bytes().end()));
}

// The PNG's pixels, one byte each (0 black, 255 white), through libpng's simplified reader.
std::vector<uint8_t> ReadPngGray(const std::string& path, unsigned& width, unsigned& height)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> pixels;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return pixels;
    }
    image.format = PNG_FORMAT_GRAY;
    pixels.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        pixels.clear();
    }
    width = image.width;
    height = image.height;
    png_image_free(&image);
    return pixels;
}

TEST(DecoderProgram, WritesEveryPlaneAsPbmAndPng)
{
    orvtest::CompressLibrary lib;
    ASSERT_NE(lib.entry(), nullptr) << lib.error();
    orvtest::TestPage mono {21, 30, {orvtest::MakePlane(orvtest::PlanePattern::TextLike, 21, 30, 1)}};
    mono.planes[0][0] = 0xC3;  // some ink in the first row, whatever the pattern drew
    orvtest::TestPage colour {16, 8, {}};
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        colour.planes.push_back(orvtest::MakePlane(orvtest::PlanePattern::Noise, 16, 8, seed));
    }
    StreamBuilder stream;
    stream.JobStart().PageHeader(21, 30);
    orvtest::AppendPageBlocks(stream, lib.entry(), mono, 16);
    stream.PageEnd(1).PageHeader(16, 8);
    orvtest::AppendPageBlocks(stream, lib.entry(), colour, 16);
    stream.PageEnd(15).JobEnd();

    orvtest::ScratchDir dir;
    WriteStream(dir, "job.prn", stream);
    const RunResult run = RunDecoder(dir, "-o out --png job.prn");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("@PJL ENTER LANGUAGE=GDI"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2 pages, stream complete"), std::string::npos) << run.out;

    // PBM: "P4", width and height, then the rows as the plane holds them (a set bit is black).
    const std::string header = "P4\n21 30\n";
    EXPECT_EQ(ReadFile(dir / "out-page001-black.pbm"),
              header + std::string(mono.planes[0].begin(), mono.planes[0].end()));
    const char* names[4] = {"cyan", "magenta", "yellow", "black"};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(names[i]);
        const std::string path = dir / (std::string("out-page002-") + names[i]);
        EXPECT_EQ(ReadFile(path + ".pbm"),
                  "P4\n16 8\n" + std::string(colour.planes[i].begin(), colour.planes[i].end()));
        unsigned width = 0, height = 0;
        const std::vector<uint8_t> pixels = ReadPngGray(path + ".png", width, height);
        ASSERT_EQ(pixels.size(), 16u * 8u);
        for (unsigned y = 0; y < 8; ++y) {
            for (unsigned x = 0; x < 16; ++x) {
                const bool ink = colour.planes[i][y * 2 + x / 8] & (0x80 >> (x % 8));
                ASSERT_EQ(pixels[y * 16 + x], ink ? 0 : 255) << x << "," << y;
            }
        }
    }
    std::ifstream none(dir / "out-page001-cyan.pbm");
    EXPECT_FALSE(none.good()) << "a monochrome page has only its black plane";
}

TEST(DecoderProgram, MalformedStreamExitsWithOneAndTheOffset)
{
    StreamBuilder stream;
    stream.JobStart().Text("\033&z5Q");
    orvtest::ScratchDir dir;
    WriteStream(dir, "bad.prn", stream);
    const RunResult run = RunDecoder(dir, "bad.prn");
    EXPECT_EQ(run.status, 1);
    const std::string offset = std::to_string(stream.size() - 5);
    EXPECT_NE(run.err.find("malformed stream at offset " + offset), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("unknown command ESC&z5Q"), std::string::npos) << run.err;
}

TEST(DecoderProgram, UsageAndMissingFileExitWithTwo)
{
    orvtest::ScratchDir dir;
    EXPECT_EQ(RunDecoder(dir, "").status, 2);
    EXPECT_EQ(RunDecoder(dir, "--bogus job.prn").status, 2);
    EXPECT_EQ(RunDecoder(dir, "missing.prn").status, 2);
}

}  // namespace
