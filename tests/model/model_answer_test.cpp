// ModelAnswer: the fetch every program reads the model data through. The answers come from the
// real reader on the sample fixture, or from a scripted query where an answer must be shorter or
// odder than a sound model file gives.
#include "ModelTestSupport.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcListAnswers.h"

#include <gtest/gtest.h>

#include <cstring>

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
