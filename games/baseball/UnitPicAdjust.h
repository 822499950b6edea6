#pragma once
// "選手画像の調節": the dialog in which the user moves the glove, the bat and the ball over a thumbnail
// of the first player of each team, with the mouse or the keys. Page 0 is the user's team, page 1 the
// computer's; each page shows nine items: the glove in poses 0-3, the bat, the ball in poses 0-3.
// The caller fills the offsets and the pictures, shows it modally and reads the offsets after OK.
#include "Canvas.h"
#include "Form.h"
#include "ImageList.h"
#include "PaintBox.h"
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QToolButton;

// An up-down control: two arrow buttons that step a position within a range. The up or right button
// adds the increment, the down or left one takes it away. It never takes the focus.
class TAdjustUpDown : public QWidget {
public:
    TAdjustUpDown(QWidget* parent, Qt::Orientation orientation, int increment);

    int Min = -100, Max = 100;
    int Increment;
    int Position() const { return m_position; }
    // Kept within Min .. Max.
    void SetPosition(int p);
    // After a button has stepped the position.
    std::function<void()> OnClick;

    QToolButton* btNext; // up or right
    QToolButton* btPrev; // down or left

private:
    void step(int sign);
    int m_position = 0;
};

class TFormPicAdjust : public Form {
    Q_OBJECT
public:
    explicit TFormPicAdjust(QWidget* owner);

    static constexpr int kPages = 2, kItems = 9, kThumbSize = 110;

    // Filled by the caller before ShowModal: per page, where the team's mirrored pictures begin in its
    // picture list, the nine items' offsets, and the same offsets as they were at opening.
    std::array<int, kPages> FMirrorIndex{};
    std::array<std::array<QPoint, kItems>, kPages> FPos{};
    std::array<std::array<QPoint, kItems>, kPages> FInitPos{};
    // The baseball form's pictures: each page's team, the glove, the bat and the ball.
    std::array<const TImageList*, kPages> FTeamImages{};
    const TImageList* FGloveImages = nullptr;
    const TImageList* FBatImages = nullptr;
    const TImageList* FBallImages = nullptr;

    // Components.
    QTabWidget* pc1;
    QWidget* ts0;
    QWidget* ts1;
    std::array<std::array<TPaintBox*, kItems>, kPages> im{};
    std::array<std::array<QRadioButton*, kItems>, kPages> rb{};
    std::array<TAdjustUpDown*, kPages> udHori{};
    std::array<TAdjustUpDown*, kPages> udVert{};
    std::array<QPushButton*, kPages> btInit{};
    QPushButton* btSame0;
    QPushButton* btSame1;
    QPushButton* btOK;
    QPushButton* btCancel;
    QStatusBar* stb1;
    // Copies of the pictures the thumbnails show: per page the first player standing, moving, and
    // the same mirrored; the glove standing and moving; the bat at rest and the ball.
    std::array<TImageList, kPages> imlPlayer{TImageList(70, 70), TImageList(70, 70)};
    TImageList imlGlove{17, 17};
    TBitmap imBat, imBall;

    int SelectedPage() const { return m_selPage; }
    int SelectedItem() const { return m_selItem; }
    QString StatusText() const;

    // Handlers.
    void pc1Change();
    void rb00Click(int page, int item);
    void im00Click(int page, int item);
    void udHori0Click(int page, bool horizontal);
    void btInit0Click();
    void btSame0Click();
    void btOKClick();
    void btCancelClick();
    void DrawThumbnail(int team, int item, bool selected);
    void ShowHint(const QString& hint);

protected:
    void FormShow() override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    void FormKeyUp(Word& key, TShiftState shift) override;
    void FormKeyPress(QChar& key) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildPage(int page, QWidget* ts);
    void takePictures();
    // The arrow keys: move the selected item of the shown page by its up-downs' steps.
    void dialogKey(Word key);
    void setUpDowns();
    void placeCursorOnFocus();

    QPoint m_origin{55, 90}; // the bottom centre of the player picture drawn at (20, 20)
    TBitmap m_work;
    int m_selPage = 0, m_selItem = 0;
};
