#include "gui/CustomPaperIds.h"

#include "core/binding/PpdHelpers.h"
#include "core/codec/PpdChoiceId.h"

namespace {

constexpr long kFirstCustomPaper = 456;
constexpr long kLargestPaperId = 0x7FFF;  // paper ids are stored as 16-bit signed values

}  // namespace

std::vector<WORD> ReadCustomPaperIds(tagCUPSFUNC* cups, const char* path)
{
    std::vector<WORD> ids;
    if (cups == nullptr || cups->handle == nullptr || path == nullptr || cups->ppdOpenFile == nullptr ||
        cups->ppdFindOption == nullptr) {
        return ids;
    }
    ppd_file_t* ppd = cups->ppdOpenFile(path);
    if (ppd == nullptr) {
        return ids;
    }
    if (ppd_option_t* pageSize = cups->ppdFindOption(ppd, "PageSize")) {
        for (int i = 0; i < pageSize->num_choices; ++i) {
            long id = 0;
            if (GetPpdChoiceId(pageSize->choices[i].code, &id) != 0 && id >= kFirstCustomPaper &&
                id <= kLargestPaperId) {
                ids.push_back(static_cast<WORD>(id));
            }
        }
    }
    ClosePpd(cups, ppd);
    return ids;
}
