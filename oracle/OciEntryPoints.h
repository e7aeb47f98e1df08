#pragma once
// The table of the 20 calls that the session controller takes from a client
// library loaded at run time, in the order in which activation checks them.
#include "oracle/oci7.h"

#include <string_view>
#include <type_traits>

struct OciEntryPoints {
    oci_olog_fn olog = nullptr;
    oci_oclose_fn oclose = nullptr;
    oci_ologof_fn ologof = nullptr;
    oci_oopen_fn oopen = nullptr;
    oci_oparse_fn oparse = nullptr;
    oci_odefin_fn odefin = nullptr;
    oci_oexec_fn oexec = nullptr;
    oci_ofetch_fn ofetch = nullptr;
    oci_oerhms_fn oerhms = nullptr;
    oci_odescr_fn odescr = nullptr;
    oci_obndrn_fn obndrn = nullptr;
    oci_obndrv_fn obndrv = nullptr;
    oci_ocan_fn ocan = nullptr;
    oci_ocon_fn ocon = nullptr;
    oci_ocof_fn ocof = nullptr;
    oci_ocom_fn ocom = nullptr;
    oci_orol_fn orol = nullptr;
    oci_obndra_fn obndra = nullptr;
    oci_odessp_fn odessp = nullptr;
    oci_ogetpi_fn ogetpi = nullptr;

    // Calls visit(entry, name) for each entry in table order; `entry` is a
    // reference to the member, `name` the exported symbol it is looked up by.
    template <typename Visit> void forEach(Visit &&visit);

    // Fills every entry with lookup(name) cast to its type (null when the
    // library lacks it).
    template <typename Lookup> void resolve(Lookup &&lookup)
    {
        forEach([&](auto &entry, const char *name) {
            entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(lookup(name));
        });
    }

    // The name of the first entry, in table order, that is null; empty when
    // all 20 are there.
    std::string_view firstMissing()
    {
        std::string_view missing;
        forEach([&](auto &entry, const char *name) {
            if (!entry && missing.empty())
                missing = name;
        });
        return missing;
    }
};

template <typename Visit> void OciEntryPoints::forEach(Visit &&visit)
{
    visit(olog, "olog");
    visit(oclose, "oclose");
    visit(ologof, "ologof");
    visit(oopen, "oopen");
    visit(oparse, "oparse");
    visit(odefin, "odefin");
    visit(oexec, "oexec");
    visit(ofetch, "ofetch");
    visit(oerhms, "oerhms");
    visit(odescr, "odescr");
    visit(obndrn, "obndrn");
    visit(obndrv, "obndrv");
    visit(ocan, "ocan");
    visit(ocon, "ocon");
    visit(ocof, "ocof");
    visit(ocom, "ocom");
    visit(orol, "orol");
    visit(obndra, "obndra");
    visit(odessp, "odessp");
    visit(ogetpi, "ogetpi");
}
