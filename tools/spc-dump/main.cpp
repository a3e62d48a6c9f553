// spc-dump: asks a model data file one question and shows the answer bytes.
//
//   spc-dump <model file> <capability> <item> <view> [<buffer size>]
//
// Without a buffer size it asks for the size first and then for the answer, as the programs do;
// with one it asks once with a buffer of that size. Prints the result code, the size and the
// count, then the answer in hex, 16 bytes a line.
#include "core/model/SpcQuery.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

bool ParseNumber(const char* psz, long* pl)
{
    char* pszEnd = nullptr;
    *pl = strtol(psz, &pszEnd, 0);
    return pszEnd != psz && *pszEnd == 0;
}

void PrintHex(const std::vector<unsigned char>& bytes, size_t cb)
{
    for (size_t i = 0; i < cb && i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            printf("%04zx:", i);
        }
        printf(" %02x", bytes[i]);
        if (i % 16 == 15 || i + 1 == cb) {
            printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    long lCap = 0, lItem = 0, lView = 0, lSize = -1;
    if ((argc != 5 && argc != 6) || !ParseNumber(argv[2], &lCap) || !ParseNumber(argv[3], &lItem) ||
        !ParseNumber(argv[4], &lView) || (argc == 6 && (!ParseNumber(argv[5], &lSize) || lSize < 0))) {
        fprintf(stderr, "usage: spc-dump <model file> <capability> <item> <view> [<buffer size>]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "spc-dump: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::unique_ptr<tagSPCDATA, decltype(&free)> data(SpcLoadImage(file.data(), file.size()), &free);
    if (!data) {
        fprintf(stderr, "spc-dump: %s is empty\n", argv[1]);
        return 1;
    }
    auto sCap = static_cast<SHORT>(lCap);
    auto sItem = static_cast<SHORT>(lItem);
    DWORD cbSize = 0;
    DWORD dwCount = 0;
    DWORD dwResult = 0;
    if (lSize < 0) {
        dwResult = SpcQuery(data.get(), sCap, sItem, lView, nullptr, &cbSize, &dwCount);
        printf("size query: result %u size %u count %u\n", dwResult, cbSize, dwCount);
        if (dwResult != ERROR_SUCCESS) {
            return 0;
        }
    } else {
        cbSize = static_cast<DWORD>(lSize);
    }
    std::vector<unsigned char> buffer(cbSize + 1);  // never an empty vector: data() is then a real buffer
    DWORD cbGiven = cbSize;
    dwResult = SpcQuery(data.get(), sCap, sItem, lView, buffer.data(), &cbSize, &dwCount);
    printf("query: result %u size %u count %u\n", dwResult, cbSize, dwCount);
    if (dwResult == ERROR_SUCCESS) {
        PrintHex(buffer, cbGiven);
    }
    return 0;
}
