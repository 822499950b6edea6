// The picture work behind the import dialog: its zoom arithmetic, the undo store (the path back
// after undoing, both ways a state could once show a newer picture, the memory budget), the cut-out
// and the two erases at and past the picture's edge, the colour effect levels, and reading pictures
// of any size up to the cap.
#include "PictureImport.h"

#include "PictureFile.h"
#include "TestSupport.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A picture whose every pixel differs from its neighbours and none is pure white.
QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 7) % 250, (y * 11) % 250, (x + y) % 250));
    return img;
}

// A one-pixel picture that stands for state `id`.
QImage State(int id)
{
    QImage img(1, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(0, id / 256, id % 256));
    return img;
}

int IdOf(const QImage& img)
{
    return img.isNull() ? -1 : qGreen(img.pixel(0, 0)) * 256 + qBlue(img.pixel(0, 0));
}

bool White(const QImage& img, int x, int y)
{
    return FromPixel(img.pixel(x, y)) == clWhite;
}

// How many times a copy of the store can step back, as the dialog's undo button would.
int StepsBack(TPictureUndoStore store)
{
    int steps = 0;
    for (; store.CanUndo(); ++steps) store.Undo();
    return steps;
}

TCutOutline Outline(TCutShape shape, std::vector<QPoint> pts)
{
    TCutOutline o;
    o.Shape = shape;
    o.Points = std::move(pts);
    return o;
}

} // namespace

TEST(PictureImport, ZoomConversions)
{
    struct Case {
        int zoom, v, toScreen, toPicture, viewLength;
    } cases[] = {
        {150, 1, 2, 0, 2},   // 1.5 up to 2; 150 % shows 1 as 1.5 -> 2 (even)
        {50, 3, 2, 6, 2},    // 1.5 to even; a view pixel is two picture pixels
        {50, 5, 2, 10, 2},   // 2.5 to even
        {50, 1, 0, 2, 0},    // 0.5 to even
        {10, 15, 2, 150, 2}, // 1.5 to even
        {100, 7, 7, 7, 7},
        {800, 3, 24, 0, 24},
        {150, -1, -1, 0, -2}, // up is toward +infinity; view lengths round half to even
        {150, -2, -3, -1, -3},
    };
    for (const Case& c : cases) {
        const TPictureZoom z{c.zoom};
        EXPECT_EQ(z.PictureToScreen(c.v), c.toScreen) << c.zoom << " " << c.v;
        EXPECT_EQ(z.ScreenToPicture(c.v), c.toPicture) << c.zoom << " " << c.v;
        EXPECT_EQ(z.ViewLength(c.v), c.viewLength) << c.zoom << " " << c.v;
    }
}

// ---------------------------------------------------------------------------------------------
// Undo store

TEST(PictureImport, UndoReachesThirtyStatesBackAndRedoesThem)
{
    TPictureUndoStore store;
    store.Reset(State(0));
    EXPECT_FALSE(store.CanUndo());
    for (int i = 1; i <= 31; ++i) store.Push(State(i));
    int steps = 0;
    QImage last;
    while (store.CanUndo()) {
        last = store.Undo();
        ++steps;
    }
    EXPECT_EQ(steps, 30);
    EXPECT_EQ(IdOf(last), 1);
    for (int i = 2; i <= 31; ++i) EXPECT_EQ(IdOf(store.Redo()), i);
    EXPECT_FALSE(store.CanRedo());
}

TEST(PictureImport, ActingAfterUndoWalksBackThroughTheUndoneStates)
{
    TPictureUndoStore store;
    store.Reset(State(0));
    for (int i = 1; i <= 3; ++i) store.Push(State(i));
    EXPECT_EQ(IdOf(store.Undo()), 2);
    EXPECT_EQ(IdOf(store.Undo()), 1);
    store.Push(State(9));
    EXPECT_FALSE(store.CanRedo());
    std::vector<int> walk;
    while (store.CanUndo()) walk.push_back(IdOf(store.Undo()));
    EXPECT_EQ(walk, (std::vector<int>{1, 2, 3, 2, 1, 0}));
}

// Undoing all thirty steps of a full ring and acting: the path back is read before the ring is
// written over, so its oldest state is still the oldest picture.
TEST(PictureImport, AFullRingUndoneAndActedOnKeepsItsOldestState)
{
    TPictureUndoStore store;
    store.Reset(State(0));
    for (int i = 1; i <= 30; ++i) store.Push(State(i));
    while (store.CanUndo()) store.Undo();
    store.Push(State(100));
    for (int i = 0; i < 30; ++i) EXPECT_EQ(IdOf(store.Undo()), i);
    EXPECT_FALSE(store.CanUndo());
}

// A state on the path back is still reachable when thirty later actions have been taken: it shows
// its own picture, not the one written thirty-one actions later.
TEST(PictureImport, APathBackStateOutlivesLaterActions)
{
    TPictureUndoStore store;
    store.Reset(State(0));
    store.Push(State(1));
    store.Push(State(2));
    store.Undo();
    store.Undo();
    store.Push(State(3)); // path back: 1, 0
    for (int i = 10; i < 38; ++i) store.Push(State(i));
    std::vector<int> tail;
    while (store.CanUndo()) tail.push_back(IdOf(store.Undo()));
    ASSERT_EQ(tail.size(), 30u);
    EXPECT_EQ(std::vector<int>(tail.end() - 3, tail.end()), (std::vector<int>{3, 0, 1}));
}

TEST(PictureImport, UndoStoreStaysWithinItsBudgetAndKeepsWhatShows)
{
    const QImage a = Pattern(100, 100), b = Pattern(100, 99), c = Pattern(99, 100);
    const qint64 one = a.sizeInBytes();
    // Three distinct pictures fit; a state that comes again on the path back costs nothing more.
    TPictureUndoStore store(3 * one + one / 2);
    store.Reset(a);
    store.Push(b);
    store.Undo();
    store.Push(c);
    EXPECT_EQ(StepsBack(store), 3);
    for (int i = 0; i < 5; ++i) store.Push(Pattern(100 - i, 100));
    EXPECT_LE(store.HeldBytes(), 3 * one + one / 2);
    EXPECT_EQ(StepsBack(store), 2);
    // A budget smaller than one picture still keeps the picture shown.
    TPictureUndoStore tight(one / 2);
    tight.Reset(a);
    tight.Push(b);
    EXPECT_FALSE(tight.CanUndo());
    EXPECT_EQ(tight.HeldBytes(), b.sizeInBytes());
}

// ---------------------------------------------------------------------------------------------
// Cut-out and erases

TEST(PictureImport, CutOutPastTheEdgeIsClampedToThePicture)
{
    const QImage original = Pattern(40, 30);
    struct Case {
        TCutOutline outline;
        QSize size;
        QPoint at; // the box's top-left in the original
    } cases[] = {
        {Outline(TCutShape::Rectangle, {{10, 5}, {60, 50}}), {30, 25}, {10, 5}},
        {Outline(TCutShape::Rectangle, {{-8, 20}, {25, -4}}), {25, 20}, {0, 0}},
        {Outline(TCutShape::Ellipse, {{-20, -20}, {20, 20}}), {20, 20}, {0, 0}},
        {Outline(TCutShape::FreeHand, {{5, 5}, {50, 5}, {50, 40}, {5, 40}}), {35, 25}, {5, 5}},
    };
    for (const Case& c : cases) {
        QImage pic = original;
        ASSERT_TRUE(CutOut(pic, c.outline, 1));
        ASSERT_EQ(pic.size(), c.size);
        // The outline's own pixels are gone, what it encloses is as it was.
        EXPECT_TRUE(White(pic, 0, 0));
        const QPoint inside(c.size.width() / 2, c.size.height() / 2);
        EXPECT_EQ(pic.pixel(inside), original.pixel(inside + c.at));
        for (int y = 1; y < c.size.height(); ++y)
            for (int x = 1; x < c.size.width(); ++x)
                if (!White(pic, x, y)) {
                    ASSERT_EQ(pic.pixel(x, y), original.pixel(x + c.at.x(), y + c.at.y()));
                }
    }
    // The rectangle cut leaves a one-pixel edge and keeps everything within it.
    QImage pic = original;
    CutOut(pic, Outline(TCutShape::Rectangle, {{10, 5}, {60, 50}}), 3);
    EXPECT_TRUE(White(pic, 1, 10));
    EXPECT_EQ(pic.pixel(2, 10), original.pixel(12, 15));
}

TEST(PictureImport, AnOutlineThatEnclosesNothingChangesNothing)
{
    const QImage original = Pattern(20, 20);
    const TCutOutline nothing[] = {
        Outline(TCutShape::Rectangle, {{5, 5}, {5, 5}}),       // a click
        Outline(TCutShape::Ellipse, {{3, 8}, {15, 8}}),        // no height
        Outline(TCutShape::FreeHand, {{2, 2}, {2, 9}, {2, 4}}), // no width
        Outline(TCutShape::Rectangle, {{25, 3}, {40, 10}}),    // wholly right of the picture
    };
    for (const TCutOutline& o : nothing) {
        QImage pic = original;
        EXPECT_FALSE(CutOut(pic, o, 1));
        EXPECT_FALSE(EraseInside(pic, o, 1));
        EXPECT_FALSE(o.EnclosesWithin(pic.size()));
        EXPECT_TRUE(pic == original);
    }
}

TEST(PictureImport, ErasesKeepTheSizeAndTouchOnlyTheirPart)
{
    const QImage original = Pattern(40, 30);
    const TCutOutline rect = Outline(TCutShape::Rectangle, {{10, 10}, {30, 20}});
    QImage inside = original;
    ASSERT_TRUE(EraseInside(inside, rect, 1));
    EXPECT_EQ(inside.size(), original.size());
    EXPECT_TRUE(White(inside, 10, 10) && White(inside, 20, 15) && White(inside, 29, 19));
    EXPECT_EQ(inside.pixel(30, 20), original.pixel(30, 20));
    EXPECT_EQ(inside.pixel(9, 15), original.pixel(9, 15));

    QImage along = original;
    ASSERT_TRUE(EraseAlong(along, rect, 1));
    EXPECT_EQ(along.size(), original.size());
    EXPECT_TRUE(White(along, 10, 15) && White(along, 29, 15) && White(along, 20, 19));
    EXPECT_EQ(along.pixel(20, 15), original.pixel(20, 15));
    // A free outline is erased along its path only: it is not closed.
    QImage open = original;
    ASSERT_TRUE(EraseAlong(open, Outline(TCutShape::FreeHand, {{5, 5}, {35, 5}, {35, 25}}), 1));
    EXPECT_TRUE(White(open, 20, 5) && White(open, 35, 15));
    EXPECT_EQ(open.pixel(20, 15), original.pixel(20, 15));
    // Erasing in place never reaches a picture that shares the pixels.
    const QImage shared = original;
    QImage mine = shared;
    EraseInside(mine, rect, 1);
    EXPECT_TRUE(shared == original);
}

TEST(PictureImport, TheWholePictureOutlineKeepsTheSize)
{
    const QImage original = Pattern(17, 9);
    QImage pic = original;
    ASSERT_TRUE(CutOut(pic, WholePictureOutline(pic.size()), 1));
    EXPECT_EQ(pic.size(), original.size());
    EXPECT_EQ(pic.pixel(8, 4), original.pixel(8, 4));
}

// ---------------------------------------------------------------------------------------------
// Colour effect

TEST(PictureImport, ColourEffectLevels)
{
    QImage src(6, 1, QImage::Format_RGB32);
    const QRgb px[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(100, 100, 100), qRgb(1, 0, 2), qRgb(7, 128, 250),
                       qRgb(30, 60, 90)};
    for (int x = 0; x < 6; ++x) src.setPixel(x, 0, px[x]);
    struct Case {
        int bri, r, g, b, x;
        QRgb expected;
    } cases[] = {
        {100, 0, 0, 0, 0, qRgb(255, 255, 255)},    // 0 + 255
        {100, 0, 0, 0, 4, qRgb(255, 255, 255)},    // held at 255
        {-60, 20, 0, 0, 1, qRgb(255, 255, 255)},   // pure white stays see-through
        {-100, 100, 0, 0, 2, qRgb(100, 0, 0)},     // red unchanged, the others down by 255
        {0, 1, 0, 0, 2, qRgb(103, 100, 100)},      // 102.55
        {20, -20, 0, 0, 5, qRgb(30, 111, 141)},    // offsets add: red stays
        {0, 10, 10, 10, 3, qRgb(26, 26, 28)},      // 26.5 and 25.5 both to 26, 27.5 to 28
        {0, 0, 0, 0, 4, qRgb(7, 128, 250)},        // centred bars: as it was
    };
    for (const Case& c : cases) {
        const QImage out = ApplyPictureEffect(src, c.bri, c.r, c.g, c.b);
        EXPECT_EQ(out.pixel(c.x, 0) | 0xFF000000u, c.expected) << c.bri << " " << c.r << " " << c.x;
    }
    EXPECT_TRUE(ApplyPictureEffect(src, 0, 0, 0, 0) == src);
}

// ---------------------------------------------------------------------------------------------
// Reading

TEST(PictureImport, ReadsAnyPictureFromOnePixelUpToTheCap)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.path() + QLatin1Char('/') + QLatin1String(name); };
    WriteFile(at("dot.bmp"), EncodeBmp24(Pattern(1, 1)));
    QByteArray jpeg;
    ASSERT_TRUE(EncodeJpeg(Pattern(3, 2), 100, jpeg));
    WriteFile(at("tiny.jpg"), jpeg);
    QImage out;
    QString error;
    ASSERT_TRUE(ReadImportPicture(at("dot.bmp"), out, error));
    EXPECT_EQ(out.size(), QSize(1, 1));
    ASSERT_TRUE(ReadImportPicture(at("tiny.jpg"), out, error));
    EXPECT_EQ(out.size(), QSize(3, 2));

    // Over the size cap; broken, empty, foreign and non-regular files are the dialog's tests.
    QByteArray huge = EncodeBmp24(Pattern(4, 4)); // claims 10000 x 10000 pixels
    for (int i : {18, 22}) {
        huge[i] = char(0x10);
        huge[i + 1] = char(0x27);
    }
    WriteFile(at("huge.bmp"), huge);
    QImage img = Pattern(2, 2);
    const QImage kept = img;
    EXPECT_FALSE(ReadImportPicture(at("huge.bmp"), img, error));
    EXPECT_EQ(error, QStringLiteral("画像が大きすぎます。"));
    EXPECT_TRUE(img == kept);
}
