#include "ListItems.h"

#include <gtest/gtest.h>

TEST(ListItems, GetListItem)
{
    struct Row {
        const char* sep;
        const char* list;
        int n;
        const char* expected;
    };
    const Row rows[] = {
        {",", "bmp,jpg", 0, "bmp"},
        {",", "bmp,jpg", 1, "jpg"},
        {",", "bmp,jpg", 2, ""},
        {",", "bmp,jpg", 5, ""},
        {",", ",", 0, ""},
        {",", ",", 1, ""},
        {",", ",", 5, ""},
        {",", "", 0, ""},
        {",", "", 1, ""},
        {",", "rpz", 0, "rpz"},
        {",", "a,,c", 1, ""},
        {",", "a,,c", 2, "c"},
        {", ", "x, y, z", 2, "z"},
        {",", " a , b ", 1, " b "},
        {",", "a,b", 255, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(GetListItem(QString::fromUtf8(r.sep), QString::fromUtf8(r.list), std::uint8_t(r.n)),
                  QString::fromUtf8(r.expected))
            << r.list << " #" << r.n;
}

TEST(ListItems, CountListItems)
{
    struct Row {
        const char* list;
        int expected;
    };
    const Row rows[] = {
        {"", 0}, {"  ", 0}, {"\t\r\n ", 0}, {"a", 1}, {" a ", 1}, {"a,b", 2},
        {"bmp,jpg", 2}, {",", 2}, {"a,,", 3}, {" a,b\t", 2},
    };
    for (const Row& r : rows) EXPECT_EQ(CountListItems(QStringLiteral(","), QString::fromUtf8(r.list)), r.expected) << r.list;
}

TEST(ListItems, CompleteFileExt)
{
    struct Row {
        const char* name;
        const char* list;
        const char* expected;
    };
    const Row rows[] = {
        {"team", "bmp,jpg", "team.bmp"},
        {"teamJPG", "bmp,jpg", "team.jpg"},
        {"teamJpg", "bmp,jpg", "team.jpg"},
        {"teambmp", "bmp,jpg", "team.bmp"},
        {"abcbmp", "bmp,jpg", "abc.bmp"},
        {"teampng", "bmp,jpg", "teampng.bmp"},
        {"team.png", "bmp,jpg", "team.png"},
        {"team.", "bmp,jpg", "team."},
        {"", "bmp,jpg", ""},
        {"dir.x/team", "bmp,jpg", "dir.x/team.bmp"},
        {"dir.x/teamjpg", "bmp,jpg", "dir.x/team.jpg"},
        {"/home/u/画像と音声/選手JPG", "bmp,jpg", "/home/u/画像と音声/選手.jpg"},
        {"replay", "rpz", "replay.rpz"},
        {"replayRPZ", "rpz", "replay.rpz"},
        {"teamjpg", "BMP,JPG", "team.jpg"},
        {"team", "BMP,JPG", "team.BMP"},
        // Three characters alone are the name, not a typed extension.
        {"bmp", "bmp,jpg", "bmp.bmp"},
        {"dir/jpg", "bmp,jpg", "dir/jpg.bmp"},
        {"ajpg", "bmp,jpg", "a.jpg"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CompleteFileExt(QString::fromUtf8(r.name), QString::fromUtf8(r.list)), QString::fromUtf8(r.expected))
            << r.name << " / " << r.list;
}
