#include "core/containers/InvalidArg.h"

namespace orv {

void ThrowInvalidArg()
{
    throw "Invalid Arg!";
}

}  // namespace orv
