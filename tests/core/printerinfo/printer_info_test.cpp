// The query object: the size-first fetch, its codes, and records never read past the answer.
#include "core/printerinfo/PrinterInfo.h"

#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pitest::HandleOf;

TEST(PrinterInfo, WithoutModelDataReportsInvalidParameter)
{
    CPrinterInfo noHandle(nullptr, SPCID_PAPERSIZE, 0, 4);
    EXPECT_EQ(noHandle.Fetch(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(noHandle.GetData(), nullptr);
    EXPECT_EQ(noHandle.GetCount(), 0u);

    tagMODELHANDLE empty = HandleOf(nullptr);
    CPrinterInfo noData(&empty, SPCID_PAPERSIZE, 0, 4);
    void* pv = reinterpret_cast<void*>(1);
    DWORD count = 7;
    EXPECT_EQ(noData.Get(&pv, &count), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(count, 0u);
}

TEST(PrinterInfo, GetRejectsMissingOutputs)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_PAPERSIZE, 0, 4);
    void* pv = nullptr;
    DWORD count = 0;
    EXPECT_EQ(info.Get(nullptr, &count), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(info.Get(&pv, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(PrinterInfo, FetchesEveryPaperRecordOfTheColourModel)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_PAPERSIZE, 0, 4);
    void* pv = nullptr;
    DWORD count = 0;
    ASSERT_EQ(info.Get(&pv, &count), ERROR_SUCCESS);
    // The colour model lists ten papers; the first is Letter (215.9 x 279.4 mm).
    ASSERT_EQ(count, 10u);
    const auto* papers = static_cast<const tagPAPERINFO*>(pv);
    EXPECT_EQ(papers[0].sId, 1);
    EXPECT_EQ(papers[0].sWidthMm, 2159);
    EXPECT_EQ(papers[0].sLengthMm, 2794);
    EXPECT_EQ(info.GetData(), pv);
    EXPECT_EQ(info.GetCount(), 10u);
}

TEST(PrinterInfo, OneItemIsOneRecord)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_PAPERSIZE, 9, 4);
    const tagPAPERINFO* a4 = info.First<tagPAPERINFO>();
    ASSERT_NE(a4, nullptr);
    EXPECT_EQ(a4->sId, 9);
    EXPECT_EQ(a4->sLengthMm, 2970);
    EXPECT_EQ(a4->sTurnedWidthMm, 2970);
}

TEST(PrinterInfo, MissingCapabilityIsAFailedFetchThatStays)
{
    // The minimal model has papers and sources only.
    auto model = pitest::LoadSampleModel("GM1000");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_ZOOM, 0, 1);
    EXPECT_EQ(info.Fetch(), ERROR_NOT_SUPPORTED);
    void* pv = reinterpret_cast<void*>(1);
    DWORD count = 3;
    EXPECT_EQ(info.Get(&pv, &count), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(info.First<tagPAPERDEFAULTS>(), nullptr);
}

TEST(PrinterInfo, UnlistedItemReportsNotFound)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_PAPERSIZE, 4, 4);
    EXPECT_EQ(info.Fetch(), ERROR_NOT_FOUND);
    EXPECT_EQ(info.GetData(), nullptr);
}

TEST(PrinterInfo, EmptyAnswerSucceedsWithNoRecords)
{
    // A duplex section without modes answers 0 bytes: that is no records, not a failure.
    auto model = pitest::LoadFixtureModel("empty-lists");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo info(&handle, SPCID_DUPLEX, 0, 2);
    void* pv = reinterpret_cast<void*>(1);
    DWORD count = 3;
    EXPECT_EQ(info.Get(&pv, &count), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(info.First<tagDUPLEXMODE>(), nullptr);
    EXPECT_EQ(info.Fetch(), ERROR_SUCCESS);
}

TEST(PrinterInfo, RecordsNeverReachPastTheAnswer)
{
    // Asking for a wider record than the answer holds gives no record rather than a read past it.
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CPrinterInfo defaults(&handle, SPCID_PAPERSIZE, 0, 1);
    DWORD count = 9;
    EXPECT_EQ(defaults.Records<tagPAPERINFO>(&count), nullptr);
    EXPECT_EQ(count, 0u);
    EXPECT_NE(defaults.First<tagPAPERDEFAULTS>(), nullptr);
}

}  // namespace
