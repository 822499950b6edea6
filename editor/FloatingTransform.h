#pragma once
// The arithmetic of the floating images' transforms: stretching by a handle, where the handles go,
// rotating a picture about its centre and trimming what the rotation left empty, flipping, the
// frames, the arrow-key step, and turning clipboard pictures and typed text into pictures.
#include "Canvas.h"
#include "EditorGeometry.h"
#include "FloatingImage.h"
#include <QStringList>
#include <vector>

// Stretch handle tags: the four sides, then the four corners.
enum TStretchTag { stHL = 0, stHR, stVT, stVB, stLT, stRT, stLB, stRB };

// The image's rectangle while a stretch handle is dragged by d from start. Corners keep the
// aspect ratio (start width / start height): with heightLed the height follows the pointer and the
// width the ratio, else the other way round; the corner opposite the handle stays put.
TBounds StretchBounds(const TBounds& start, int tag, QPoint d, double ratio, bool heightLed);
// The rectangle with a positive size; flipH or flipV tells that a side went past the other.
TBounds PositiveBounds(const TBounds& b, bool& flipH, bool& flipV);

// The handles of a set around an image's rectangle, in their tag order: stretch HL, HR, VT, VB, LT,
// RT, LB, RB; rotation LT, RT, LB, RB; flip HL, HR, VT, VB. size is clamped to 6..12.
std::vector<QRect> HandleRects(THandle::TKind set, const QRect& image, int size);

// The size of a w x h picture turned by theta radians.
QSize RotatedSize(QSize size, double theta);
// The picture turned by theta about its centre (clockwise on the screen for a positive angle),
// nearest pixel; what lies outside the source takes the fill colour.
QImage RotateBitmap(const QImage& source, double theta, TColor fill);
// A rotation by the handles: when they show, the memory its steps will use made ready; at the
// press, a new rotation source (the picture as the image shows now, over white, turned by nothing
// yet); at each step, the image turned to its angle from that source and placed about centre,
// what lies outside the source in the fill colour.
void PrepareRotation(const TFloatingImage& image);
void TakeRotationSource(TFloatingImage& image);
void ShowTurned(TFloatingImage& image, QPoint centre, TColor fill);
// The smallest rectangle holding every pixel that is not the transparent colour; empty when none.
QRect OpaqueBounds(const QImage& picture, TColor transparent);
// The picture mirrored left to right (tag 0) or top to bottom (tag 1).
QImage FlipBitmap(const QImage& picture, int tag);

// The frame picture of a floating image of the given size: the sample's solid frame (tag 0), the
// copy's dashes (1) or the import's solid frame (2), in red on pure white.
QImage FrameBitmap(int tag, QSize imageSize);

// The screen pixels an arrow key moves a floating image by: the fewest that make a canvas pixel.
int ArrowStep(const TViewScale& scale);

// A clipboard picture as the editor takes it: see-through parts over pure white, 24-bit colour.
QImage ComposeOverWhite(const QImage& picture);
// Largest clipboard picture taken, per side.
constexpr int kMaxPasteWidth = 2000;
constexpr int kMaxPasteHeight = 1500;

// The picture of typed lines: each line at x 0, one below the other with the spacing between
// lines; as wide as the widest line, never smaller than one pixel.
QSize TextPictureSize(const QStringList& lines, const TFont& font, int spacing);
QImage TextPicture(const QStringList& lines, const TFont& font, int spacing);
