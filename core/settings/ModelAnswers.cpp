#include "core/settings/ModelAnswers.h"

#include "core/model/ModelAnswer.h"
#include "core/model/SpcQuery.h"

#include <cstring>

bool QueryAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, BYTE* buffer, DWORD size,
                 DWORD* count)
{
    std::memset(buffer, 0, size);
    DWORD answered = 0;
    DWORD cb = size;
    const DWORD rc = SpcQuery(data, capability, item, view, buffer, &cb, &answered);
    if (count)
        *count = rc == ERROR_SUCCESS ? answered : 0;
    return rc == ERROR_SUCCESS;
}

bool HasRecords(const tagSPCDATA* data, SHORT capability)
{
    const ModelAnswer records(data, capability, 0, 1);
    return records.Answered() && records.Count() != 0;
}

bool AnswersWithSize(const tagSPCDATA* data, SHORT capability)
{
    DWORD size = 0;
    return SpcQuery(data, capability, 0, 1, nullptr, &size, nullptr) == ERROR_SUCCESS && size != 0;
}
