#include "filter/render/OutputBuffer.h"
#include "filter/render/Renderer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A renderer context that owns just an output buffer, drained the way the front end drains it.
class BufferContext {
public:
    BufferContext()
    {
        m_context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        m_context->pOutput = OutputBufferCreate();
    }
    ~BufferContext() { RendererFree(m_context); }
    BufferContext(const BufferContext&) = delete;
    BufferContext& operator=(const BufferContext&) = delete;

    tagRENDERCONTEXT* context() { return m_context; }
    tagOUTPUTBUFFER* buffer() { return m_context->pOutput; }

    std::vector<std::string> Drain()
    {
        std::vector<std::string> chunks;
        DWORD length = 0;
        while (const BYTE* chunk = RendererTakeOutputChunk(m_context, &length)) {
            chunks.emplace_back(reinterpret_cast<const char*>(chunk), length);
        }
        RendererClearOutput(m_context);
        return chunks;
    }

private:
    tagRENDERCONTEXT* m_context = nullptr;
};

size_t BlockCount(const tagOUTPUTBUFFER* buffer)
{
    size_t n = 0;
    for (const tagOUTPUTBLOCK* b = buffer->pFirst; b != nullptr; b = b->pNext) {
        ++n;
    }
    return n;
}

TEST(OutputBuffer, FullBlockAppendOpensTheNextBlock)
{
    BufferContext c;
    std::vector<BYTE> bytes(65536, 0x5A);
    ASSERT_EQ(OutputBufferAppend(c.buffer(), bytes.data(), bytes.size()), 0xFFFF);

    EXPECT_EQ(BlockCount(c.buffer()), 2u);
    EXPECT_EQ(c.buffer()->pFirst->dwUsed, 65536u);
    EXPECT_EQ(c.buffer()->pWrite, c.buffer()->pFirst->pNext);
    EXPECT_EQ(c.buffer()->pWrite->dwUsed, 0u);
    EXPECT_EQ(c.buffer()->dwTotal, 65536u);

    // One chunk of the whole block; the empty second block is no chunk.
    std::vector<std::string> chunks = c.Drain();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], std::string(65536, 'Z'));
}

TEST(OutputBuffer, AppendsSplitAcrossBlocksKeepEveryByteInOrder)
{
    struct Case {
        std::vector<size_t> appends;
        std::vector<size_t> chunkSizes;
    };
    const Case cases[] = {
        {{65535, 2}, {65536, 1}},
        {{1, 65535}, {65536}},
        {{200000}, {65536, 65536, 65536, 3392}},
        {{65536, 65536}, {65536, 65536}},
    };
    for (const Case& tc : cases) {
        BufferContext c;
        std::string expected;
        unsigned char next = 0;
        for (size_t n : tc.appends) {
            std::string piece;
            for (size_t i = 0; i < n; ++i) {
                piece.push_back(static_cast<char>(next++));
            }
            ASSERT_EQ(OutputBufferAppend(c.buffer(), piece.data(), piece.size()), 0xFFFF);
            expected += piece;
        }
        std::vector<std::string> chunks = c.Drain();
        ASSERT_EQ(chunks.size(), tc.chunkSizes.size()) << "first append " << tc.appends[0];
        std::string joined;
        for (size_t i = 0; i < chunks.size(); ++i) {
            EXPECT_EQ(chunks[i].size(), tc.chunkSizes[i]);
            joined += chunks[i];
        }
        EXPECT_EQ(joined, expected);
    }
}

TEST(OutputBuffer, EmptyAppendSucceedsAndChangesNothing)
{
    BufferContext c;
    const char text[] = "x";
    EXPECT_EQ(OutputBufferAppend(c.buffer(), text, 0), 0xFFFF);
    EXPECT_EQ(OutputBufferAppend(c.buffer(), nullptr, 10), 0xFFFF);
    EXPECT_EQ(OutputBufferAppendString(c.buffer(), ""), 0xFFFF);
    EXPECT_EQ(c.buffer()->dwTotal, 0u);
    EXPECT_TRUE(c.Drain().empty());
    EXPECT_EQ(OutputBufferAppend(nullptr, text, 1), 0);
}

TEST(OutputBuffer, ClearAfterDrainLeavesOnlyAnEmptyFirstBlock)
{
    BufferContext c;
    std::vector<BYTE> bytes(150000, 1);
    OutputBufferAppend(c.buffer(), bytes.data(), bytes.size());
    tagOUTPUTBLOCK* first = c.buffer()->pFirst;
    c.Drain();

    EXPECT_EQ(BlockCount(c.buffer()), 1u);
    EXPECT_EQ(c.buffer()->pFirst, first);
    EXPECT_EQ(first->dwUsed, 0u);
    EXPECT_EQ(c.buffer()->dwTotal, 0u);

    // The next operation starts with an empty buffer: only its own bytes come out.
    OutputBufferAppendString(c.buffer(), "\033E");
    std::vector<std::string> chunks = c.Drain();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], "\033E");
}

TEST(OutputBuffer, WriterStartEmptiesOrCreatesTheBuffer)
{
    tagRENDERCONTEXT* context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
    tagOUTPUTBUFFER* buffer = RendererStartOutput(context);
    ASSERT_NE(buffer, nullptr);
    OutputBufferAppendString(buffer, "page one");
    EXPECT_EQ(RendererStartOutput(context), buffer);
    DWORD length = 0;
    EXPECT_EQ(RendererTakeOutputChunk(context, &length), nullptr) << "a writer never sees the last one's bytes";
    RendererFree(context);
}

TEST(OutputBuffer, TakeChunkWithoutBufferOrLengthGivesNone)
{
    tagRENDERCONTEXT* context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
    DWORD length = 0;
    EXPECT_EQ(RendererTakeOutputChunk(context, &length), nullptr);
    EXPECT_EQ(RendererTakeOutputChunk(nullptr, &length), nullptr);
    context->pOutput = OutputBufferCreate();
    OutputBufferAppendString(context->pOutput, "abc");
    EXPECT_EQ(RendererTakeOutputChunk(context, nullptr), nullptr);
    RendererClearOutput(context);
    RendererClearOutput(nullptr);
    RendererFree(context);
}

TEST(OutputBufferPrintf, FormatsTextOfEveryLength)
{
    // Around the 256-byte first scratch size and far beyond it.
    for (size_t n : {0u, 1u, 254u, 255u, 256u, 257u, 511u, 70000u}) {
        BufferContext c;
        const std::string arg(n, 'q');
        const int written = OutputBufferPrintf(c.buffer(), "<%s|%d>", arg.c_str(), 42);
        const std::string expected = "<" + arg + "|42>";
        EXPECT_EQ(written, static_cast<int>(expected.size())) << n;
        std::string joined;
        for (const std::string& chunk : c.Drain()) {
            joined += chunk;
        }
        EXPECT_EQ(joined, expected) << n;
    }
}

TEST(OutputBufferPrintf, PrinterCommandsKeepTheirBytes)
{
    BufferContext c;
    EXPECT_EQ(OutputBufferPrintf(c.buffer(), "\033&l%dA", 26), 6);
    EXPECT_EQ(OutputBufferPrintf(c.buffer(), "@PJL SET ECONOMODE=%s\n", "OFF"), 23);
    std::vector<std::string> chunks = c.Drain();
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], "\033&l26A@PJL SET ECONOMODE=OFF\n");
}

TEST(OutputBufferPrintf, FormattingErrorAppendsNothingAndFails)
{
    // A wide character that the C locale cannot convert makes the formatter fail.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_ALL, "C");
    BufferContext c;
    const wchar_t text[] = {static_cast<wchar_t>(0x20AC), 0};
    EXPECT_EQ(OutputBufferPrintf(c.buffer(), "before %ls after", text), -1);
    EXPECT_EQ(c.buffer()->dwTotal, 0u);
    EXPECT_TRUE(c.Drain().empty());
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(OutputBufferPrintf(nullptr, "%d", 1), -1);
}

}  // namespace
