// Common base of the container classes and of the constraint classes. Its only virtual
// operation is the destructor, so an owner can delete any element through a CObject pointer.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
};

// Iteration position of a map: 0 when there is nothing (more) to visit.
struct tagPOSITION;
typedef tagPOSITION* POSITION;
