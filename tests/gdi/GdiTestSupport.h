// Helpers of the job and page command tests: model answers built byte by byte at the offsets of
// the model data's record layouts (not through the reader's own structs), settings records, a
// renderer context as creation leaves it, and the renderer's output drained into a string.
#pragma once

#include "core/settings/DevMode.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"
#include "render/FakeModelData.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace gditest {

// A little-endian record of `size` zero bytes, set field by field.
class Record {
public:
    explicit Record(size_t size) : m_bytes(size, 0) {}
    Record& I16(size_t offset, int value)
    {
        m_bytes.at(offset) = static_cast<uint8_t>(value);
        m_bytes.at(offset + 1) = static_cast<uint8_t>(value >> 8);
        return *this;
    }
    Record& I32(size_t offset, int64_t value)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
        }
        return *this;
    }
    // Copies the text's bytes only; a text as long as its field has no terminator.
    Record& Text(size_t offset, const std::string& text)
    {
        std::memcpy(&m_bytes.at(offset), text.data(), text.size());
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    operator std::vector<uint8_t>() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// Paper record (capability 20 view 4): portrait block at +12, landscape block at +36; each with
// width +0, length +2, margin x +12, margin y +14, second margins +16 and +18 (dots).
struct PaperDots {
    int width, length, marginX, marginY, secondX, secondY;
};
inline Record PaperInfo(int id, const PaperDots& portrait)
{
    Record r(192);
    r.I16(0, id);
    r.I16(12, portrait.width).I16(14, portrait.length);
    r.I16(24, portrait.marginX).I16(26, portrait.marginY).I16(28, portrait.secondX).I16(30, portrait.secondY);
    r.I16(36, portrait.length).I16(38, portrait.width);
    r.I16(48, portrait.marginY).I16(50, portrait.marginX).I16(52, portrait.secondY).I16(54, portrait.secondX);
    return r;
}
// Printer paper record (view 11): id +0, +68 (1), printer paper code +70.
inline Record PrinterPaper(int id, int code)
{
    return Record(136).I16(0, id).I16(68, 1).I16(70, code);
}
// Media record (capability 22 view 8): +4, +72, printer media code +74, names at +40 and +108.
inline Record PrinterMedia(int code, const std::string& name)
{
    return Record(140).I16(4, 2).I16(72, 2).I16(74, code).Text(40, name).Text(108, name);
}
// Source record (capability 24 view 8): id +0, printer source code +38.
inline Record PrinterSource(int id, int code)
{
    return Record(72).I16(0, id).I16(36, code).I16(38, code);
}
// Duplex record (capability 25 view 5): printer duplex code +78.
inline Record PrinterDuplex(int mode, int code)
{
    return Record(144).I16(0, mode).I16(76, 1).I16(78, code);
}
// PJL text record (capability 65 view 4): key +4, text from +8 (56 bytes).
inline Record PjlText(int item, int key, const std::string& text)
{
    return Record(64).I32(0, item).I32(4, key).Text(8, text);
}
inline std::vector<uint8_t> Join(std::initializer_list<Record> records)
{
    size_t size = 0;
    for (const Record& r : records) {
        size += r.bytes().size();
    }
    // Sized once and copied into: growing by insert() draws a false overflow warning from GCC's
    // optimiser.
    std::vector<uint8_t> all(size);
    size_t at = 0;
    for (const Record& r : records) {
        std::copy(r.bytes().begin(), r.bytes().end(), all.begin() + static_cast<std::ptrdiff_t>(at));
        at += r.bytes().size();
    }
    return all;
}

// Codes of the test model: A4 (id 9) and Letter (id 1) with their printer paper codes, plain media
// (id 1) and tray 1 (id 7).
inline constexpr int kA4 = 9;
inline constexpr int kA4Code = 26;
inline constexpr int kLetter = 1;
inline constexpr int kLetterCode = 2;
inline constexpr PaperDots kA4Dots = {4960, 7014, 100, 100, 80, 60};
inline constexpr PaperDots kLetterDots = {5100, 6600, 120, 90, 0, 0};
inline constexpr int kPlain = 1;
inline constexpr int kPlainCode = 0;
inline constexpr int kThick = 3;
inline constexpr int kThickCode = 4;
inline constexpr int kTray1 = 7;
inline constexpr int kTray1Code = 1;
inline constexpr int kManual = 4;
inline constexpr int kManualCode = 2;

// A model at 600 dpi with A4, Letter, two media and two sources.
inline void AnswerTestModel(rendertest::FakeModelData& model)
{
    model.Answer(20, 0, 1, Record(4).I16(0, kLetter).I16(2, kA4));
    model.Answer(20, 0, 2, Record(2).I16(0, 600));
    model.Answer(20, kA4, 4, PaperInfo(kA4, kA4Dots));
    model.Answer(20, kA4, 11, PrinterPaper(kA4, kA4Code));
    model.Answer(20, kLetter, 4, PaperInfo(kLetter, kLetterDots));
    model.Answer(20, kLetter, 11, PrinterPaper(kLetter, kLetterCode));
    model.Answer(22, kPlain, 8, PrinterMedia(kPlainCode, "Plain"));
    model.Answer(22, kThick, 8, PrinterMedia(kThickCode, "Thick"));
    model.Answer(24, kTray1, 8, PrinterSource(kTray1, kTray1Code));
    model.Answer(24, kManual, 8, PrinterSource(kManual, kManualCode));
}

// A settings record as the tests need it.
struct JobFields {
    SHORT copies = 1;
    SHORT duplex = 1;
    SHORT orientation = 1;
    SHORT printQuality = 600;
    SHORT quality = 2;
    SHORT color = 1;
    SHORT paperWidth = 0;
    SHORT paperLength = 0;
};
inline DRVDEVMODE MakeJobSettings(const JobFields& f)
{
    DRVDEVMODE dm{};
    dm.dm.dmSize = kDevmodePublicSize;
    dm.dm.dmDriverExtra = kDevmodePrivateSize;
    dm.dm.dmCopies = f.copies;
    dm.dm.dmDuplex = f.duplex;
    dm.dm.dmOrientation = f.orientation;
    dm.dm.dmPrintQuality = f.printQuality;
    dm.dm.dmPaperWidth = f.paperWidth;
    dm.dm.dmPaperLength = f.paperLength;
    dm.priv.dmQuality = f.quality;
    dm.priv.dmColor = f.color;
    return dm;
}

// The option block of one page as the front end fills it.
inline tagRENDEROPTIONS MakeOptions(rendertest::FakeModelData& model, DWORD langType, const DRVDEVMODE& settings)
{
    tagRENDEROPTIONS options{};
    model.Attach(&options);
    options.dwLangType = langType;
    options.sPaperSize = kA4;
    options.wPaperWidth = static_cast<WORD>(settings.dm.dmPaperWidth);
    options.wPaperLength = static_cast<WORD>(settings.dm.dmPaperLength);
    options.sMediaType = kPlain;
    options.sPaperSource = kTray1;
    options.wDuplex = static_cast<WORD>(settings.dm.dmDuplex);
    options.sOrientation = settings.dm.dmOrientation;
    options.dwPagesPerSet = 1;
    options.dwPageInSet = 1;
    options.dwPageWidth = 4760;
    options.dwPageHeight = 6800;
    return options;
}

// A context as creation leaves it for a model of either language (multipliers 1 and 1 unless
// the test sets them), without colour tables: the job and page writers need none.
class Context {
public:
    Context() : m_context(static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT))))
    {
        m_context->lResMultiplierX = 1;
        m_context->lResMultiplierY = 1;
    }
    ~Context() { RendererFree(m_context); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    tagRENDERCONTEXT* get() { return m_context; }
    tagRENDERCONTEXT* operator->() { return m_context; }

private:
    tagRENDERCONTEXT* m_context;
};

// Everything the last renderer operation left in the output buffer; the buffer is cleared.
inline std::string Drain(tagRENDERCONTEXT* context)
{
    std::string bytes;
    DWORD length = 0;
    while (const BYTE* chunk = RendererTakeOutputChunk(context, &length)) {
        bytes.append(reinterpret_cast<const char*>(chunk), length);
    }
    RendererClearOutput(context);
    return bytes;
}

}  // namespace gditest
