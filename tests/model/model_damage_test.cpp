// Damaged model files: every prefix of a compiled model, and every word of it overwritten with
// hostile counts, must be answered with a result code, never with a read outside the image
// (which the sanitizer build would report).
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace modeltest;

namespace {

struct Question {
    SHORT cap;
    LONG lastView;
};

// Every capability of the sample model with the views its reader knows (and one more).
const Question kQuestions[] = {
    {1, 1}, {4, 1}, {7, 2}, {11, 1}, {12, 2}, {14, 3}, {18, 2}, {19, 5}, {20, 12}, {21, 8}, {22, 10},
    {23, 3}, {24, 9}, {25, 7}, {26, 11}, {28, 5}, {29, 6}, {60, 4}, {99, 1}, {100, 3},
};
const SHORT kItems[] = {0, 3, 9};

bool IsResultCode(DWORD dw)
{
    return dw == ERROR_SUCCESS || dw == ERROR_INVALID_DATA || dw == ERROR_NOT_SUPPORTED || dw == ERROR_NOT_FOUND;
}

// Asks every question, size first and then with a buffer of that size; answers how many failed
// to come back with a result code.
int AskEverything(const tagSPCDATA* pData)
{
    int bad = 0;
    std::vector<uint8_t> buffer;
    for (const Question& q : kQuestions) {
        for (LONG view = 0; view <= q.lastView; ++view) {
            for (SHORT item : kItems) {
                DWORD cb = 0;
                DWORD dwCount = 0;
                DWORD dw = SpcQuery(pData, q.cap, item, view, nullptr, &cb, &dwCount);
                if (!IsResultCode(dw)) {
                    ++bad;
                }
                if (dw != ERROR_SUCCESS || cb > (1u << 20)) {
                    continue;
                }
                buffer.assign(cb + 1, 0);
                dw = SpcQuery(pData, q.cap, item, view, buffer.data(), &cb, &dwCount);
                if (!IsResultCode(dw)) {
                    ++bad;
                }
            }
        }
    }
    return bad;
}

void SetWord(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

TEST(SpcDamage, EveryPrefixOfTheSampleIsAnsweredSafely)
{
    Bytes whole = ReadFixture("sample");
    ASSERT_GT(whole.size(), 1000u);
    ASSERT_EQ(AskEverything(LoadFixture("sample").get()), 0);
    for (size_t length = 1; length < whole.size(); ++length) {
        Bytes cut(whole.begin(), whole.begin() + length);
        // As cut: the header claims more than the file holds.
        SpcDataPtr data = Load(cut);
        DWORD cb = 0;
        ASSERT_EQ(SpcQuery(data.get(), SPCID_PAPERSIZE, 0, 4, nullptr, &cb, nullptr), ERROR_INVALID_DATA) << length;
        // With the header's size word made to agree: sections are cut short inside the image.
        if (length >= 8) {
            SetWord(cut, 4, static_cast<uint32_t>(length));
            SpcDataPtr agreed = Load(cut);
            ASSERT_EQ(AskEverything(agreed.get()), 0) << length;
        }
    }
}

TEST(SpcDamage, EveryWordOverwrittenWithHostileCountsIsAnsweredSafely)
{
    Bytes whole = ReadFixture("sample");
    const uint32_t hostile[] = {0xFFFFFFFF, 0x80000000, 0x00010001, 0x7FFF};
    for (size_t at = 0; at + 4 <= whole.size(); at += 4) {
        for (uint32_t value : hostile) {
            Bytes damaged = whole;
            SetWord(damaged, at, value);
            SpcDataPtr data = Load(damaged);
            ASSERT_EQ(AskEverything(data.get()), 0) << "word at " << at << " = " << value;
        }
    }
}

}  // namespace
