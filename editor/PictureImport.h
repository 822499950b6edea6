#pragma once
// The picture work behind the picture import dialog, without a window: reading the picture file,
// the dialog's zoom arithmetic, the cut-out outline and the three things it does to the working
// picture (cut out, erase inside, erase along), the dialog's own undo store, and the colour effect
// levels. Pure white is transparent in every picture here, as everywhere in the editor.
#include "Canvas.h"
#include "Color.h"
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Reading

// A BMP or JPEG picture of any size from one pixel up to the size cap, by the name's extension,
// as an RGB32 picture. Refused with the reason: an unknown extension, what cannot be read (its
// system error code goes to fileError, else 0) and what does not decode.
bool ReadImportPicture(const QString& path, QImage& out, QString& error, int* fileError = nullptr);
// The largest picture the editor takes from the dialog, per side in screen pixels.
constexpr int kMaxImportWidth = 2000;
constexpr int kMaxImportHeight = 1500;

// ---------------------------------------------------------------------------------------------
// Zoom of the dialog's view (10 to 800 percent)

struct TPictureZoom {
    int Zoom = 100;
    // A view coordinate to a picture pixel, truncated toward zero.
    int ScreenToPicture(int v) const;
    QPoint ScreenToPicturePoint(QPoint v) const { return QPoint(ScreenToPicture(v.x()), ScreenToPicture(v.y())); }
    // A picture coordinate to the view: rounded up from 100 percent on, else rounded (halves to even).
    int PictureToScreen(int v) const;
    QPoint PictureToScreenPoint(QPoint p) const { return QPoint(PictureToScreen(p.x()), PictureToScreen(p.y())); }
    // The view's length for a picture length: rounded, halves to even.
    int ViewLength(int pictureLength) const;
};

// ---------------------------------------------------------------------------------------------
// The cut-out outline

enum class TCutShape { Rectangle, Ellipse, FreeHand };

struct TCutOutline {
    TCutShape Shape = TCutShape::Rectangle;
    // Picture pixels: the two corners of a rectangle or ellipse, the path of a free outline.
    std::vector<QPoint> Points;

    bool Empty() const { return Points.empty(); }
    void Clear() { Points.clear(); }
    // A press: a free outline starts at p; a rectangle or ellipse has both corners at p.
    void Start(TCutShape shape, QPoint p);
    // A move: a free outline goes on to p; a rectangle or ellipse takes p as its second corner,
    // made square with `square` (both offsets from the first corner take the larger one, signs kept).
    void Extend(QPoint p, bool square);
    // The box the outline encloses: between the corners (right and bottom edges exclusive) or the
    // free outline's smallest and largest coordinates.
    QRect Box() const;
    // An outline that encloses nothing (narrower or lower than one pixel) is no outline.
    bool Encloses() const;
    // Every point held within 0..size (the edges included).
    void ClampTo(QSize size);
    // The outline as it would be clamped to a picture of `size`: whether it still encloses.
    bool EnclosesWithin(QSize size) const;
};

// The four corners of a picture as a free outline: the whole picture, whatever the shape tool.
TCutOutline WholePictureOutline(QSize size);

// Draws the outline's shape on a picture: its edge with the pen (a free outline as an open line
// unless `closed`), its inside with the brush when the brush is solid. `offset` is added to every
// point.
void DrawOutline(QImage& img, const TCutOutline& o, const TPen& pen, const TBrush& brush, bool closed,
                 QPoint offset = QPoint());

// Keeps only what the outline encloses: the picture becomes the outline's box (clamped to the
// picture), pure white on and outside the outline drawn with a pen of `penWidth`. False, and the
// picture untouched, when the clamped outline encloses nothing.
bool CutOut(QImage& picture, TCutOutline outline, int penWidth);
// Makes the outline's inside and its edge pure white; the picture keeps its size.
bool EraseInside(QImage& picture, TCutOutline outline, int penWidth);
// Makes the outline's edge pure white (a free outline as an open line); the picture keeps its size.
bool EraseAlong(QImage& picture, const TCutOutline& outline, int penWidth);

// ---------------------------------------------------------------------------------------------
// The dialog's undo store

// Up to 31 states of the working picture in a ring, each its own picture (a state is never changed
// by what is done to the working picture later); undoing and then acting keeps the undone states
// reachable, as a path back through them. The states held stay within a memory budget: the oldest
// go first, never the one shown.
class TPictureUndoStore {
public:
    static constexpr int kSlots = 31;
    static constexpr qint64 kDefaultBudget = 512LL << 20;
    explicit TPictureUndoStore(qint64 budgetBytes = kDefaultBudget) : m_budget(budgetBytes) {}

    // Starts again from this picture, with nothing to undo.
    void Reset(const QImage& picture);
    // A new state after an action.
    void Push(const QImage& picture);
    bool CanUndo() const { return m_current != m_low; }
    bool CanRedo() const { return m_current != m_top; }
    // The state to show after one step back or on; a null picture when there is no step.
    QImage Undo();
    QImage Redo();
    // The bytes of the distinct pictures held.
    qint64 HeldBytes() const;

private:
    QImage& at(qint64 position) { return m_slots[size_t(position % kSlots)]; }
    const QImage& at(qint64 position) const { return m_slots[size_t(position % kSlots)]; }
    void dropOldest();
    std::array<QImage, kSlots> m_slots;
    qint64 m_current = 0, m_low = 0, m_top = 0;
    qint64 m_budget;
};

// ---------------------------------------------------------------------------------------------
// Colour effect

// Every channel c of every pixel: c + (brightness + the channel's own offset) / 100 x 255, held
// within 0..255 and rounded (halves to even). Offsets are -100..100. Pure white, the see-through
// part of a picture, stays pure white.
QImage ApplyPictureEffect(const QImage& source, int brightness, int red, int green, int blue);
