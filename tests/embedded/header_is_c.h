/* What the C translation unit header_is_c.c sees of the interface's layout. */
#ifndef KARVELLO_TESTS_HEADER_IS_C_H
#define KARVELLO_TESTS_HEADER_IS_C_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct oci7_c_layout {
    size_t cda_size;        /* sizeof(cda_def)                          */
    size_t hda_size;        /* sizeof(hda_def)                          */
    size_t fc_offset;       /* offset of the function code              */
    size_t rc_offset;       /* offset of the return code                */
    size_t ft_offset;       /* offset of the SQL function type          */
    size_t rpc_offset;      /* offset of the rows-processed count       */
    size_t entry_points;    /* entries in the table of calls            */
    int all_entries_linked; /* every call resolved to an address        */
};

void oci7_layout_seen_from_c(struct oci7_c_layout *out);

#ifdef __cplusplus
}
#endif

#endif
