/* A stand-in compression library for the binding tests. COMPRESS answers FAKE_COMPRESS_ID so that a
 * test can tell which file was bound; OMIT_COMPRESS leaves the entry out. */

#ifndef FAKE_COMPRESS_ID
#define FAKE_COMPRESS_ID 192
#endif

#ifndef OMIT_COMPRESS
int COMPRESS(void* params)
{
    (void)params;
    return FAKE_COMPRESS_ID;
}
#endif

int fake_compress_present(void)
{
    return 1;
}
