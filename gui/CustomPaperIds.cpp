#include "gui/CustomPaperIds.h"

#include "gui/custompaper/CustomPaperPpd.h"

#include <cstdlib>

std::vector<WORD> ReadCustomPaperIds(const char* path)
{
    std::vector<WORD> ids;
    int count = 0;
    tagCUSTOMPAPER* papers = path != nullptr ? ReadCustomPapersFromPpd(path, &count) : nullptr;
    for (int i = 0; i < count && papers != nullptr; ++i) {
        ids.push_back(static_cast<WORD>(papers[i].nID));
    }
    std::free(papers);
    return ids;
}
