// The undo ring, the snapshot format and its reader, and undo and redo through the engine.
#include "Dialogs.h"
#include "PictureFile.h"
#include "ShapeEngine.h"
#include "ShapeSnapshot.h"
#include "Sjis.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include "TestDoubles.h"

namespace {

QByteArray Snap(int n)
{
    return QByteArray("state ") + QByteArray::number(n);
}

// Walks undo to the bottom and lists the states shown.
std::vector<QByteArray> UndoWalk(TUndoRing& ring)
{
    std::vector<QByteArray> shown;
    while (ring.StepBack()) shown.push_back(ring.Current());
    return shown;
}

// Little-endian words, written out by hand for the golden snapshots.
struct Bytes {
    QByteArray d;
    Bytes& i32(std::int32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        d.append(b, 4);
        return *this;
    }
    Bytes& pt(int x, int y) { return i32(x).i32(y); }
    Bytes& raw(const QByteArray& b)
    {
        d.append(b);
        return *this;
    }
    Bytes& u8(int v)
    {
        d.append(char(v));
        return *this;
    }
};

TShapeRecord Record(int kind)
{
    TShapeRecord r;
    r.Kind = kind;
    r.Color = r.Color2 = r.FillColor = 0x0000FF;
    r.PenStyle = 1;
    r.Width = 3;
    r.Curve = kind == skLine ? -7 : 0;
    r.A[0] = QPoint(10, 20);
    r.B[0] = QPoint(30, 40);
    r.SyncCD();
    r.Handle = QPoint(20, 30);
    r.Leftmost = QPoint(10, 25);
    r.Topmost = QPoint(15, 20);
    r.Rightmost = QPoint(30, 35);
    r.Bottommost = QPoint(25, 40);
    r.MarginL = -2;
    r.MarginT = -1;
    r.MarginR = 2;
    r.MarginB = 1;
    return r;
}

// The fixed part of a record as the format lays it out.
Bytes FixedPart(const TShapeRecord& r)
{
    Bytes b;
    b.i32(r.Kind).i32(4).u8(r.FreeOutline).u8(0);
    b.i32(std::int32_t(r.Color)).i32(std::int32_t(r.Color2)).i32(std::int32_t(r.FillColor));
    b.i32(r.PenStyle).i32(r.Width).i32(r.Curve).i32(r.StretchType).i32(0);
    b.pt(10, 20).pt(30, 40).pt(0, 0).pt(0, 0).pt(0, 0).pt(0, 0);  // A0 B0 A1 B1 A2 B2
    b.pt(10, 20).pt(30, 40).pt(0, 0).pt(0, 0).pt(0, 0).pt(0, 0);  // C0 D0 C1 D1 C2 D2
    b.pt(20, 30).pt(10, 25).pt(15, 20).pt(30, 35).pt(25, 40);     // handle, extremes
    b.i32(-2).i32(-1).i32(2).i32(1);
    return b;
}

QByteArray WithSize(QByteArray body)
{
    Bytes b;
    b.i32(std::int32_t(body.size() + 4)).raw(body);
    return b.d;
}

TShapeList AllKinds()
{
    TShapeList list;
    for (int kind : {skRectangle, skEllipse, skLine}) list.push_back(Record(kind));
    TShapeRecord pen = Record(skPen);
    pen.Points = {QPoint(10, 20), QPoint(12, 22), QPoint(30, 40)};
    list.push_back(pen);
    TShapeRecord fill = Record(skFill);
    list.push_back(fill);
    TShapeRecord pic = Record(skPicture);
    pic.Picture = std::make_shared<TBitmap>(3, 2);
    pic.Picture->Image().setPixel(1, 1, ToPixel(0x123456));
    pic.Text = QStringLiteral("顔の画像.bmp");
    list.push_back(pic);
    TShapeRecord cut = Record(skPicture);
    cut.FreeOutline = 1;
    cut.Picture = std::make_shared<TBitmap>(4, 4);
    cut.Points = {QPoint(30, 40), QPoint(34, 40), QPoint(32, 44)};
    list.push_back(cut);
    return list;
}

} // namespace

TEST(UndoRing, ThirtyFivePushesLeaveThirtySteps)
{
    TUndoRing ring;
    for (int i = 1; i <= 35; ++i) EXPECT_TRUE(ring.Push(Snap(i)));
    EXPECT_EQ(ring.Cur(), 35);
    EXPECT_FALSE(ring.CanRedo());
    const auto walk = UndoWalk(ring);
    ASSERT_EQ(walk.size(), 30u);
    EXPECT_EQ(walk.front(), Snap(34));
    EXPECT_EQ(walk.back(), Snap(5));
    EXPECT_EQ(ring.Cur(), 5); // the lowest position kept
}

TEST(UndoRing, UndoneStatesAreAppendedAgainInReverse)
{
    TUndoRing ring;
    for (int i = 1; i <= 5; ++i) ring.Push(Snap(i));
    ring.StepBack();
    ring.StepBack();
    EXPECT_EQ(ring.Current(), Snap(3));
    ring.Push(Snap(6));
    EXPECT_EQ(ring.Cur(), 8);
    EXPECT_FALSE(ring.CanRedo());
    const QByteArray expected[] = {EmptySnapshot(), Snap(1), Snap(2), Snap(3), Snap(4), Snap(5), Snap(4), Snap(3), Snap(6)};
    for (int p = 0; p <= 8; ++p) EXPECT_EQ(ring.At(p), expected[p]) << p;
    const auto walk = UndoWalk(ring);
    const std::vector<QByteArray> shown{Snap(3), Snap(4), Snap(5), Snap(4), Snap(3), Snap(2), Snap(1), EmptySnapshot()};
    EXPECT_EQ(walk, shown);
}

TEST(UndoRing, AnIdenticalPushAddsNothingAndKeepsRedo)
{
    TUndoRing ring;
    ring.Push(Snap(1));
    ring.Push(Snap(2));
    ring.StepBack();
    EXPECT_FALSE(ring.Push(Snap(1)));
    EXPECT_EQ(ring.Cur(), 1);
    // The one state undone is still there to redo, and nothing beyond it.
    EXPECT_TRUE(ring.StepForward());
    EXPECT_EQ(ring.Current(), Snap(2));
    EXPECT_FALSE(ring.CanRedo());
}

TEST(UndoRing, ReappendingPastTheRingTakesEverySourceFirst)
{
    TUndoRing ring;
    for (int i = 1; i <= 20; ++i) ring.Push(Snap(i));
    for (int i = 0; i < 18; ++i) ring.StepBack();
    EXPECT_EQ(ring.Current(), Snap(2));
    ring.Push(Snap(99));
    // Positions 21..38 hold 19, 18, ..., 2, then the new state; low is 9.
    EXPECT_EQ(ring.Cur(), 39);
    EXPECT_FALSE(ring.CanRedo());
    std::vector<QByteArray> expected;
    for (int s = 2; s <= 19; ++s) expected.push_back(Snap(s));
    for (int s = 20; s >= 9; --s) expected.push_back(Snap(s));
    EXPECT_EQ(UndoWalk(ring), expected);
    EXPECT_EQ(ring.Cur(), 9);
}

TEST(UndoRing, ClearLeavesTheEmptySnapshot)
{
    TUndoRing ring;
    ring.Push(Snap(1));
    ring.Clear();
    EXPECT_EQ(ring.Current(), QByteArray(8, '\0'));
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.CanRedo());
}

TEST(Snapshot, GoldenBytesOfEachKind)
{
    for (int kind : {skRectangle, skEllipse, skLine}) {
        const TShapeRecord r = Record(kind);
        Bytes body;
        body.i32(1).raw(FixedPart(r).d).i32(0).i32(0);
        EXPECT_EQ(MakeSnapshot({r}), WithSize(body.d)) << kind;
    }
    {
        TShapeRecord pen = Record(skPen);
        pen.Points = {QPoint(1, 2), QPoint(3, 4)};
        Bytes body;
        body.i32(1).raw(FixedPart(pen).d).i32(0).i32(0).i32(2).pt(1, 2).pt(3, 4);
        EXPECT_EQ(MakeSnapshot({pen}), WithSize(body.d));
    }
    {
        const TShapeRecord fill = Record(skFill);
        Bytes body;
        body.i32(1).raw(FixedPart(fill).d).i32(0).i32(0).i32(0);
        EXPECT_EQ(MakeSnapshot({fill}), WithSize(body.d));
    }
    {
        TShapeRecord pic = Record(skPicture);
        pic.Picture = std::make_shared<TBitmap>(2, 1);
        pic.Text = QStringLiteral("a.bmp");
        const QByteArray bmp = EncodeBmp24(pic.Picture->Image());
        ASSERT_EQ(bmp.size(), 54 + 8);
        Bytes body;
        body.i32(1).raw(FixedPart(pic).d).i32(0).i32(5).raw("a.bmp").i32(std::int32_t(bmp.size())).raw(bmp);
        EXPECT_EQ(MakeSnapshot({pic}), WithSize(body.d));
    }
    {
        // A free outline travels with its points before the picture.
        TShapeRecord cut = Record(skPicture);
        cut.FreeOutline = 1;
        cut.Picture = std::make_shared<TBitmap>(1, 1);
        cut.Points = {QPoint(5, 6)};
        const QByteArray bmp = EncodeBmp24(cut.Picture->Image());
        Bytes body;
        body.i32(1).raw(FixedPart(cut).d).i32(0).i32(0).i32(1).pt(5, 6).i32(std::int32_t(bmp.size())).raw(bmp);
        EXPECT_EQ(MakeSnapshot({cut}), WithSize(body.d));
    }
    // Text goes in Shift-JIS.
    TShapeRecord named = Record(skRectangle);
    named.Text = QStringLiteral("顔");
    EXPECT_TRUE(MakeSnapshot({named}).contains(ToSjis(QStringLiteral("顔"))));
    EXPECT_EQ(MakeSnapshot({}), WithSize(Bytes().i32(0).d));
}

TEST(Snapshot, WriteReadWriteIsIdentity)
{
    const TShapeList list = AllKinds();
    const QByteArray once = MakeSnapshot(list);
    TShapeList back;
    ASSERT_TRUE(ReadSnapshot(once, back));
    ASSERT_EQ(back.size(), list.size());
    EXPECT_EQ(back[5].Text, QStringLiteral("顔の画像.bmp"));
    EXPECT_EQ(back[5].Picture->Canvas().Pixel(1, 1), TColor(0x123456));
    EXPECT_TRUE(back[5].Picture->Transparent);
    EXPECT_EQ(MakeSnapshot(back), once);
    // The empty slot reads as an empty list.
    TShapeList none{Record(skRectangle)};
    EXPECT_TRUE(ReadSnapshot(EmptySnapshot(), none));
    EXPECT_TRUE(none.empty());
}

TEST(Snapshot, PointsAreMovedWhenWritten)
{
    TShapeRecord pen = Record(skPen);
    pen.Points = {QPoint(1, 2)};
    const QByteArray moved = WriteShapeList({pen}, 100, 200);
    TShapeList back;
    ASSERT_TRUE(ReadSnapshot(WithSize(moved), back));
    EXPECT_EQ(back[0].A[0], QPoint(110, 220));
    EXPECT_EQ(back[0].Handle, QPoint(120, 230));
    EXPECT_EQ(back[0].Points[0], QPoint(101, 202));
}

TEST(Snapshot, EveryTruncationIsRefused)
{
    const QByteArray whole = MakeSnapshot(AllKinds());
    for (qsizetype n = 0; n < whole.size(); ++n) {
        TShapeList out{Record(skEllipse)};
        QByteArray cut = whole.left(n);
        EXPECT_FALSE(ReadSnapshot(cut, out)) << n;
        // Also with a size word that agrees with the cut length.
        if (n >= 4) {
            qToLittleEndian(std::int32_t(n), cut.data());
            EXPECT_FALSE(ReadSnapshot(cut, out)) << "patched " << n;
        }
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].Kind, skEllipse);
    }
}

TEST(Snapshot, HostileLengthsAreRefused)
{
    auto withLengths = [](std::int32_t font, std::int32_t text, std::int32_t count, std::int32_t pic) {
        TShapeRecord r = Record(count == -99 ? skRectangle : skPicture);
        r.FreeOutline = 1;
        Bytes body;
        body.i32(1).raw(FixedPart(r).d).i32(font).i32(text).i32(count).i32(pic);
        return WithSize(body.d);
    };
    TShapeList out;
    EXPECT_FALSE(ReadSnapshot(withLengths(-1, 0, 0, 0), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, -4, 0, 0), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, -1, 0), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, 0, -1), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0x7FFFFFFF, 0, 0, 0), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, 0x7FFFFFFF, 0), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, 0x20000000, 0), out)); // 8 x count wraps in 32 bits
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, 0, 0x7FFFFFFF), out));
    EXPECT_FALSE(ReadSnapshot(withLengths(0, 0, 0, 4), out));         // too short
    Bytes count;
    count.i32(12).i32(-1).i32(0);
    EXPECT_FALSE(ReadSnapshot(count.d, out));
    Bytes many;
    many.i32(12).i32(0x7FFFFFFF).i32(0);
    EXPECT_FALSE(ReadSnapshot(many.d, out));
    // A picture that is not a bitmap file.
    Bytes junk;
    TShapeRecord pic = Record(skPicture);
    junk.i32(1).raw(FixedPart(pic).d).i32(0).i32(0).i32(4).raw("abcd");
    EXPECT_FALSE(ReadSnapshot(WithSize(junk.d), out));
    // A point no tool can make.
    TShapeRecord far = Record(skRectangle);
    far.B[0] = QPoint(1 << 20, 5);
    EXPECT_FALSE(ReadSnapshot(MakeSnapshot({far}), out));
    // Trailing bytes and a wrong size word.
    QByteArray longer = MakeSnapshot(AllKinds()) + "x";
    EXPECT_FALSE(ReadSnapshot(longer, out));
    EXPECT_TRUE(out.empty());
}

class EngineUndo : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDialogs(&dialogs);
        e.FindNearWhites();
        e.Scale.Zoom = 100;
        e.ClearUndo();
        e.SavedState(false);
    }
    void TearDown() override { SetDialogs(nullptr); }
    void Draw(QPoint a, QPoint b)
    {
        e.ToolKind = e.SavedToolKind = skRectangle;
        e.StartPoint = a;
        e.CurrentPoint = b;
        e.AddShapeRecord(e.BuildShape(clBlack));
        e.PushUndo();
    }
    RecordingDialogs dialogs;
    TShapeEngine e;
};

TEST_F(EngineUndo, UndoAndRedoRestoreTheDrawing)
{
    Draw(QPoint(10, 10), QPoint(30, 30));
    const QImage one = e.Canvas.Image().copy();
    Draw(QPoint(50, 10), QPoint(70, 30));
    const QImage two = e.Canvas.Image().copy();
    e.UndoClick();
    EXPECT_EQ(e.Shapes.size(), 1u);
    EXPECT_TRUE(e.Canvas.Image() == one);
    e.RedoClick();
    EXPECT_EQ(e.Shapes.size(), 2u);
    EXPECT_TRUE(e.Canvas.Image() == two);
    e.UndoClick();
    e.UndoClick();
    EXPECT_TRUE(e.Shapes.empty());
    EXPECT_FALSE(e.CanUndo());
    EXPECT_TRUE(dialogs.records.empty());
}

TEST_F(EngineUndo, ChangedSinceSave)
{
    EXPECT_FALSE(e.SavedState(true));
    Draw(QPoint(10, 10), QPoint(30, 30));
    EXPECT_TRUE(e.SavedState(true));
    e.UndoClick();
    EXPECT_FALSE(e.SavedState(true));
}

TEST_F(EngineUndo, ADamagedSnapshotChangesNothing)
{
    Draw(QPoint(10, 10), QPoint(30, 30));
    Draw(QPoint(50, 10), QPoint(70, 30));
    const QImage before = e.Canvas.Image().copy();
    e.Undo.SlotOf(e.Undo.Cur() - 1).chop(3);
    // Something has drawn over the canvas meanwhile: it is put right again.
    e.Canvas.Image().fill(ToPixel(clRed));
    e.UndoClick();
    EXPECT_EQ(e.Shapes.size(), 2u);
    EXPECT_EQ(e.Undo.Cur(), 2);
    EXPECT_TRUE(e.Canvas.Image() == before);
    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("内部データエラー"));
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.BeepCount(MB_ICONASTERISK), 1);
}
