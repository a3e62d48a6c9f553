/* A stand-in libgs for the binding tests: the thirteen gsapi_ entries, the revision call answering
 * FAKE_REVISION_RESULT (0 by default) and reporting revision 10000; OMIT_gsapi_exit leaves the last
 * entry out. */

#ifndef FAKE_REVISION_RESULT
#define FAKE_REVISION_RESULT 0
#endif

struct revision_record {
    const char* product;
    const char* copyright;
    long revision;
    long revisiondate;
};

int gsapi_revision(struct revision_record* record, int len)
{
    if (record == 0 || len < (int)sizeof *record) {
        return (int)sizeof *record;
    }
    record->product = "fake";
    record->copyright = "none";
    record->revision = 10000;
    record->revisiondate = 20220921;
    return FAKE_REVISION_RESULT;
}

#define ENTRY(name) \
    int name(void) { return 0; }

ENTRY(gsapi_new_instance)
ENTRY(gsapi_delete_instance)
ENTRY(gsapi_set_stdio)
ENTRY(gsapi_set_poll)
ENTRY(gsapi_set_display_callback)
ENTRY(gsapi_init_with_args)
ENTRY(gsapi_run_string)
ENTRY(gsapi_run_string_with_length)
ENTRY(gsapi_run_string_begin)
ENTRY(gsapi_run_string_continue)
ENTRY(gsapi_run_string_end)
#ifndef OMIT_gsapi_exit
ENTRY(gsapi_exit)
#endif
