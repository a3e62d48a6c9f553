// The number that a PPD choice carries in its code.
//
// Every PickOne choice of the driver's PPDs that stands for a settings value has "%% ID=" and a
// decimal number in its PostScript code; the number is what the settings record stores (a paper
// id, a source id, a quality mode, a finisher code, ...). The choice's name is free.
#pragma once

#include "core/WinTypes.h"

#include <cups/ppd.h>

// The decimal number at the start of the text (after white space), base 10. *plNumber receives
// strtol's result in any case; FLAG_TRUE when at least one digit was read.
WORD ParseDecimal(const char* pszText, long* plNumber);

// Reads the number after the first "%% ID=" of the code; white space may come between. FLAG_FALSE
// when the code or the output is NULL or carries no marker; otherwise the number is stored (0 when
// no digit follows) and the result is FLAG_TRUE only when a digit was read.
WORD GetPpdChoiceId(const char* pszCode, long* plNumber);

// The first choice of the option, in PPD order, whose code carries that number; NULL when there is
// none or the option is NULL.
ppd_choice_t* FindChoiceById(ppd_option_t* pOption, long lNumber);
