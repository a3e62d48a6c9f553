// Capability ids of the model data file (SPCID 0 to 102) that the programs ask for by name.
#pragma once

#include "core/WinTypes.h"

inline constexpr SHORT SPCID_RCTNAME = 4;
inline constexpr SHORT SPCID_COLORTABLE = 7;
inline constexpr SHORT SPCID_PJLNAME = 11;      // model name string of the PJL job header
inline constexpr SHORT SPCID_PJLSTRINGS = 14;   // two strings of the PJL job header
inline constexpr SHORT SPCID_PJLMODEL = 15;     // model name string of the PJL job header
inline constexpr SHORT SPCID_LANGUAGE = 19;     // printer-language and transfer options
inline constexpr SHORT SPCID_PAPERSIZE = 20;
inline constexpr SHORT SPCID_CUSTOMSIZE = 21;
inline constexpr SHORT SPCID_MEDIATYPE = 22;
inline constexpr SHORT SPCID_MAXCOPIES = 23;
inline constexpr SHORT SPCID_PAPERSOURCE = 24;
inline constexpr SHORT SPCID_DUPLEX = 25;
inline constexpr SHORT SPCID_SOURCEGROUP = 26;
inline constexpr SHORT SPCID_FINISHER = 27;
inline constexpr SHORT SPCID_NUP = 28;  // pages per sheet: support flag and defaults
inline constexpr SHORT SPCID_BOOKLET = 29;
inline constexpr SHORT SPCID_FITTOPAPER = 30;
inline constexpr SHORT SPCID_ZOOM = 31;
inline constexpr SHORT SPCID_PUNCHLIST = 32;
inline constexpr SHORT SPCID_STAPLELIST = 33;
inline constexpr SHORT SPCID_FINISHERMODES = 34;  // finishing modes keyed by the finisher id
inline constexpr SHORT SPCID_INSTALLBASE1 = 35;  // a base value and the amounts installable options add to it
inline constexpr SHORT SPCID_INSTALLBASE2 = 36;  // the same for a second value
inline constexpr SHORT SPCID_OPTIONLIST = 37;
inline constexpr SHORT SPCID_PRINTFEATURES = 38;
inline constexpr SHORT SPCID_SCREENLIST = 39;
inline constexpr SHORT SPCID_COLOR = 40;
inline constexpr SHORT SPCID_RESOLUTIONLIST = 41;
inline constexpr SHORT SPCID_RESOLUTION = 42;
inline constexpr SHORT SPCID_DENSITY = 45;
inline constexpr SHORT SPCID_TONERSAVE = 46;
inline constexpr SHORT SPCID_HALFTONE = 47;
inline constexpr SHORT SPCID_OPTION340 = 48;
inline constexpr SHORT SPCID_MIRROR = 49;
inline constexpr SHORT SPCID_REVERSEORDER = 50;
inline constexpr SHORT SPCID_OPTION338 = 52;
inline constexpr SHORT SPCID_OPTION1006 = 53;
inline constexpr SHORT SPCID_PJLSWITCH = 54;    // a flag and a value for the PJL job header
inline constexpr SHORT SPCID_COLORDEFAULTS = 55;  // colour adjustment defaults
inline constexpr SHORT SPCID_BLANKPAGES = 56;
inline constexpr SHORT SPCID_JOBOPTIONS = 57;
inline constexpr SHORT SPCID_OPTIONBITS620 = 58;
inline constexpr SHORT SPCID_OPTIONBITS356 = 59;
inline constexpr SHORT SPCID_JOBSPOOL1 = 60;
inline constexpr SHORT SPCID_JOBSPOOL4 = 61;
inline constexpr SHORT SPCID_JOBSPOOL5 = 62;
inline constexpr SHORT SPCID_DEPTCODE = 63;
inline constexpr SHORT SPCID_SORT = 64;
inline constexpr SHORT SPCID_PJLITEMS = 65;
inline constexpr SHORT SPCID_ALLTEXTBLACK = 66;
inline constexpr SHORT SPCID_POSTER = 67;
inline constexpr SHORT SPCID_FIRSTPAGE = 68;
inline constexpr SHORT SPCID_FEATUREPAIRS = 71;  // feature flag words, two lists by view
inline constexpr SHORT SPCID_JOBSPOOL2 = 73;
inline constexpr SHORT SPCID_JOBSPOOL3 = 74;
inline constexpr SHORT SPCID_CUSTOMLONG = 75;
inline constexpr SHORT SPCID_RENDERPARAMS = 77;
inline constexpr SHORT SPCID_CONTRAST = 78;
inline constexpr SHORT SPCID_OPTIONFLAGS = 79;
inline constexpr SHORT SPCID_DEPENDPAIRS = 95;
inline constexpr SHORT SPCID_SECUREPRINT = 100;
inline constexpr SHORT SPCID_CUSTOMCLASS1 = 101;
inline constexpr SHORT SPCID_CUSTOMCLASS2 = 102;

// The highest id the section table can hold.
inline constexpr SHORT SPCID_LAST = 102;
