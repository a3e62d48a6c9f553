/* A maker's compression library as a queue's PPD may name it: it says nothing about being called
 * from several threads. Every COMPRESS call appends the calling thread's id to the file named by
 * ORV_TEST_COMPRESS_THREADS and fails, so that the band goes out raw. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

int COMPRESS(void* params)
{
    (void)params;
    const char* path = getenv("ORV_TEST_COMPRESS_THREADS");
    if (path != NULL) {
        FILE* log = fopen(path, "a");
        if (log != NULL) {
            fprintf(log, "%ld\n", (long)syscall(SYS_gettid));
            fclose(log);
        }
    }
    return 0;
}
