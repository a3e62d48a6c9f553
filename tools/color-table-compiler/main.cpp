// color-table-compiler: computes a model's colour-table file from its readable source.
//
//   color-table-compiler <source.json> <output file>
#include "lib/ColorTableSource.h"
#include "lib/ColorTableWriter.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source.json> <output file>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    std::string error;
    const std::vector<ctc::TableEntry> entries = ctc::CompileColorTableSource(text.str(), &error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = ctc::WriteColorTable(entries, &error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "%s: cannot write\n", temporary.c_str());
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}
