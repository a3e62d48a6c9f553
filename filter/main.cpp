// gdi-filter: the CUPS filter that turns a PostScript job into the printer's PJL and GDI stream.
// CUPS starts it with job-id user title copies options [file] and the queue name in PRINTER.

#include "filter/job/JobRun.h"

#include <cstdio>

// Exported by the filter program beside ListErrorLevel and clock_start, for code that looks for it
// in the running program: whether pages travel as JPEG. This filter always sends raster bands, so
// it stays 0.
extern "C" {
int jpegflow = 0;
}

int main(int argc, char* argv[])
{
    // The scheduler reads both streams as they come.
    setvbuf(stdout, nullptr, _IONBF, 0);
    setvbuf(stderr, nullptr, _IONBF, 0);
    return RunFilterJob(argc, argv, FilterHooks{});
}
