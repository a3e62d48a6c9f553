#include "core/binding/CupsFallbacks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ArrayDeleter {
    void operator()(cups_array_t* a) const { FreeFallbackArray(a); }
};
using ArrayPtr = std::unique_ptr<cups_array_t, ArrayDeleter>;

std::vector<std::string> Contents(cups_array_t* a)
{
    std::vector<std::string> out;
    for (int i = 0; i < my_cupsArrayCount(a); ++i) {
        out.emplace_back(static_cast<const char*>(my_cupsArrayIndex(a, i)));
    }
    return out;
}

int CompareStrings(void* first, void* second, void* data)
{
    ++*static_cast<int*>(data);  // proves the caller's data reaches every comparison
    return std::strcmp(static_cast<const char*>(first), static_cast<const char*>(second));
}

TEST(CupsArrayFallback, UnsortedArrayKeepsTheOrderOfAdding)
{
    ArrayPtr a(my_cupsArrayNew(nullptr, nullptr));
    ASSERT_NE(a, nullptr);
    char m[] = "m", c[] = "c", x[] = "x";
    for (char* e : {m, c, x, c}) {
        EXPECT_EQ(my_cupsArrayAdd(a.get(), e), 1);
    }
    EXPECT_EQ(Contents(a.get()), (std::vector<std::string>{"m", "c", "x", "c"}));
    EXPECT_EQ(my_cupsArrayFirst(a.get()), m);
    EXPECT_EQ(my_cupsArrayLast(a.get()), c);
}

TEST(CupsArrayFallback, SortedArrayOrdersByTheCompareFunctionAndKeepsEqualsInAddingOrder)
{
    int comparisons = 0;
    ArrayPtr a(my_cupsArrayNew(CompareStrings, &comparisons));
    ASSERT_NE(a, nullptr);
    char m[] = "m", c1[] = "c", x[] = "x", c2[] = "c", a1[] = "a", c3[] = "c";
    for (char* e : {m, c1, x, c2, a1, c3}) {
        EXPECT_EQ(my_cupsArrayAdd(a.get(), e), 1);
    }
    EXPECT_EQ(Contents(a.get()), (std::vector<std::string>{"a", "c", "c", "c", "m", "x"}));
    EXPECT_EQ(my_cupsArrayIndex(a.get(), 1), c1);
    EXPECT_EQ(my_cupsArrayIndex(a.get(), 2), c2);
    EXPECT_EQ(my_cupsArrayIndex(a.get(), 3), c3);
    EXPECT_GT(comparisons, 0);
}

TEST(CupsArrayFallback, GrowsPastManyElements)
{
    ArrayPtr a(my_cupsArrayNew(nullptr, nullptr));
    std::vector<int> values(1000);
    for (int& v : values) {
        ASSERT_EQ(my_cupsArrayAdd(a.get(), &v), 1);
    }
    EXPECT_EQ(my_cupsArrayCount(a.get()), 1000);
    EXPECT_EQ(my_cupsArrayIndex(a.get(), 999), &values[999]);
}

TEST(CupsArrayFallback, OutOfRangeAndMissingArgumentsAnswerNothing)
{
    ArrayPtr empty(my_cupsArrayNew(nullptr, nullptr));
    EXPECT_EQ(my_cupsArrayCount(empty.get()), 0);
    EXPECT_EQ(my_cupsArrayFirst(empty.get()), nullptr);
    EXPECT_EQ(my_cupsArrayLast(empty.get()), nullptr);
    EXPECT_EQ(my_cupsArrayAdd(empty.get(), nullptr), 0);
    EXPECT_EQ(my_cupsArrayCount(empty.get()), 0);

    char e[] = "e";
    ASSERT_EQ(my_cupsArrayAdd(empty.get(), e), 1);
    for (int n : {-1, 1, 1 << 30}) {
        EXPECT_EQ(my_cupsArrayIndex(empty.get(), n), nullptr) << n;
    }
    EXPECT_EQ(my_cupsArrayIndex(empty.get(), 0), e);

    EXPECT_EQ(my_cupsArrayCount(nullptr), 0);
    EXPECT_EQ(my_cupsArrayFirst(nullptr), nullptr);
    EXPECT_EQ(my_cupsArrayLast(nullptr), nullptr);
    EXPECT_EQ(my_cupsArrayIndex(nullptr, 0), nullptr);
    EXPECT_EQ(my_cupsArrayAdd(nullptr, e), 0);
    FreeFallbackArray(nullptr);
}

TEST(CupsLocaleFallback, LocalizeDoesNothingAndThereIsNoDefaultLanguage)
{
    EXPECT_EQ(my_ppdLocalize(nullptr), 0);
    EXPECT_EQ(my_cupsLangDefault(), nullptr);
}

}  // namespace
