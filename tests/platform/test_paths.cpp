#include "platform/Paths.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Paths, FolderAndFileNameParts)
{
    struct Case {
        const char *path, *folder, *name;
    };
    const Case cases[] = {
        {"/home/u/data.csv", "/home/u/", "data.csv"},
        {"data.csv", "", "data.csv"},
        {"/home/u/", "/home/u/", ""},
        {"/", "/", ""},
        {"", "", ""},
        {"/home/u.v/data", "/home/u.v/", "data"},
        {"C:\\data\\x.csv", "", "C:\\data\\x.csv"}, // a backslash is an ordinary character here
        {"/tmp/.profile", "/tmp/", ".profile"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderPart(QString::fromUtf8(c.path)), QString::fromUtf8(c.folder));
        EXPECT_EQ(fileNamePart(QString::fromUtf8(c.path)), QString::fromUtf8(c.name));
    }
}

TEST(Paths, ChangeExtension)
{
    struct Case {
        const char *path, *ext, *expected;
    };
    const Case cases[] = {
        {"/d/data.csv", ".err", "/d/data.err"},
        {"/d/data", ".err", "/d/data.err"},
        {"/d/data.tar.gz", ".err", "/d/data.tar.err"},
        {"/d.v/data", ".err", "/d.v/data.err"},
        {"/d.v/data.csv", ".erm", "/d.v/data.erm"},
        {"/d/data.", ".err", "/d/data.err"},
        {"/d/.profile", ".err", "/d/.profile.err"},
        {"/d/.data.csv", ".err", "/d/.data.err"},
        {".profile", ".err", ".profile.err"},
        {"データ.CSV", ".err", "データ.err"},
        {"/d/data.csv", "", "/d/data"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(changeExtension(QString::fromUtf8(c.path), QString::fromUtf8(c.ext)),
                  QString::fromUtf8(c.expected));
    }
}

TEST(Paths, ProgramFolderEndsWithSlash)
{
    const QString folder = programFolder();
    EXPECT_TRUE(folder.startsWith(u'/'));
    EXPECT_TRUE(folder.endsWith(u'/'));
}
