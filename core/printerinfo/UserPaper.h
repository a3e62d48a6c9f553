// The core's store of user-defined papers. Papers of the queue's own sizes live in its PPD; this
// store holds none, so every lookup answers that there is no such paper.
#pragma once

#include "core/WinTypes.h"

// A user-defined paper as the store would hand it out; no paper of this kind exists.
struct tagUSERPAPER;

class CUserPaper {
public:
    explicit CUserPaper(void* pOwner) : m_pOwner(pOwner) {}
    virtual ~CUserPaper() = default;

    // The user paper with that id: always NULL.
    const tagUSERPAPER* Find(SHORT sPaperId) const;

private:
    void* m_pOwner;  // given by the creator, not owned and not used
};
