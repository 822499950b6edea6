#pragma once
// The sample underlay's pictures: the sample read from its file, faded to a pale copy, and drawn
// zoomed under the canvas. The canvas shows over it wherever it is not pure white, so the sample
// is seen only through the cell's transparent parts and never becomes part of the cell. Nothing
// here needs a window.
#include "Color.h"
#include <QImage>
#include <QRect>
#include <QString>

// How pale the sample lies: each channel keeps 76/255 of the sample over white.
constexpr TColor kSampleFadeColor = 0xB3B3B3; // RGB(179, 179, 179)
// The largest sample taken, per side (as for pictures from the clipboard).
constexpr int kMaxSampleWidth = 2000;
constexpr int kMaxSampleHeight = 1500;

// Blends source, moved by offset, into target where they overlap: every source pixel that is not
// the skip colour turns its target pixel into (F x target + (255 - F) x source) div 255 per
// channel, F the fade colour's channel. Pixels of the skip colour leave the target as it is.
void FadeSampleImage(QImage& target, QPoint offset, TColor skip, TColor fade, const QImage& source);
// The faded sample: white of the sample's size with the sample blended in; its pure white stays
// white.
QImage FadedSample(const QImage& sample);
// Draws the faded sample stretched over the view rectangle `at` (nearest pixel), clipped to the
// view.
void DrawUnderlay(QImage& view, const QImage& faded, const QRect& at);

// Reads a sample picture by its extension (".bmp" or ".jpg", in any case). Refused, with the
// reason and nothing else changed: another extension, a file that is not a plain readable file
// (its system error code in fileError, else 0), bytes that do not decode, and a picture over the
// sample size.
bool ReadSamplePicture(const QString& path, QImage& out, QString& error, int& fileError);
