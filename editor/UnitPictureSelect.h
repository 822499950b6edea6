#pragma once
// The picture import dialog "画像の取り込み": the user opens a BMP or JPEG picture, draws an
// outline (rectangle, ellipse or free hand) on the zoomed picture, and cuts out, erases inside or
// erases along it, with an undo of its own and the colour effect dialog; OK hands the working
// picture to the editor, which shows it as the imported picture. The form lives for the whole run
// and keeps its pictures, file name, settings and undo states between showings.
#include "Form.h"
#include "MyFileDialogs.h"
#include "PictureImport.h"
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QToolButton;
class GameTimer;
class TFormPicEffect;
class TFormSelectWidth;
class TPictureSelectView;

class TFormPictureSelect : public Form {
    Q_OBJECT
public:
    // widthDialog: the editor's line width dialog; pictureFolder: where the open dialog starts;
    // opaqueWhite: the visible white that enclosed pure white becomes on opening.
    TFormPictureSelect(QWidget* owner, TFormSelectWidth* widthDialog, const QString& pictureFolder, TColor opaqueWhite);
    ~TFormPictureSelect() override;

    // --- what the editor and the colour effect dialog read -------------------------------------
    QImage Opened;  // the picture as last opened ("元画像に戻す")
    QImage Working; // the picture being cut; the result after OK
    QString FileName;
    int PictureToScreen(int v) const { return m_zoom.PictureToScreen(v); }
    int ScreenToPicture(int v) const { return m_zoom.ScreenToPicture(v); }
    QPoint ScreenToPicturePoint(QPoint v) const { return m_zoom.ScreenToPicturePoint(v); }
    // The size the editor shows the result at: as shown here with CheckBox1, else as it is.
    QSize ResultSize() const;
    // The zoom re-layout and a repaint, after the working picture was replaced.
    void UpDown1Click();
    void RepaintView();

    // --- commands -------------------------------------------------------------------------------
    void sbOpenClick();
    void sbReOpenClick();
    void sbSelectClick();
    void sbEraseRClick();
    void sbEraseLClick();
    void sbSelectAllClick();
    void sbUndoClick();
    void sbRedoClick();
    void sbBackColorClick();
    void sbSelectColorClick();
    void sbSelectWidthClick();
    void bt100Click();
    void cbIncrementClick();
    void btOKClick();
    void btCancelClick() { SetModalResult(mrCancel); }
    void Effect1Click();
    void UpdateCaption();

    // --- state ----------------------------------------------------------------------------------
    TColor BackColor = 0x00FF00;   // cdBackColor
    TColor SelectColor = 0x0000FF; // cdSelectColor
    int SelectWidth = 1;
    TCutOutline Outline;
    TPictureUndoStore UndoStore;
    bool Dragging = false;
    // The colour dialogs (cdBackColor, cdSelectColor): true with the chosen colour on OK. Tests
    // replace them.
    std::function<bool(TColor& colour)> cdBackColorExecute, cdSelectColorExecute;
    // The pointer's screen position (tests replace it).
    std::function<QPoint()> PointerPos;
    // Auto-scroll while an outline is dragged outside the view (one tick of its timer).
    void AppIdle();

    // --- components -----------------------------------------------------------------------------
    QMenuBar* MainMenu1 = nullptr;
    QAction *mmOpen = nullptr, *mmReOpen = nullptr, *Exit1 = nullptr, *Exit2 = nullptr;
    QAction *Undo1 = nullptr, *Repeat1 = nullptr, *mmSelect = nullptr, *mmEraseR = nullptr, *mmEraseL = nullptr,
            *SelectAll1 = nullptr, *Effect1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* pnImage = nullptr;
    TPictureSelectView* Image1 = nullptr;
    QSpinBox* UpDown1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton *cbIncrement = nullptr, *bt100 = nullptr, *btOK = nullptr, *btCancel = nullptr;
    QToolButton *sbBackColor = nullptr, *sbSelectColor = nullptr, *sbSelectWidth = nullptr;
    QToolButton *sbSelect1 = nullptr, *sbSelect2 = nullptr, *sbSelect3 = nullptr;
    QToolButton *sbSelect = nullptr, *sbUndo = nullptr, *sbRedo = nullptr;
    QCheckBox *CheckBox1 = nullptr, *cbChangeWhite = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    TMyOpenPictureDialog* MyOpenPictureDialog1 = nullptr;
    TFormPicEffect* FormPicEffect = nullptr;
    TFormSelectWidth* FormSelectWidth = nullptr;
    GameTimer* tmAutoScroll = nullptr;

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Building (UnitPictureSelectBuild.cpp).
    void buildUi();
    void buildMenus();
    QWidget* buildToolRow();
    void assignHints();
    void refreshGlyphs();

    void Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TShiftState shift, int x, int y);
    void Image1MouseUp(TMouseButton button);
    void hideDot();
    TCutShape shapeChosen() const;
    void ArrowKey(Word& key);
    bool CMMouseWheel(QPoint pos, int delta);
    void reportRefusal(const QString& text);
    void PushUndo();
    void ResetUndo();
    void RestoreUndo(const QImage& state);
    void updateUndoButtons();

    TPictureZoom m_zoom;
    TColor m_opaqueWhite;
};
