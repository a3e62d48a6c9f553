#include "core/containers/MapWordToOb.h"
#include "core/containers/MapWordToPtr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

// A distinct, recognisable value for every key.
char g_values[0x10000];
void* ValueOf(WORD key)
{
    return &g_values[key];
}

std::vector<WORD> IterationOrder(const CMapWordToPtr& map)
{
    std::vector<WORD> keys;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(value, ValueOf(key)) << "key " << key;
        keys.push_back(key);
    }
    return keys;
}

TEST(MapWordToPtr, IteratesBucketByBucketNewestFirst)
{
    // Bucket = (key >> 4) mod bucket count: the low four bits take no part.
    struct Case {
        const char* what;
        bool initTable;
        DWORD buckets;
        bool allocNow;
        std::vector<WORD> inserted;
        std::vector<WORD> expected;
    };
    const Case cases[] = {
        {"same bucket: later insertion first", false, 0, false, {0x0012, 0x001F}, {0x001F, 0x0012}},
        {"low four bits share bucket 0", false, 0, false, {0x0000, 0x0001, 0x000F}, {0x000F, 0x0001, 0x0000}},
        // 0x0110 -> 17 mod 17 = 0; 0xFFFF -> 4095 mod 17 = 15.
        {"17 buckets by default", false, 0, false,
         {0x0010, 0x0110, 0x0005, 0x0020, 0xFFFF, 0x001F},
         {0x0005, 0x0110, 0x001F, 0x0010, 0x0020, 0xFFFF}},
        {"bucket count 0 means 17", true, 0, true, {0x0000, 0x0110, 0x0100}, {0x0110, 0x0000, 0x0100}},
        // 0x0040 -> 4 mod 4 = 0; 0x0030 -> 3.
        {"4 buckets", true, 4, true, {0x0030, 0x0040, 0x0010, 0x0000}, {0x0000, 0x0040, 0x0010, 0x0030}},
        {"4 buckets allocated at the first insertion", true, 4, false,
         {0x0030, 0x0040, 0x0010, 0x0000}, {0x0000, 0x0040, 0x0010, 0x0030}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMapWordToPtr map;
        if (c.initTable)
            map.InitHashTable(c.buckets, c.allocNow);
        for (WORD key : c.inserted)
            map.SetAt(key, ValueOf(key));
        EXPECT_EQ(map.GetCount(), static_cast<int>(c.inserted.size()));
        EXPECT_EQ(IterationOrder(map), c.expected);
    }
}

TEST(MapWordToPtr, LookupTellsKeysOfOneBucketApart)
{
    CMapWordToPtr map;
    void* value = ValueOf(1);
    EXPECT_EQ(map.Lookup(0x0012, value), 0) << "a map that never had an insertion";
    EXPECT_EQ(value, ValueOf(1));

    map.SetAt(0x0012, ValueOf(0x0012));
    map.SetAt(0x001F, ValueOf(0x001F));
    EXPECT_EQ(map.Lookup(0x0012, value), 0xFFFF);
    EXPECT_EQ(value, ValueOf(0x0012));
    EXPECT_EQ(map.Lookup(0x001F, value), 0xFFFF);
    EXPECT_EQ(value, ValueOf(0x001F));

    value = ValueOf(1);
    EXPECT_EQ(map.Lookup(0x0013, value), 0);
    EXPECT_EQ(value, ValueOf(1)) << "a miss leaves the out value alone";
}

TEST(MapWordToPtr, IndexCreatesAMissingKeyOnce)
{
    CMapWordToPtr map;
    void*& slot = map[0x1234];
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(map.GetCount(), 1);
    slot = ValueOf(0x1234);
    EXPECT_EQ(&map[0x1234], &slot);
    EXPECT_EQ(map.GetCount(), 1);

    map.SetAt(0x1234, ValueOf(7));
    void* value = nullptr;
    EXPECT_EQ(map.Lookup(0x1234, value), 0xFFFF);
    EXPECT_EQ(value, ValueOf(7));
    EXPECT_EQ(map.GetCount(), 1);
}

TEST(MapWordToPtr, RemoveKeyUnlinksOnlyThatKey)
{
    struct Case {
        const char* what;
        WORD removed;
        WORD expectedResult;
        std::vector<WORD> expectedOrder;
    };
    // Keys 0x0011, 0x0012, 0x0013 share bucket 1; 0x0100 is in bucket 16.
    const Case cases[] = {
        {"newest of a chain", 0x0013, 0xFFFF, {0x0012, 0x0011, 0x0100}},
        {"middle of a chain", 0x0012, 0xFFFF, {0x0013, 0x0011, 0x0100}},
        {"oldest of a chain", 0x0011, 0xFFFF, {0x0013, 0x0012, 0x0100}},
        {"alone in its bucket", 0x0100, 0xFFFF, {0x0013, 0x0012, 0x0011}},
        {"absent key of a used bucket", 0x0014, 0, {0x0013, 0x0012, 0x0011, 0x0100}},
        {"absent key of an empty bucket", 0x0200, 0, {0x0013, 0x0012, 0x0011, 0x0100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMapWordToPtr map;
        for (WORD key : {0x0011, 0x0012, 0x0013, 0x0100})
            map.SetAt(key, ValueOf(key));
        EXPECT_EQ(map.RemoveKey(c.removed), c.expectedResult);
        EXPECT_EQ(map.GetCount(), static_cast<int>(c.expectedOrder.size()));
        EXPECT_EQ(IterationOrder(map), c.expectedOrder);
        void* value = nullptr;
        EXPECT_EQ(map.Lookup(c.removed, value), 0);
    }
}

TEST(MapWordToPtr, RemoveKeyOnAFreshMapFindsNothing)
{
    CMapWordToPtr map;
    EXPECT_EQ(map.RemoveKey(0), 0);
    EXPECT_EQ(map.GetCount(), 0);
}

TEST(MapWordToPtr, RemovingTheLastKeyEmptiesTheMapForReuse)
{
    CMapWordToPtr map(2);
    for (WORD key : {0x0001, 0x0002, 0x0003})
        map.SetAt(key, ValueOf(key));
    for (WORD key : {0x0002, 0x0001, 0x0003})
        EXPECT_EQ(map.RemoveKey(key), 0xFFFF);
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_EQ(map.GetStartPosition(), nullptr);

    map.SetAt(0x0044, ValueOf(0x0044));
    EXPECT_EQ(IterationOrder(map), std::vector<WORD>({0x0044}));
    void* value = nullptr;
    EXPECT_EQ(map.Lookup(0x0044, value), 0xFFFF);
    EXPECT_EQ(map.Lookup(0x0003, value), 0);
}

TEST(MapWordToPtr, EmptyMapHasNoPositionAndPositionZeroDoesNothing)
{
    CMapWordToPtr map;
    EXPECT_EQ(map.GetStartPosition(), nullptr);

    map.SetAt(5, ValueOf(5));
    POSITION pos = nullptr;
    WORD key = 77;
    void* value = ValueOf(77);
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(key, 77);
    EXPECT_EQ(value, ValueOf(77));

    map.RemoveAll();
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(MapWordToPtr, IterationOverADroppedBucketTableEndsAtOnce)
{
    // Re-initialising the table drops the chains but not the count; iteration must not
    // walk a table that is not there.
    CMapWordToPtr map;
    map.SetAt(5, ValueOf(5));
    map.InitHashTable(17, false);
    POSITION pos = map.GetStartPosition();
    ASSERT_NE(pos, nullptr);
    WORD key = 77;
    void* value = ValueOf(77);
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(key, 77);
    EXPECT_EQ(value, ValueOf(77));
    EXPECT_EQ(map.Lookup(5, value), 0);
    EXPECT_EQ(map.RemoveKey(5), 0);
}

TEST(MapWordToPtr, AssociationsComeFromBlocksAndReturnToThem)
{
    // Within a block, entries are handed out in address order, one 24-byte association apart;
    // a removed entry is the next one handed out.
    CMapWordToPtr map(4);
    const auto slot = [&](WORD key) { return reinterpret_cast<uintptr_t>(&map[key]); };
    const uintptr_t first = slot(1);
    EXPECT_EQ(slot(2), first + 24);
    EXPECT_EQ(slot(3), first + 48);
    EXPECT_EQ(map.RemoveKey(2), 0xFFFF);
    EXPECT_EQ(slot(9), first + 24);
    EXPECT_EQ(slot(10), first + 72);
    EXPECT_EQ(map.GetCount(), 4);
}

TEST(MapWordToOb, OwnerDeletesValuesThroughTheBase)
{
    static int destroyed = 0;
    struct Counted : CObject {
        ~Counted() override { destroyed++; }
    };
    destroyed = 0;
    CMapWordToOb map;
    for (WORD key : {0x0001, 0x0011, 0x0012})
        map[key] = new Counted;
    EXPECT_EQ(map.GetCount(), 3);

    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        WORD key = 0;
        CObject* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        delete value;
    }
    map.RemoveAll();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(map.GetCount(), 0);
}

TEST(MapWordToOb, LookupAndRemoveWorkOnObjectValues)
{
    CObject first;
    CObject second;
    CMapWordToOb map(0);  // block size 0 falls back to 10
    map.SetAt(0x0100, &first);
    map.SetAt(0x0101, &second);
    CObject* value = nullptr;
    EXPECT_EQ(map.Lookup(0x0101, value), 0xFFFF);
    EXPECT_EQ(value, &second);
    EXPECT_EQ(map.RemoveKey(0x0100), 0xFFFF);
    EXPECT_EQ(map.Lookup(0x0100, value), 0);
    EXPECT_EQ(map.GetCount(), 1);
}

}  // namespace
