#include "oracle/SelectList.h"

#include "oracle/TOCIctrl.h"

std::vector<DescribedColumn> describeSelectList(TOCIctrl &session, cda_def &area)
{
    std::vector<DescribedColumn> list;
    for (int index = 0; index < kMaxSelectColumns && session.connected(); ++index) {
        DescribedColumn described;
        described.index = index;
        if (session.Descr(area, index, described.column))
            list.push_back(described);
        else if (area.rc == OCI_ERR_NO_COLUMN)
            break;
    }
    return list;
}
