// The preview grid: bytes in and out, and columns by the order a person sees.
#include "app/StringGrid.h"

#include <QHeaderView>
#include <gtest/gtest.h>

namespace {

// A grid of a fixed column and three named columns with one data row.
struct GridFixture {
    StringGrid grid;
    GridFixture()
    {
        grid.setColCount(4);
        grid.setRowCount(3);
        for (int col = 1; col < 4; ++col) {
            const QByteArray name = "C" + QByteArray::number(col);
            grid.setCells(col, 0, name);
            grid.setCells(col, 1, "VARCHAR2");
            grid.setCells(col, 2, "v" + QByteArray::number(col));
        }
    }
    QByteArray names() const
    {
        QByteArray all;
        for (int col = 0; col < grid.ColCount(); ++col)
            all += grid.Cells(col, 0) + "|";
        return all;
    }
};

TEST(StringGrid, CellsKeepTheirBytes)
{
    GridFixture f;
    const QByteArray shiftJis("\x83\x65\x83\x58\x83\x67", 6); // not UTF-8
    const QByteArray binary("a\0b\xff", 4);
    f.grid.setCells(2, 2, shiftJis);
    f.grid.setCells(3, 0, binary);
    EXPECT_EQ(f.grid.Cells(2, 2), shiftJis);
    EXPECT_EQ(f.grid.Cells(3, 0), binary);
    // Outside the grid: nothing to read, nothing written.
    f.grid.setCells(4, 0, "x");
    f.grid.setCells(1, 3, "x");
    EXPECT_EQ(f.grid.Cells(4, 0), QByteArray());
    EXPECT_EQ(f.grid.Cells(-1, 0), QByteArray());
    EXPECT_EQ(f.grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("C1\nVARCHAR2"));
}

// The session's codec is UTF-8; a Shift-JIS file's bytes still read as
// Japanese, and bytes valid in neither show replacement marks.
TEST(StringGrid, CellsShowTheirBytesDecoded)
{
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("\xe7\x85\x8e\xe8\x8c\xb6"), QStringLiteral("煎茶")},     // UTF-8
        {QByteArray("\x90\xf7\x92\x83(\x90\xc3)"), QStringLiteral("煎茶(静)")}, // Shift-JIS
        {QByteArray("P20001"), QStringLiteral("P20001")},
        {QByteArray("a\xff"), QStringLiteral("a\uFFFD")},
        // A long value shows its beginning; a character the cut splits is
        // left out whole.
        {QByteArray(StringGrid::ShownBytes + 10, 'x'), QString(StringGrid::ShownBytes, u'x') + u'\u2026'},
        {QByteArray(StringGrid::ShownBytes - 1, 'x') + "\xe7\x85\x8e", QString(StringGrid::ShownBytes - 1, u'x') + u'\u2026'},
    };
    GridFixture f;
    for (const auto &[bytes, shown] : cases) {
        f.grid.setCells(1, 2, bytes);
        EXPECT_EQ(f.grid.model()->index(0, 1).data().toString(), shown) << bytes.toHex().toStdString();
        EXPECT_EQ(f.grid.Cells(1, 2), bytes);
    }
}

TEST(StringGrid, ColumnsAreAddressedInTheOrderShown)
{
    struct Move {
        int from, to;
        const char *names;
    };
    const Move moves[] = {
        {3, 1, "|C3|C1|C2|"},
        {1, 2, "|C1|C3|C2|"},
        {0, 2, "|C1|C3|C2|"}, // the fixed column stays
        {2, 0, "|C1|C3|C2|"},
        {1, 4, "|C1|C3|C2|"},
    };
    GridFixture f;
    int signalled = 0;
    QObject::connect(&f.grid, &StringGrid::columnMoved, [&](int, int) { ++signalled; });
    for (const Move &m : moves) {
        f.grid.MoveColumn(m.from, m.to);
        EXPECT_EQ(f.names(), QByteArray(m.names)) << m.from << "->" << m.to;
    }
    EXPECT_EQ(signalled, 2);
    EXPECT_EQ(f.grid.Cells(1, 2), "v1");
    EXPECT_EQ(f.grid.Cells(2, 2), "v3");
    // The header's own order matches: the person sees what the program reads.
    EXPECT_EQ(f.grid.horizontalHeader()->logicalIndex(1), 1);
    EXPECT_EQ(f.grid.horizontalHeader()->logicalIndex(2), 3);
}

TEST(StringGrid, ResizingKeepsTheOrderShown)
{
    GridFixture f;
    f.grid.MoveColumn(3, 1);
    f.grid.setColWidths(1, 40);
    f.grid.setRowCount(5);
    EXPECT_EQ(f.names(), QByteArray("|C3|C1|C2|"));
    EXPECT_EQ(f.grid.Cells(1, 4), QByteArray());
    f.grid.setColCount(3);
    EXPECT_EQ(f.names(), QByteArray("|C3|C1|"));
    EXPECT_EQ(f.grid.Cells(1, 2), "v3");
    EXPECT_EQ(f.grid.ColWidths(1), 40);
    f.grid.setColCount(4);
    EXPECT_EQ(f.names(), QByteArray("|C3|C1||"));
    f.grid.setRowCount(2);
    EXPECT_EQ(f.grid.RowCount(), 2);
    EXPECT_EQ(f.grid.model()->rowCount(), 0);
}

} // namespace
