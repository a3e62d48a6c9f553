// The symbols the filter program exports for code that looks for them in the running program.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// The defined dynamic symbols of a program, as nm lists them.
std::set<std::string> DynamicSymbols(const std::string& program)
{
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + program + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return names;
    }
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
            text.pop_back();
        }
        const size_t space = text.find_last_of(' ');
        names.insert(space == std::string::npos ? text : text.substr(space + 1));
    }
    pclose(pipe);
    return names;
}

TEST(FilterExports, ProgramExportsItsTablesAndFlags)
{
    const std::set<std::string> names = DynamicSymbols(ORV_GDI_FILTER_PATH);
    ASSERT_FALSE(names.empty()) << "nm listed nothing for " << ORV_GDI_FILTER_PATH;
    for (const char* name : {"ListErrorLevel", "clock_start", "jpegflow", "CUPS_KEYS", "CUPS_KEYS_COUNT"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
}

}  // namespace
