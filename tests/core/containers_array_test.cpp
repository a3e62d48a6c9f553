#include "core/containers/DWordArray.h"
#include "core/containers/ObArray.h"
#include "core/containers/WordArray.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

namespace {

// Maps small numbers to elements of each array type; 0 is the zero element.
template <typename A>
struct Elements;

template <>
struct Elements<CWordArray> {
    using Type = WORD;
    // Uses the top bit too, so a sign or width slip shows.
    static WORD Of(int n) { return n == 0 ? 0 : static_cast<WORD>(0x8000 | n); }
};

template <>
struct Elements<CDWordArray> {
    using Type = DWORD;
    // Sets bits above the low 16, so a 16-bit store would show.
    static DWORD Of(int n) { return n == 0 ? 0 : 0x80010000u | static_cast<DWORD>(n); }
};

struct Marker : CObject {};
Marker g_markers[64];

template <>
struct Elements<CObArray> {
    using Type = CObject*;
    static CObject* Of(int n) { return n == 0 ? nullptr : &g_markers[n]; }
};

template <typename A>
std::vector<typename Elements<A>::Type> List(std::initializer_list<int> numbers)
{
    std::vector<typename Elements<A>::Type> out;
    for (int n : numbers)
        out.push_back(Elements<A>::Of(n));
    return out;
}

template <typename A>
std::vector<typename Elements<A>::Type> Contents(const A& a)
{
    std::vector<typename Elements<A>::Type> out;
    for (int i = 0; i < a.GetSize(); i++)
        out.push_back(a.GetAt(i));
    return out;
}

template <typename A>
void Fill(A& a, std::initializer_list<int> numbers)
{
    for (int n : numbers)
        a.Add(Elements<A>::Of(n));
}

// True when f throws the containers' C string; any other exception fails the test.
template <typename F>
bool ThrowsInvalidArg(F&& f)
{
    try {
        f();
    } catch (const char* text) {
        return std::strcmp(text, "Invalid Arg!") == 0;
    }
    return false;
}

template <typename A>
class ArrayTest : public ::testing::Test {};

using AllArrays = ::testing::Types<CObArray, CWordArray, CDWordArray>;
TYPED_TEST_SUITE(ArrayTest, AllArrays);

TYPED_TEST(ArrayTest, BadArgumentsThrowAndChangeNothing)
{
    using A = TypeParam;
    const auto x = Elements<A>::Of(9);
    struct Case {
        const char* what;
        std::function<void(A&)> op;
    };
    const Case cases[] = {
        {"GetAt(-1)", [](A& a) { a.GetAt(-1); }},
        {"GetAt(size)", [](A& a) { a.GetAt(4); }},
        {"SetAt(-1)", [&](A& a) { a.SetAt(-1, x); }},
        {"SetAt(size)", [&](A& a) { a.SetAt(4, x); }},
        {"ElementAt(size)", [](A& a) { a.ElementAt(4); }},
        {"operator[](-1)", [](A& a) { a[-1]; }},
        {"SetSize(-1)", [](A& a) { a.SetSize(-1); }},
        {"SetAtGrow(-1)", [&](A& a) { a.SetAtGrow(-1, x); }},
        {"SetAtGrow past the largest size", [&](A& a) { a.SetAtGrow(INT_MAX, x); }},
        {"InsertAt(-1, e, 1)", [&](A& a) { a.InsertAt(-1, x, 1); }},
        {"InsertAt(0, e, 0)", [&](A& a) { a.InsertAt(0, x, 0); }},
        {"InsertAt(0, e, -1)", [&](A& a) { a.InsertAt(0, x, -1); }},
        {"InsertAt inside, size overflows", [&](A& a) { a.InsertAt(1, x, INT_MAX); }},
        {"InsertAt beyond the end, size overflows", [&](A& a) { a.InsertAt(INT_MAX - 1, x, 2); }},
        {"InsertAt(0, NULL array)", [](A& a) { a.InsertAt(0, static_cast<const A*>(nullptr)); }},
        {"InsertAt(-1, array)", [](A& a) {
             A other;
             Fill(other, {7});
             a.InsertAt(-1, &other);
         }},
        {"RemoveAt(-1, 1)", [](A& a) { a.RemoveAt(-1, 1); }},
        {"RemoveAt(0, -1)", [](A& a) { a.RemoveAt(0, -1); }},
        {"RemoveAt(2, 3) past the end", [](A& a) { a.RemoveAt(2, 3); }},
        {"RemoveAt(5, 0) past the end", [](A& a) { a.RemoveAt(5, 0); }},
        {"RemoveAt(1, INT_MAX) overflowing", [](A& a) { a.RemoveAt(1, INT_MAX); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        A a;
        Fill(a, {1, 2, 3, 4});
        EXPECT_TRUE(ThrowsInvalidArg([&] { c.op(a); }));
        EXPECT_EQ(Contents(a), List<A>({1, 2, 3, 4}));
    }
}

TYPED_TEST(ArrayTest, EditsAtTheEdgesOfTheRange)
{
    using A = TypeParam;
    const auto e5 = Elements<A>::Of(5);
    struct Case {
        const char* what;
        std::function<void(A&)> op;
        std::vector<typename Elements<A>::Type> expected;
    };
    const Case cases[] = {
        {"RemoveAt(size, 0)", [](A& a) { a.RemoveAt(4, 0); }, List<A>({1, 2, 3, 4})},
        {"RemoveAt(0, size)", [](A& a) { a.RemoveAt(0, 4); }, List<A>({})},
        {"RemoveAt(1, 2)", [](A& a) { a.RemoveAt(1, 2); }, List<A>({1, 4})},
        {"RemoveAt(3) of the last", [](A& a) { a.RemoveAt(3); }, List<A>({1, 2, 3})},
        {"InsertAt(0, e, 1)", [&](A& a) { a.InsertAt(0, e5, 1); }, List<A>({5, 1, 2, 3, 4})},
        {"InsertAt(1, e, 2)", [&](A& a) { a.InsertAt(1, e5, 2); }, List<A>({1, 5, 5, 2, 3, 4})},
        {"InsertAt(size, e, 1)", [&](A& a) { a.InsertAt(4, e5, 1); }, List<A>({1, 2, 3, 4, 5})},
        {"InsertAt beyond the end zero-fills the gap", [&](A& a) { a.InsertAt(6, e5, 2); },
         List<A>({1, 2, 3, 4, 0, 0, 5, 5})},
        {"SetAtGrow beyond the end zero-fills the gap", [&](A& a) { a.SetAtGrow(5, e5); },
         List<A>({1, 2, 3, 4, 0, 5})},
        {"SetAtGrow inside", [&](A& a) { a.SetAtGrow(0, e5); }, List<A>({5, 2, 3, 4})},
        {"ElementAt writes through", [&](A& a) { a.ElementAt(2) = e5; }, List<A>({1, 2, 5, 4})},
        {"operator[] writes through", [&](A& a) { a[3] = e5; }, List<A>({1, 2, 3, 5})},
        {"InsertAt(2, array) keeps the array's order", [](A& a) {
             A other;
             Fill(other, {7, 8, 6});
             a.InsertAt(2, &other);
         },
         List<A>({1, 2, 7, 8, 6, 3, 4})},
        {"InsertAt(size + 1, array)", [](A& a) {
             A other;
             Fill(other, {7, 8});
             a.InsertAt(5, &other);
         },
         List<A>({1, 2, 3, 4, 0, 7, 8})},
        {"InsertAt of an empty array", [](A& a) {
             A other;
             a.InsertAt(1, &other);
         },
         List<A>({1, 2, 3, 4})},
        {"InsertAt of the array into itself", [](A& a) { a.InsertAt(1, &a); },
         List<A>({1, 1, 2, 3, 4, 2, 3, 4})},
        {"Copy from another array", [](A& a) {
             A other;
             Fill(other, {7, 8});
             a.Copy(other);
         },
         List<A>({7, 8})},
        {"Copy from an empty array", [](A& a) {
             A other;
             a.Copy(other);
         },
         List<A>({})},
        {"Copy onto itself", [](A& a) { a.Copy(a); }, List<A>({1, 2, 3, 4})},
        {"RemoveAll", [](A& a) { a.RemoveAll(); }, List<A>({})},
        {"RemoveAll then Add", [&](A& a) {
             a.RemoveAll();
             a.Add(e5);
         },
         List<A>({5})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        A a;
        Fill(a, {1, 2, 3, 4});
        c.op(a);
        EXPECT_EQ(Contents(a), c.expected);
    }
}

TYPED_TEST(ArrayTest, AddAndAppendReturnWhereTheNewElementsStart)
{
    using A = TypeParam;
    A a;
    EXPECT_EQ(a.Add(Elements<A>::Of(1)), 0);
    EXPECT_EQ(a.Add(Elements<A>::Of(2)), 1);

    A other;
    Fill(other, {7, 8});
    EXPECT_EQ(a.Append(other), 2);
    A empty;
    EXPECT_EQ(a.Append(empty), 4);
    EXPECT_EQ(Contents(a), List<A>({1, 2, 7, 8}));
    EXPECT_EQ(Contents(other), List<A>({7, 8}));
}

// The capacity shows through the buffer: growing within it keeps the element addresses, growing
// past it moves them (the new buffer is allocated while the old one is still held).
template <typename A>
void ExpectCapacity(A& a, int capacity)
{
    const auto* buffer = &a.ElementAt(0);
    a.SetSize(capacity);
    EXPECT_EQ(&a.ElementAt(0), buffer) << "capacity below " << capacity;
    a.SetSize(capacity + 1);
    EXPECT_NE(&a.ElementAt(0), buffer) << "capacity above " << capacity;
}

TYPED_TEST(ArrayTest, GrowthFollowsTheGrowByOrAnEighthOfTheSize)
{
    using A = TypeParam;
    struct Case {
        const char* what;
        int initialSize;  // the first allocation is exact
        int initialGrowBy;
        int newSize;
        int growBy;
        int expectedCapacity;
    };
    const Case cases[] = {
        {"small array grows by 4", 5, -1, 6, 0, 9},
        {"size 31 still grows by 4", 31, -1, 32, -1, 35},
        {"size 1000 grows by an eighth", 1000, -1, 1001, -1, 1125},
        {"size 4000 grows by an eighth", 4000, -1, 4001, -1, 4500},
        {"size 8199 grows by an eighth", 8199, -1, 8200, -1, 8199 + 1024},
        {"size 9000 grows by at most 1024", 9000, -1, 9001, -1, 10024},
        {"a request past the step is met exactly", 10, -1, 100, -1, 100},
        {"grow-by given on the growing call", 10, -1, 11, 50, 60},
        {"grow-by kept from an earlier call", 10, 3, 11, -1, 13},
        {"grow-by 0 brings back automatic growth", 10, 3, 11, 0, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        A a;
        a.SetSize(c.initialSize, c.initialGrowBy);
        a.SetAt(0, Elements<A>::Of(1));
        const auto* exact = &a.ElementAt(0);
        a.SetSize(c.newSize, c.growBy);
        ASSERT_NE(&a.ElementAt(0), exact) << "growing past the first allocation must reallocate";
        EXPECT_EQ(a.GetSize(), c.newSize);
        ExpectCapacity(a, c.expectedCapacity);
        EXPECT_EQ(a.GetAt(0), Elements<A>::Of(1));
    }
}

TYPED_TEST(ArrayTest, ShrinkingKeepsTheBufferAndRegrowingShowsZeros)
{
    using A = TypeParam;
    A a;
    Fill(a, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    a.SetSize(3);
    EXPECT_EQ(Contents(a), List<A>({1, 2, 3}));
    const auto* buffer = &a.ElementAt(0);
    a.SetSize(10);
    EXPECT_EQ(&a.ElementAt(0), buffer);
    EXPECT_EQ(Contents(a), List<A>({1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));
}

TYPED_TEST(ArrayTest, FreeExtraTrimsTheCapacityToTheSize)
{
    using A = TypeParam;
    A a;
    a.SetSize(10);
    a.SetSize(3);
    a.SetAt(2, Elements<A>::Of(3));
    a.FreeExtra();
    EXPECT_EQ(Contents(a), List<A>({0, 0, 3}));
    ExpectCapacity(a, 3);

    // Emptied by RemoveAt, the buffer goes entirely and the array still works.
    a.RemoveAt(0, a.GetSize());
    a.FreeExtra();
    EXPECT_EQ(a.GetSize(), 0);
    a.Add(Elements<A>::Of(4));
    EXPECT_EQ(Contents(a), List<A>({4}));
}

TEST(ObArray, AppendOntoItselfThrows)
{
    CObArray a;
    Fill(a, {1, 2});
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.Append(a); }));
    EXPECT_EQ(Contents(a), List<CObArray>({1, 2}));
}

template <typename A>
class ValueArrayTest : public ::testing::Test {};

using ValueArrays = ::testing::Types<CWordArray, CDWordArray>;
TYPED_TEST_SUITE(ValueArrayTest, ValueArrays);

TYPED_TEST(ValueArrayTest, AppendOntoItselfDoublesTheArray)
{
    using A = TypeParam;
    struct Case {
        const char* what;
        int spareCapacity;
    };
    // Without spare capacity the append moves the buffer it is copying from.
    const Case cases[] = {{"buffer full", 0}, {"buffer with room", 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        A a;
        a.SetSize(3 + c.spareCapacity);
        a.SetSize(3);
        for (int i = 0; i < 3; i++)
            a.SetAt(i, Elements<A>::Of(i + 1));
        EXPECT_EQ(a.Append(a), 3);
        EXPECT_EQ(Contents(a), List<A>({1, 2, 3, 1, 2, 3}));
    }
}

TEST(ObArray, OwnerDeletesElementsThroughTheBase)
{
    static int destroyed = 0;
    struct Counted : CObject {
        ~Counted() override { destroyed++; }
    };
    destroyed = 0;
    CObArray a;
    a.Add(new Counted);
    a.Add(new Counted);
    for (int i = 0; i < a.GetSize(); i++)
        delete a.GetAt(i);
    a.RemoveAll();
    EXPECT_EQ(destroyed, 2);
}

}  // namespace
