// The C compiler's view of the interface records agrees with C++'s.
#include "oracle/oci7.h"
#include "tests/embedded/header_is_c.h"

#include <gtest/gtest.h>

TEST(HeaderIsC, LayoutAndEntryPointsAgreeWithCxx)
{
    oci7_c_layout c{};
    oci7_layout_seen_from_c(&c);
    EXPECT_EQ(sizeof(cda_def), c.cda_size);
    EXPECT_EQ(std::size_t{OCI_CDA_SIZE}, c.cda_size);
    EXPECT_EQ(std::size_t{OCI_HDA_SIZE}, c.hda_size);
    EXPECT_EQ(std::size_t{OCI_CDA_FC_OFFSET}, c.fc_offset);
    EXPECT_EQ(std::size_t{OCI_CDA_RC_OFFSET}, c.rc_offset);
    EXPECT_EQ(offsetof(cda_def, ft), c.ft_offset);
    EXPECT_EQ(offsetof(cda_def, rpc), c.rpc_offset);
    EXPECT_EQ(20u, c.entry_points);
    EXPECT_TRUE(c.all_entries_linked);
}
