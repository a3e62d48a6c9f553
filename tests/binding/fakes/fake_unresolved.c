/* A library that needs a function nobody defines: it only opens when symbols are bound lazily. */

extern int orv_function_nobody_defines(void);

int fake_unresolved_entry(void)
{
    return orv_function_nobody_defines();
}
