/* Compiled as C: oracle/oci7.h must serve C clients as well. The table of
 * entry points also checks, through the compiler's pointer type checks, that
 * the function pointer types agree with the declared calls. */
#include "oracle/oci7.h"

#include "tests/embedded/header_is_c.h"

static const struct {
    oci_olog_fn olog;
    oci_oclose_fn oclose;
    oci_ologof_fn ologof;
    oci_oopen_fn oopen;
    oci_oparse_fn oparse;
    oci_odefin_fn odefin;
    oci_oexec_fn oexec;
    oci_ofetch_fn ofetch;
    oci_oerhms_fn oerhms;
    oci_odescr_fn odescr;
    oci_obndrn_fn obndrn;
    oci_obndrv_fn obndrv;
    oci_ocan_fn ocan;
    oci_ocon_fn ocon;
    oci_ocof_fn ocof;
    oci_ocom_fn ocom;
    oci_orol_fn orol;
    oci_obndra_fn obndra;
    oci_odessp_fn odessp;
    oci_ogetpi_fn ogetpi;
} entries = {olog, oclose, ologof, oopen, oparse, odefin, oexec, ofetch, oerhms, odescr,
             obndrn, obndrv, ocan, ocon, ocof, ocom, orol, obndra, odessp, ogetpi};

void oci7_layout_seen_from_c(struct oci7_c_layout *out)
{
    out->cda_size = sizeof(cda_def);
    out->hda_size = sizeof(hda_def);
    out->fc_offset = offsetof(cda_def, fc);
    out->rc_offset = offsetof(cda_def, rc);
    out->ft_offset = offsetof(cda_def, ft);
    out->rpc_offset = offsetof(cda_def, rpc);
    out->entry_points = sizeof entries / sizeof entries.olog;
    out->all_entries_linked = entries.olog && entries.oclose && entries.ologof && entries.oopen &&
                              entries.oparse && entries.odefin && entries.oexec && entries.ofetch &&
                              entries.oerhms && entries.odescr && entries.obndrn && entries.obndrv &&
                              entries.ocan && entries.ocon && entries.ocof && entries.ocom && entries.orol &&
                              entries.obndra && entries.odessp && entries.ogetpi;
}
