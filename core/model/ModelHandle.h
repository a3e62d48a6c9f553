// The model handle: what every question about one queue's printer needs at hand.
//
// It pairs the loaded model data file with the libcups table and the queue's open PPD, so that the
// capability queries, the paper rules, the installed options and the option codec all reach the
// PPD through the one table the program bound. The handle owns none of the three.
#pragma once

#include "core/binding/CupsLibrary.h"

struct tagSPCDATA;

struct tagMODELHANDLE {
    tagSPCDATA* pSpcData;    // the loaded model data file, may be NULL where only the PPD is needed
    tagCUPSFUNC* pCupsFunc;  // the bound libcups table
    ppd_file_t* pPpd;        // the queue's open PPD
};
typedef tagMODELHANDLE MODELHANDLE;
