// ModelAnswer: the fetch every program reads the model data through. The answers come from the
// real reader on the sample fixture, or from a scripted query where an answer must be shorter or
// odder than a sound model file gives.
#include "ModelTestSupport.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcListAnswers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

using namespace modeltest;

namespace {

// What the scripted query answers: the result of the size query and of the buffer query, the bytes
// and the count.
struct Script {
    DWORD sizeResult = ERROR_SUCCESS;
    DWORD bufferResult = ERROR_SUCCESS;
    Bytes bytes;
    DWORD count = 1;
};
const Script* g_script = nullptr;

DWORD ScriptedQuery(const tagSPCDATA*, SHORT, SHORT, LONG, void* buffer, DWORD* size, DWORD* count)
{
    if (buffer == nullptr) {
        *size = static_cast<DWORD>(g_script->bytes.size());
        return g_script->sizeResult;
    }
    if (g_script->bufferResult != ERROR_SUCCESS) {
        return g_script->bufferResult;
    }
    if (!g_script->bytes.empty()) {
        std::memcpy(buffer, g_script->bytes.data(), g_script->bytes.size());
    }
    *count = g_script->count;
    return ERROR_SUCCESS;
}

// A model answered by the script for one test: answers asked with query() follow it.
class ScriptedModel {
public:
    explicit ScriptedModel(const Script& script) { g_script = &script; }
    ~ScriptedModel() { g_script = nullptr; }
    ScriptedModel(const ScriptedModel&) = delete;
    ScriptedModel& operator=(const ScriptedModel&) = delete;
    const tagSPCDATA* data() const { return reinterpret_cast<const tagSPCDATA*>(this); }
    static SpcReaderFn query() { return &ScriptedQuery; }
};

}  // namespace

TEST(ModelAnswer, ReadsTypedRecordsOfTheRealReader)
{
    SpcDataPtr data = LoadFixture("sample");
    const ModelAnswer papers(data.get(), SPCID_PAPERSIZE, 0, 3);
    ASSERT_TRUE(papers.Found());
    EXPECT_EQ(papers.Count(), 2u);
    EXPECT_EQ(papers.WholeRecords<tagSPCIDVALUE>(), 2u);
    EXPECT_EQ(papers.Record<tagSPCIDVALUE>(0).sId, 1);
    EXPECT_EQ(papers.Record<tagSPCIDVALUE>(1).sId, 9);
    // A record behind the answer reads as zero and is not held.
    EXPECT_EQ(papers.Record<tagSPCIDVALUE>(2).sId, 0);
    EXPECT_FALSE(papers.Holds(&tagSPCIDVALUE::sId, 2));

    // Not listed, no section, no model: nothing answered.
    EXPECT_FALSE(ModelAnswer(data.get(), SPCID_PAPERSIZE, 77, 3).Answered());
    EXPECT_FALSE(ModelAnswer(data.get(), 5, 0, 1).Answered());
    EXPECT_FALSE(ModelAnswer(nullptr, SPCID_PAPERSIZE, 0, 3).Answered());
}

TEST(ModelAnswer, CapacityBelowTheAnswerIsNotFoundAndTheRestReadsZero)
{
    SpcDataPtr data = LoadFixture("sample");
    // Two 4-byte records do not fit 4 bytes; they fit 16, and the 8 bytes behind them stay zero.
    EXPECT_FALSE(ModelAnswer(data.get(), SPCID_PAPERSIZE, 0, 3, 4).Found());
    const ModelAnswer roomy(data.get(), SPCID_PAPERSIZE, 0, 3, 16);
    ASSERT_TRUE(roomy.Found());
    EXPECT_EQ(roomy.Count(), 2u);
    EXPECT_EQ(roomy.Size(), 16u);
    EXPECT_EQ(roomy.Record<tagSPCIDVALUE>(1).sId, 9);
    EXPECT_EQ(roomy.Record<tagSPCIDVALUE>(2).sId, 0);
    EXPECT_EQ(roomy.Record<tagSPCIDVALUE>(3).sValue, 0);
}

TEST(ModelAnswer, AFieldPastAShortAnswerIsNeitherHeldNorRead)
{
    // The band record cut after its band height: the band width multiple is not there.
    Script script;
    script.bytes = {0x10, 0, 0, 0, 0x40, 0x01};
    ScriptedModel model(script);
    const ModelAnswer answer(model.data(), SPCID_RENDERPARAMS, 0, 3, model.query());
    ASSERT_TRUE(answer.Found());
    SHORT height = 0;
    EXPECT_TRUE(answer.ReadField(&tagRENDERBANDS::sBandHeight, &height));
    EXPECT_EQ(height, 0x140);
    SHORT multiple = 7;
    EXPECT_FALSE(answer.ReadField(&tagRENDERBANDS::sBandWidthMultiple, &multiple));
    EXPECT_EQ(multiple, 7);
    EXPECT_EQ(answer.Record<tagRENDERBANDS>().sBandWidthMultiple, 0);
}

TEST(ModelAnswer, WholeRecordsNeverExceedTheBytesOrTheCount)
{
    struct Case {
        size_t bytes;
        DWORD count;
        DWORD expected;
    };
    const Case cases[] = {
        {12, 3, 3},  // as a sound reader answers
        {11, 3, 2},  // the last record cut short
        {12, 5, 3},  // a count beyond the bytes
        {12, 1, 1},  // fewer records counted than bytes
        {3, 1, 0},
    };
    for (const Case& c : cases) {
        Script script;
        script.bytes.assign(c.bytes, 0x11);
        script.count = c.count;
        ScriptedModel model(script);
        const ModelAnswer answer(model.data(), SPCID_DEPENDPAIRS, 0, 1, model.query());
        EXPECT_EQ(answer.WholeRecords<tagSPCDEPENDPAIR>(), c.expected) << c.bytes << " " << c.count;
        EXPECT_EQ(answer.Records<tagSPCDEPENDPAIR>().size(), c.expected) << c.bytes << " " << c.count;
    }
}

TEST(ModelAnswer, AnEmptyAnswerIsAnsweredButNotFound)
{
    Script script;
    script.count = 0;
    ScriptedModel model(script);
    const ModelAnswer answer(model.data(), SPCID_PJLITEMS, 0, 4, model.query());
    EXPECT_TRUE(answer.Answered());
    EXPECT_FALSE(answer.Found());
    EXPECT_EQ(answer.Size(), 0u);
    EXPECT_TRUE(answer.Records<tagPJLFORMAT>().empty());
}

TEST(ModelAnswer, EitherQueryFailingAnswersNothing)
{
    for (bool sizeFails : {true, false}) {
        Script script;
        script.bytes = {1, 2, 3, 4};
        (sizeFails ? script.sizeResult : script.bufferResult) = ERROR_NOT_FOUND;
        ScriptedModel model(script);
        const ModelAnswer answer(model.data(), SPCID_COLOR, 0, 1, model.query());
        EXPECT_FALSE(answer.Answered()) << sizeFails;
        EXPECT_EQ(answer.Result(), ERROR_NOT_FOUND) << sizeFails;
        EXPECT_EQ(answer.Count(), 0u) << sizeFails;
        EXPECT_EQ(answer.Size(), 0u) << sizeFails;
        EXPECT_EQ(answer.Record<DWORD>(), 0u) << sizeFails;
    }
}

TEST(ModelAnswer, TextEndsAtItsTerminatorItsFieldTheAnswerOrTheOutput)
{
    struct Case {
        const char* bytes;
        size_t offset;
        size_t field;
        size_t out;
        const char* expected;
    };
    const Case cases[] = {
        {"xxABC\0DE", 2, 32, 16, "ABC"},    // the terminator
        {"xxABCDEFG", 2, 3, 16, "ABC"},     // the field's end
        {"xxABCDEFG", 2, 32, 16, "ABCDEFG"},  // the answer's end, no terminator in it
        {"xxABCDEFG", 2, 32, 4, "ABC"},     // the output's size
        {"xxABCDEFG", 9, 32, 16, ""},       // behind the answer
    };
    for (const Case& c : cases) {
        Script script;
        script.bytes.assign(c.bytes, c.bytes + 9);
        ScriptedModel model(script);
        const ModelAnswer answer(model.data(), SPCID_PJLNAME, 0, 1, model.query());
        char out[16];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(answer.Text(c.offset, c.field, out, c.out), std::strlen(c.expected)) << c.expected;
        EXPECT_STREQ(out, c.expected);
    }
}

TEST(ModelAnswer, ResultIsTheFailingQuerysCode)
{
    SpcDataPtr data = LoadFixture("sample");
    EXPECT_EQ(ModelAnswer(data.get(), SPCID_PAPERSIZE, 0, 3).Result(), 0u);
    EXPECT_EQ(ModelAnswer(data.get(), 5, 0, 1).Result(), ERROR_NOT_SUPPORTED);
    // Two 4-byte records do not fit 4 bytes.
    EXPECT_EQ(ModelAnswer(data.get(), SPCID_PAPERSIZE, 0, 3, 4).Result(), ERROR_INSUFFICIENT_BUFFER);
    // Without model data both forms answer as the reader does for a missing image.
    EXPECT_EQ(ModelAnswer(nullptr, SPCID_PAPERSIZE, 0, 3).Result(), ERROR_INVALID_DATA);
    EXPECT_EQ(ModelAnswer(nullptr, SPCID_PAPERSIZE, 0, 3, 4).Result(), ERROR_INVALID_DATA);
}

// The typed records the settings and the rules read, against the reader on sections written by
// hand: word k of every section holds 0x10000 * (k + 1) + k, so each field shows which file word
// it came from. The expected words are those the fixed-record table names for each answer offset.
TEST(ModelAnswer, TypedFixedRecordsHoldTheFileWordsOfTheirTable)
{
    Bytes words;
    for (uint32_t k = 0; k < 23; ++k) {
        Put32(words, 0x10000 * (k + 1) + k);  // w0..w88
    }
    auto w = [](uint32_t off) -> int64_t { return 0x10000u * (off / 4 + 1) + off / 4; };
    auto lo = [&w](uint32_t off) -> int64_t { return static_cast<int16_t>(w(off) & 0xFFFF); };
    HandModel model;
    for (int id : {28, 29, 31, 38, 48, 49, 50, 52, 56, 57, 60, 63, 64, 67, 68, 77, 78, 79}) {
        model.Section(id, words);
    }
    SpcDataPtr data = Load(model.Build());

    using Fields = std::vector<int64_t>;
    struct Case {
        SHORT cap;
        LONG view;
        size_t recordSize;
        std::function<Fields(const ModelAnswer&)> read;
        Fields expected;
    };
    const Case cases[] = {
        {SPCID_NUP, 2, sizeof(tagNUPBORDER),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagNUPBORDER>();
             return Fields{r.dwFlags, r.sBorder, r.sBorderWidth};
         },
         {w(0), lo(4), lo(8)}},
        {SPCID_NUP, 3, sizeof(tagNUPUNIT),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagNUPUNIT>();
             return Fields{r.sBorder, r.sBorderWidth, r.dwWords[0], r.dwWords[4], r.dwUnitKind};
         },
         {lo(4), lo(8), w(12), w(28), w(32)}},
        {SPCID_BOOKLET, 1, sizeof(tagBOOKLETINFO),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagBOOKLETINFO>();
             return Fields{r.dwFlags, r.dwSortBits, r.dwConditions, r.dwRequirements};
         },
         {w(0), w(4), w(20), w(24)}},
        {SPCID_BOOKLET, 2, sizeof(tagLAYOUTLENGTH),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagLAYOUTLENGTH>();
             return Fields{r.dwFlags, r.sHundredths};
         },
         {w(0), lo(28)}},
        {SPCID_BOOKLET, 3, sizeof(tagBOOKLETUNIT),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagBOOKLETUNIT>();
             return Fields{r.dwFlags,      r.sHundredths, r.sMaxHundredths, r.sTenthsMm,
                           r.sMaxTenthsMm, r.dwWords[0],  r.dwUnitKind};
         },
         {w(0), lo(28), 28 / 4 + 1, lo(32), 32 / 4 + 1, w(44), w(56)}},
        {SPCID_ZOOM, 2, sizeof(tagZOOMALIGN),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagZOOMALIGN>();
             return Fields{r.dwFlags, r.sAlign};
         },
         {w(0), lo(12)}},
        {SPCID_PRINTFEATURES, 1, sizeof(tagFEATURERECORD),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagFEATURERECORD>();
             return Fields{r.dwFlags, r.dwRequirements};
         },
         {w(0), w(4)}},
        {SPCID_JOBSPOOL1, 1, sizeof(tagFEATURERECORD),
         [](const ModelAnswer& a) { return Fields{a.Record<tagFEATURERECORD>().dwRequirements}; },
         {w(4)}},
        {SPCID_OPTION340, 1, sizeof(tagFLAGVALUE),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagFLAGVALUE>();
             return Fields{r.dwFlags, r.sValue, r.sReserved};
         },
         {w(0), lo(4), 0}},
        {SPCID_BLANKPAGES, 1, sizeof(tagFLAGVALUE),
         [](const ModelAnswer& a) { return Fields{a.Record<tagFLAGVALUE>().sValue}; }, {lo(4)}},
        {SPCID_MIRROR, 1, sizeof(tagFLAGPAIR),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagFLAGPAIR>();
             return Fields{r.dwFlags, r.dwWord4};
         },
         {w(0), w(4)}},
        {SPCID_DEPTCODE, 1, sizeof(tagFLAGPAIR),
         [](const ModelAnswer& a) { return Fields{a.Record<tagFLAGPAIR>().dwFlags}; }, {w(0)}},
        {SPCID_REVERSEORDER, 2, sizeof(tagREVERSEORDERINFO),
         [](const ModelAnswer& a) { return Fields{a.Record<tagREVERSEORDERINFO>().dwDefault}; }, {w(4)}},
        {SPCID_OPTION338, 1, sizeof(tagOPTIONFLAGS),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagOPTIONFLAGS>();
             return Fields{r.dwFlags, r.dwWords[2]};
         },
         {w(0), w(12)}},
        {SPCID_OPTIONFLAGS, 1, sizeof(tagOPTIONFLAGS),
         [](const ModelAnswer& a) { return Fields{a.Record<tagOPTIONFLAGS>().dwFlags}; }, {w(0)}},
        {SPCID_JOBOPTIONS, 2, sizeof(tagCOVERINFO),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagCOVERINFO>();
             return Fields{r.dwFlags, r.dwFrontFlags, r.dwBackFlags};
         },
         {w(0), w(8), w(16)}},
        {SPCID_SORT, 2, sizeof(tagSORTINFO),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagSORTINFO>();
             return Fields{r.dwSortBits, r.dwDefault};
         },
         {w(0), w(4)}},
        {SPCID_POSTER, 2, sizeof(tagLAYOUTLENGTH),
         [](const ModelAnswer& a) { return Fields{a.Record<tagLAYOUTLENGTH>().sHundredths}; }, {lo(4)}},
        {SPCID_POSTER, 3, sizeof(tagPOSTERUNIT),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagPOSTERUNIT>();
             return Fields{r.dwFlags, r.sHundredths, r.sMaxHundredths, r.sTenthsMm, r.sMaxTenthsMm};
         },
         {w(0), lo(4), lo(8), lo(12), lo(16)}},
        {SPCID_FIRSTPAGE, 1, sizeof(tagFLAGWORD),
         [](const ModelAnswer& a) { return Fields{a.Record<tagFLAGWORD>().dwFlags}; }, {w(0)}},
        {SPCID_RENDERPARAMS, 1, sizeof(tagPRINTMODEINFO),
         [](const ModelAnswer& a) {
             const auto r = a.Record<tagPRINTMODEINFO>();
             return Fields{r.dwFlags, r.dwMaskMode0, r.dwMaskMode1};
         },
         {w(0), w(4), w(8)}},
        {SPCID_CONTRAST, 1, sizeof(tagCONTRASTRANGE),
         [](const ModelAnswer& a) { return Fields{a.Record<tagCONTRASTRANGE>().sDefault}; }, {lo(20)}},
    };
    for (const Case& c : cases) {
        // Asked as the programs ask them: into a buffer of exactly the record's size.
        const ModelAnswer answer(data.get(), c.cap, 0, c.view, static_cast<DWORD>(c.recordSize));
        ASSERT_TRUE(answer.Found()) << c.cap << "/" << c.view;
        EXPECT_EQ(ModelAnswer(data.get(), c.cap, 0, c.view).Size(), c.recordSize) << c.cap << "/" << c.view;
        EXPECT_EQ(c.read(answer), c.expected) << c.cap << "/" << c.view;
    }
}
