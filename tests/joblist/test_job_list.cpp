#include "joblist/JobList.h"

#include <gtest/gtest.h>

TEST(JobList, AddJobRefusesAListedTableWhateverItsCase)
{
    struct Case {
        const char *table;
        const char *csv;
        bool added;
    };
    // Listed: EMP, ＤＥＰＴ (full width), and Shift-JIS bytes that the
    // locale cannot decode.
    const Case cases[] = {
        {"EMP", "/other.csv", false},
        {"emp", "/e.csv", false},
        {"Emp", "/e.csv", false},
        {"ｄｅｐｔ", "/d.csv", false},
        {"EMP2", "/e.csv", true},
        {" EMP", "/e.csv", true},
        {"\x83\x41", "/s.csv", false},
        {"\x83\x41\x83\x41S", "/s.csv", false},
        // Folding single bytes would take this second byte for "a".
        {"\x83\x61", "/s.csv", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        JobList list;
        ASSERT_TRUE(list.AddJob("EMP", "/e.csv"));
        ASSERT_TRUE(list.AddJob("ＤＥＰＴ", "/d.csv"));
        ASSERT_TRUE(list.AddJob("\x83\x41", "/s.csv"));
        ASSERT_TRUE(list.AddJob("\x83\x41\x83\x41s", "/s.csv"));
        EXPECT_EQ(list.AddJob(c.table, c.csv), c.added);
        ASSERT_EQ(list.count(), c.added ? 5 : 4);
        if (c.added) {
            EXPECT_EQ(list.job(4).table, c.table);
            EXPECT_EQ(list.job(4).csv, c.csv);
            EXPECT_FALSE(list.isSelected(4));
        }
    }
}

TEST(JobList, RowsAreReadAndWrittenThroughTheModel)
{
    JobList list;
    list.AddJob("EMP", "/data/\xe7\xa4\xbe\xe5\x93\xa1.csv");
    list.AddJob("DEPT", "/data/dept.csv");
    int changed = 0;
    QObject::connect(&list, &QAbstractItemModel::dataChanged, [&changed] { ++changed; });

    list.setText(1, JobList::Status, "done");
    list.setText(1, JobList::Error, "12");
    list.setSelected(0, true);
    EXPECT_EQ(changed, 3);

    EXPECT_EQ(list.text(1, JobList::Status), "done");
    EXPECT_TRUE(list.isSelected(0));
    EXPECT_FALSE(list.isSelected(1));
    EXPECT_EQ(list.data(list.index(0, JobList::Csv)).toString(), QString::fromUtf8("/data/社員.csv"));
    EXPECT_EQ(list.data(list.index(1, JobList::Error), JobList::BytesRole).toByteArray(), "12");
    EXPECT_EQ(list.data(list.index(0, JobList::Table), JobList::SelectedRole).toBool(), true);
    QStringList captions;
    for (int column = 0; column < list.columnCount(); ++column)
        captions << list.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(captions, QStringList({"TABLE", "CSV", "STATUS", "Record", "Success", "Error"}));

    // Rows that do not exist are neither read nor written.
    list.setText(2, JobList::Status, "lost");
    list.setSelected(-1, true);
    list.removeJob(5);
    EXPECT_EQ(list.text(2, JobList::Status), "");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(changed, 3);
}
