// Assembles a whole model data file from its JSON description: header, section table, sections,
// and on request the damage that tests need to see the reader refuse.
#pragma once

#include "SpcSectionWriters.h"

#include <cstdint>
#include <vector>

// Throws SpcCompileError for a description that cannot be compiled.
std::vector<uint8_t> SpcCompileModel(const json& model);
