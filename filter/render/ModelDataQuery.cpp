#include "filter/render/ModelDataQuery.h"

#include "core/model/ModelAnswer.h"

PFNMODELQUERY SetModelDataQueryForTest(PFNMODELQUERY query)
{
    return ReplaceModelAnswerQuery(query);
}
