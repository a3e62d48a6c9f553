// The custom paper sizes of a queue's PPD: any bytes as the PPD file, read for its custom papers,
// one paper added and removed again (which must give the file back byte for byte), and the same
// bytes parsed as one page-size line.
#include "gui/custompaper/CustomPaperPpd.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool MentionsFuzzPaper(const std::string& text)
{
    for (size_t i = 0; i + 9 <= text.size(); ++i) {
        if (strncasecmp(text.c_str() + i, "fuzzpaper", 9) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = "/tmp/orv-custom-paper-fuzz-" + std::to_string(getpid()) + ".ppd";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    int count = 0;
    std::free(ReadCustomPapersFromPpd(path.c_str(), &count));

    tagCUSTOMPAPER paper {};
    std::strcpy(paper.szName, "Fuzz Label");
    if (AddCustomPaperToPpd(path.c_str(), "fuzzpaper457", &paper, 457, 1, 100.0, 150.0) != 0) {
        int after = 0;
        std::free(ReadCustomPapersFromPpd(path.c_str(), &after));
        if (after != count + 1 || RemoveCustomPaperFromPpd(path.c_str(), "fuzzpaper457", &paper) == 0) {
            std::abort();  // an added paper is read back and can be removed
        }
        if (!MentionsFuzzPaper(bytes) && ReadAll(path) != bytes) {
            std::abort();  // adding and removing a paper leaves the file as it was
        }
    }
    unlink(path.c_str());

    std::free(ParseCustomPageSizeLine(bytes.c_str()));
    return 0;
}
