// spc-compile: compiles a readable JSON model description into a model data file ("PCSP").
//
//   spc-compile <model.json> <output file>
#include "SpcFileWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: spc-compile <model.json> <output file>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "spc-compile: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<uint8_t> bytes;
    try {
        json model = json::parse(in);
        bytes = SpcCompileModel(model);
    } catch (const SpcCompileError& e) {
        std::cerr << "spc-compile: " << argv[1] << ": " << e.message << "\n";
        return 1;
    } catch (const json::exception& e) {
        std::cerr << "spc-compile: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "spc-compile: cannot write " << argv[2] << "\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
