#include "support/ModelFiles.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace orvtest {

SpcDataPtr LoadModelFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        return SpcDataPtr();
    }
    return SpcDataPtr(SpcLoadImage(bytes.data(), bytes.size()));
}

}  // namespace orvtest
