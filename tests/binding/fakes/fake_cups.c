/* A stand-in libcups for the binding tests. Every entry of the libcups table is defined here
 * unless a compile definition OMIT_<symbol> leaves it out. Only binding is tested against it: the
 * entries take no arguments and are never called, except ppdLocalize and cupsLangDefault, whose
 * answers differ from the program's fallbacks so that a test can tell them apart. */

#define ENTRY(name) \
    int name(void) { return 0; }

#ifndef OMIT_cupsGetDests
ENTRY(cupsGetDests)
#endif
ENTRY(cupsSetDests)
ENTRY(cupsFreeDests)
ENTRY(cupsGetDest)
ENTRY(cupsAddOption)
ENTRY(cupsParseOptions)
ENTRY(cupsMarkOptions)
ENTRY(cupsGetOption)
ENTRY(cupsFreeOptions)
ENTRY(cupsGetPPD)
ENTRY(cupsTempFd)
ENTRY(cupsTempFile2)
ENTRY(ppdOpenFile)
ENTRY(ppdClose)
ENTRY(ppdMarkDefaults)
ENTRY(ppdFindOption)
ENTRY(ppdFindChoice)
ENTRY(ppdMarkOption)
ENTRY(ppdFindMarkedChoice)
ENTRY(ppdPageSize)
ENTRY(ppdFindAttr)
#ifndef OMIT_ppdFindNextAttr
ENTRY(ppdFindNextAttr)
#endif
ENTRY(ppdIsMarked)
ENTRY(cupsFileClose)
ENTRY(cupsFileGetLine)
ENTRY(cupsFileOpen)
ENTRY(cupsFileOpenFd)
#ifndef OMIT_cupsFileStdin
ENTRY(cupsFileStdin)
#endif
ENTRY(cupsFileWrite)
ENTRY(cupsFileTell)
ENTRY(cupsFileRead)
ENTRY(cupsFileSeek)
ENTRY(cupsFileRewind)
ENTRY(cupsArrayAdd)
ENTRY(cupsArrayNew)
ENTRY(cupsArrayCount)
ENTRY(cupsArrayFirst)
ENTRY(cupsArrayLast)
#ifndef OMIT_cupsArrayIndex
ENTRY(cupsArrayIndex)
#endif

#ifndef OMIT_ppdLocalize
int ppdLocalize(void* ppd)
{
    (void)ppd;
    return 42;
}
#endif

#ifndef OMIT_cupsLangDefault
static int fake_language;
void* cupsLangDefault(void)
{
    return &fake_language;
}
#endif
