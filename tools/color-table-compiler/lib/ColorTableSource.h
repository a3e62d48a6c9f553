// The readable source of a model's colour tables: a small JSON document of parameters from which
// every table is computed.
//
//   {
//     "gray_weights": [30, 59, 11],                    red, green, blue weights of the gray conversion
//     "resolutions": [ {"code": 2, "dots": [1, 1], "dot_gain": 0.14}, ... ],
//                                                      resolution code, device dots per 600-dpi dot
//                                                      across and down, dot gain of its tone curves
//     "screens": {
//       "min_tile": 32,                                least threshold-matrix side in device dots
//       "toner_save_coverage": 0.6,                    optional: toner-save screens printing at most
//                                                      this share of dots
//       "planes": {"cyan": [5, 1], ..., "mono": [4, 4]} screen vector (a, b) per plane
//     },
//     "colour": {                                      optional (monochrome models have none)
//       "gamma": 1.8, "gray_balance": [1, 0.88, 0.85], "black_start": 0.3, "black_power": 1.5,
//       "black_max": 1.0, "ucr": 0.85, "ink_limit": 2.8, "saturation": 0,
//       "luts": [ {"mode": 2, "media": 0, ...overrides..., "gray_in_black": true,
//                  "renderer_ucr_bg": [60, 100]}, ... ]
//     }
//   }
//
// Planes are "cyan", "magenta", "yellow", "black" and "mono". Every plane gets a matrix and a tone
// curve at every resolution (and a toner-save matrix when asked); every entry of "luts" gives one
// colour LUT for its colour-mode code (1 to 5) and media id (0 = any media).
#pragma once

#include "ColorTableWriter.h"

#include <string>
#include <vector>

namespace ctc {

// The entries of the file, or an empty list with the reason in error.
std::vector<TableEntry> CompileColorTableSource(const std::string& json, std::string* error);

}  // namespace ctc
