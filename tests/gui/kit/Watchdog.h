// Keeps a hanging GUI test from blocking the run: after a soft limit the test fails and every
// modal loop is ended; after a hard limit the program stops.
#pragma once

#include <gtest/gtest.h>

namespace orvgui {

// A GoogleTest listener (the GUI test main installs it).
::testing::TestEventListener* NewWatchdog(int nSoftSeconds, int nHardSeconds);

}  // namespace orvgui
