// The end-to-end program's main: like GoogleTest's, except that a run in which every selected
// test was skipped (gdi-filter not printing yet) exits 77, which CTest reports as skipped.
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    const ::testing::UnitTest& tests = *::testing::UnitTest::GetInstance();
    if (result == 0 && tests.test_to_run_count() > 0 && tests.skipped_test_count() == tests.test_to_run_count()) {
        return 77;
    }
    return result;
}
