// A fuzz target as an ordinary program, for the builds without libFuzzer: runs the target once over
// every file named on the command line, or over every file of a named directory. Files ending in
// ".hex" hold their bytes as hexadecimal text (white space and '#' comment lines ignored), which is
// how reproducers of findings are kept in the source tree.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<uint8_t> FromHex(const std::string& text)
{
    std::vector<uint8_t> bytes;
    int high = -1;
    bool comment = false;
    for (char c : text) {
        if (comment) {
            comment = c != '\n';
            continue;
        }
        if (c == '#') {
            comment = true;
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            continue;
        const int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return bytes;
}

void RunFile(const std::string& path, int* pRuns)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<uint8_t> bytes = EndsWith(path, ".hex") ? FromHex(text) : std::vector<uint8_t>(text.begin(), text.end());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++*pRuns;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        struct stat st;
        if (stat(argv[i], &st) != 0)
            continue;  // a directory of findings that has none yet
        if (!S_ISDIR(st.st_mode)) {
            RunFile(argv[i], &runs);
            continue;
        }
        std::vector<std::string> names;
        if (DIR* dir = opendir(argv[i])) {
            while (dirent* e = readdir(dir))
                if (e->d_name[0] != '.' && !EndsWith(e->d_name, ".md"))
                    names.push_back(e->d_name);
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            RunFile(std::string(argv[i]) + "/" + name, &runs);
    }
    std::printf("%d inputs run\n", runs);
    return runs > 0 ? 0 : 1;
}
