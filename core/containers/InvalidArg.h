// The containers' one exception: an argument out of range throws the C string "Invalid Arg!"
// (a const char*, not an exception object). Nothing in the programs catches it.
#pragma once

namespace orv {

[[noreturn]] void ThrowInvalidArg();

}  // namespace orv
