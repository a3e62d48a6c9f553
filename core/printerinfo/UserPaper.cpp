#include "core/printerinfo/UserPaper.h"

const tagUSERPAPER* CUserPaper::Find(SHORT /*sPaperId*/) const
{
    return nullptr;
}
