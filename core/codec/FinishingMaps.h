// Maps between the settings record's finisher, staple and punch codes and the ids of the model
// data's finisher modes, staple modes and punch modes.
//
// Every map takes and answers a 16-bit value; a code or id without a partner answers 0.
#pragma once

#include "core/WinTypes.h"

// dmFinisher 0, 1, 2, 257, 513, 514, 769, 770, 771 -> model finisher id 1, 2, 5, 3, 4, 6, 7, 8, 9.
// 258 passes the record's validation but names no model finisher, so it answers 0 like any other.
WORD FinisherToModelId(WORD wFinisher);
// Model finisher id 2..9 -> dmFinisher; id 1 (no finishing) and unknown ids -> 0.
WORD ModelIdToFinisher(WORD wModelId);

// dmStaple 0 -> model staple id 99 (no stapling), 1..6 -> 1..6.
WORD StapleToModelId(WORD wStaple);
// Model staple id 1..6 -> dmStaple 1..6.
WORD ModelIdToStaple(WORD wModelId);

// dmPunch 0 -> model punch id 99 (no punching), 1 -> 3, 2 -> 1, 3 -> 2.
WORD PunchToModelId(WORD wPunch);
// Model punch id 1 -> dmPunch 2, 2 -> 3, 3 -> 1.
WORD ModelIdToPunch(WORD wModelId);
