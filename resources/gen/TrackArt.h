#pragma once
// Scenery that the running race and the hurdle race share: the stands full of spectators, mown
// grass, the brick-red running surface with its white lines, and the photo of the finish.
#include "PixelArt.h"

namespace track {

constexpr QRgb kSurface = px::Rgb(206, 98, 66);      // the running surface
constexpr QRgb kSurfaceDark = px::Rgb(190, 86, 58);
constexpr QRgb kLine = px::Rgb(250, 250, 244);
constexpr QRgb kGrassA = px::Rgb(112, 196, 92), kGrassB = px::Rgb(98, 184, 82);

// A strip of sky, then tiers of seats with spectators in many colours, a roof edge above and a
// railing along the bottom, over rows top..bottom-1.
void Stands(QImage& img, int top, int bottom, unsigned seed);
// Grass mown in slanted bands over a rectangle.
void Grass(QImage& img, const QRect& r, int band = 10);
// The running surface over the pixels of a mask, with a fine grain.
void Surface(QImage& img, const px::Mask& m);
// A checkered band (the finish line) over a mask.
void Checkered(QImage& img, const px::Mask& m, int cell);
// A little flower: petals round a yellow heart, on a short stem.
void Flower(QImage& img, int cx, int cy, QRgb petal);

// The photo of the finish as the judges see it: the line, and the winner's foot over it first.
// Team 0 is the user's (red socks, dark boots), team 1 the opponent's (blue socks, white boots).
QImage FinishPhoto(int winner);

} // namespace track
