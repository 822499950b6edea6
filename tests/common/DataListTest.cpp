#include "DataList.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace {

TDataList Make(std::initializer_list<std::int32_t> values)
{
    TDataList l;
    for (std::int32_t v : values) l.Add(v);
    return l;
}

std::vector<std::int32_t> Values(const TDataList& l)
{
    std::vector<std::int32_t> out;
    for (int i = 0; i < l.GetCount(); ++i) out.push_back(l.GetValue(i));
    return out;
}

// The index error names the index and leaves the list as it was.
template <typename F> void ExpectIndexError(TDataList& l, int index, F op)
{
    const auto before = Values(l);
    try {
        op();
        ADD_FAILURE() << "no index error for " << index;
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index));
        EXPECT_EQ(e.Index(), index);
    }
    EXPECT_EQ(Values(l), before);
}

TEST(DataListTest, OrderedOperations)
{
    TDataList l;
    EXPECT_EQ(l.Add(3), 0);
    EXPECT_EQ(l.Add(-1), 1);
    EXPECT_EQ(l.Add(2), 2);
    EXPECT_EQ(l.GetCount(), 3);
    l.Delete(0);
    EXPECT_EQ(Values(l), (std::vector<std::int32_t>{-1, 2}));
    l.Clear();
    EXPECT_EQ(l.GetCount(), 0);
}

TEST(DataListTest, InsertAndMove)
{
    struct Case {
        std::initializer_list<std::int32_t> start;
        int a, b;
        bool move;
        std::vector<std::int32_t> want;
    };
    const Case cases[] = {
        {{1, 2}, 0, 7, false, {7, 1, 2}},
        {{1, 2}, 2, 7, false, {1, 2, 7}},
        {{}, 0, 7, false, {7}},
        {{1, 2, 3}, 0, 2, true, {2, 3, 1}},
        {{1, 2, 3}, 2, 0, true, {3, 1, 2}},
        {{1, 2, 3}, 1, 1, true, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        TDataList l = Make(c.start);
        if (c.move) l.Move(c.a, c.b);
        else l.Insert(c.a, c.b);
        EXPECT_EQ(Values(l), c.want) << c.a << "," << c.b;
    }
}

TEST(DataListTest, IndexErrorsChangeNothing)
{
    TDataList l = Make({1, 2, 3});
    ExpectIndexError(l, 3, [&] { l.GetValue(3); });
    ExpectIndexError(l, -1, [&] { l.GetValue(-1); });
    ExpectIndexError(l, 3, [&] { l.Delete(3); });
    ExpectIndexError(l, 4, [&] { l.Insert(4, 9); });
    ExpectIndexError(l, -1, [&] { l.Insert(-1, 9); });
    ExpectIndexError(l, 3, [&] { l.Move(0, 3); });
    ExpectIndexError(l, 5, [&] { l.Move(5, 0); });
    ExpectIndexError(l, 3, [&] { l.Move(3, 3); });
    TDataList empty;
    ExpectIndexError(empty, 0, [&] { empty.Delete(0); });
}

} // namespace
