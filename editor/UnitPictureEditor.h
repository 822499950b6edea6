#pragma once
// ピクモ's main form: the canvas view with its zoom, the palette, the tool and strip controls, the
// floating images over the canvas, the menus and keys, and the shape engine and undo ring behind
// them. Its handlers are spread over files by what they do: creation and drawing
// (UnitPictureEditor.cpp), the panels (…Build.cpp, …Hints.cpp), the view, keys and menus
// (…View.cpp), palette and tools (…Tools.cpp), sheets and strip (…Sheet.cpp), ranges and the
// clipboard (…Range.cpp), the floating images (…Floating.cpp) and their transforms (…Transform.cpp).
#include "CanvasView.h"
#include "DataList.h"
#include "FloatingImage.h"
#include "Form.h"
#include "MyFileDialogs.h"
#include "ShapeEngine.h"
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QToolButton;
class GameTimer;
class TFormMoji;
class TFormPictureSelect;
class TFormSelectWidth;
class TFormShowMasu;

class TFormPictureEditor : public Form {
    Q_OBJECT
public:
    explicit TFormPictureEditor(QWidget* owner = nullptr);
    ~TFormPictureEditor() override;

    TShapeEngine Engine;

    // --- shell ---------------------------------------------------------------------------------
    void UpdateCaption(const QString& path = QString());
    static TColor ContrastTextColor(TColor c) { return ::ContrastTextColor(c); }
    void btOKClick();
    void btCancelClick() { SetModalResult(mrCancel); }
    // Auto-scroll while a drag on the canvas has left the view (one call of the drag timer).
    void AppIdle();
    // The pointer's screen position (tests replace it).
    std::function<QPoint()> PointerPos;
    QString PlayerFolder() const { return m_playerFolder; }
    bool ConfirmSaveChanges(bool ask);
    bool SheetChanged = false;
    int PaletteCount = 0;

    // --- sheet files ---------------------------------------------------------------------------
    void mmFileNewClick();
    void mmPicOpenClick();
    void mmPicSaveClick();
    void mmPicSaveAsClick() { SaveAs(); }
    // Asks for a name and saves there; whether a file was written.
    bool SaveAs();
    // Writes the sheet; on success the sheet counts as saved at that path. A failed write says why
    // and changes nothing.
    bool SaveSheet(const QString& path);
    // Tells a running game program the path of a sheet just opened or saved.
    void NotifyGameWindow(const QString& path);
    void MakeInnerWhiteOpaque(QImage& picture) const;
    // Resets the cell being edited: the base picture freed, the canvas cleared (guide text armed),
    // the undo ring cleared; the shapes go in any case.
    void ResetEditing(bool freeBase, bool clearCanvas, bool resetUndo);
    void MySavePictureDialog2CanClose(bool& canClose);
    void MySavePictureDialog2TypeChange();
    // The time a game program is given to take a sheet path.
    static constexpr int kSheetLinkTimeoutMs = 2000;

    // --- player strip and motion check ---------------------------------------------------------
    void imCharaMouseDown(int x, int y);
    void udCharaClick();
    void sbCharaAddClick();
    void sbCharaDeleteClick();
    void sbCharaMoveLClick();
    void sbCharaMoveRClick();
    void sbFromBeginClick();
    void tmTestTimer();
    void sbTestClick();
    // left: the up-down's previous (down) button, else its next (up) button.
    void udTestClick(bool left);
    void sbTestColorClick();
    int CellCount() const;

    // --- view, zoom, keys ----------------------------------------------------------------------
    void UpDown1Click();
    void cbIncrementClick();
    void bt100Click();
    void rbBairituHendouClick(bool hendou);
    void FitToWorkArea();
    void ArrowKey(Word& key, TShiftState shift);
    // The zoned wheel: pos in ScrollBox1's parent coordinates.
    bool CMMouseWheel(QPoint pos, int delta);
    void mmEditClick();
    void PopupMenu1Popup();
    void SetCanvasSize(int w, int h);

    // --- sample underlay and grid (UnitPictureEditorMihon.cpp) ---------------------------------
    void sbShowMihonClick();
    // Reads the sample and lays it out at the view's top-left to be dragged into place; a sample
    // that cannot be read is refused with a message and false.
    bool LoadSampleImage(const QString& name);
    void imMihonMouseDown(TMouseButton button, QPoint screen);
    void imMihonMouseMove(TShiftState shift, QPoint screen);
    void imMihonMouseUp(TMouseButton button, QPoint screen);
    void sbShowMasuClick();
    QString SampleFileName; // offered again by the sample's open dialog
    TFormShowMasu* ShowMasuDialog();
    TFormShowMasu* FormShowMasu = nullptr; // made on its first use, then kept for the run

    // --- drawing -------------------------------------------------------------------------------
    void PaintCanvasView();
    void Image1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TShiftState shift, int x, int y);
    void Image1MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void udPenClick();
    void pnLastReformClick();
    void SetReformStateView();
    void sbUndoClick();
    void sbRedoClick();
    void UpdateUndoButtons();
    void WriteBackCanvas();
    void RefreshPlayerStrip(bool stop);
    void SetupPreview();
    void DrawPreviewFrame();

    // --- palette and tools ----------------------------------------------------------------------
    void pnC00MouseDown(int tag);
    void sbPalletClick();
    void SelectPaletteColor(int index);
    void ShowRGB();
    void sbSpoitMouseDown();
    void sbSpoitClick();
    void imP0MouseDown(int tag);
    void SelectPenStyle(int index);
    void sbPenClick();
    void sbCircleClick();
    void rbRectClick();
    void sbLineClick();
    void sbFloodFillClick();
    void sbMojiClick();
    void sbRangeClick();
    void rbRectRangeClick();
    void mmRangeClick(bool shift = false);
    void ReselectToolButton();
    void UpdateModeLabels();
    void SetToolCursor(int cursor);
    void SetToolCursorForTool();
    bool EyedropperMode = false;
    bool PaletteChosen = false;
    int RememberedDrawColor = 0; // palette index of the last drawing with pen, "面" or line
    int RememberedFillColor = 0; // palette index of the last fill
    QToolButton* PreviousToolButton = nullptr;
    QToolButton* SpoitReturnButton = nullptr;
    // The colour dialog (cdPallet): true with the chosen colour on OK. Tests replace it.
    std::function<bool(TColor& colour)> cdPalletExecute;

    // --- ranges and the clipboard --------------------------------------------------------------
    void sbCopyClick();
    // Cut (the range goes to the clipboard, then is erased) or, without the clipboard, erase.
    void sbCutClick(bool toClipboard = true);
    // Erases the range; with Ctrl held hides a floating image instead. The keys are those held as
    // the command is chosen.
    void mmDeleteClick(bool ctrlHeld, bool shiftHeld);
    // tag 1 the left half of the cell, 2 the right half.
    void mmSelectLeftClick(int tag);
    void sbClearAllClick();

    // --- floating images -----------------------------------------------------------------------
    void sbPasteShowClick();
    void sbPasteByougaClick();
    void sbFaceShowClick();
    void sbFaceByougaClick();
    void sbGentenClick();
    // Shows a picture from the import dialog as imFace, w x h screen pixels at the current zoom.
    void ShowImportedPicture(const QImage& picture, int w, int h, const QString& fileName);
    // The picture import dialog, then its result as the imported picture (UnitPictureEditorImport.cpp).
    void sbFaceSelectClick();
    TFormPictureSelect* PictureSelect();
    TFormPictureSelect* FormPictureSelect = nullptr; // made on its first use, then kept for the run
    QString ImportFileName; // the picture file the imported picture came from
    void CommitFloatingImage(TFloatingImage* f);
    void PlaceTransformHandles();
    void DrawFloatingFrame(TFloatingImage* f);
    void HideFloatingFrame(TFloatingImage* f);
    // The transform mode buttons of the two images (sbFaceReform ... sbRgReverse).
    void TransformModeClick(QToolButton* button);
    void pmReformClick();
    void pmRotateClick();
    void pmReverseClick();
    TFloatingImage* CurrentFloating = nullptr;
    QPoint PastePosition;    // content coordinates of the range last copied, cut or erased
    QSize ImportDisplaySize; // screen pixels of the imported picture when its size is "独立"
    bool TextMode = false;   // the next paste makes its picture from the typed text

    // --- components ----------------------------------------------------------------------------
    QMenuBar* MainMenu = nullptr;
    QMenu* mmFile1 = nullptr;
    QMenu* mmEdit = nullptr;
    QAction *mmFileNew = nullptr, *mmPicOpen = nullptr, *mmPicSave = nullptr, *mmPicSaveAs = nullptr, *mmExit1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction *mmRange = nullptr, *mmUndo = nullptr, *mmRedo = nullptr, *mmSelectLeft = nullptr, *mmSelectRight = nullptr,
            *pmMojiByouga = nullptr, *pmPaste2 = nullptr, *pmClose2 = nullptr, *pmByouga2 = nullptr, *mmCut = nullptr,
            *mmCopy = nullptr, *mmDelete = nullptr, *pmPaste = nullptr, *pmClose = nullptr, *pmByouga = nullptr,
            *pmGenten = nullptr, *pmReform = nullptr, *pmRotate = nullptr, *pmReverse = nullptr;
    QAction *B1 = nullptr, *B2 = nullptr, *B3 = nullptr, *B4 = nullptr, *B5 = nullptr, *B6 = nullptr, *B7 = nullptr;

    QToolButton *sbPen = nullptr, *sbCircle = nullptr, *sbLine = nullptr, *sbFloodFill = nullptr, *sbMoji = nullptr,
                *sbRange = nullptr, *sbSpoit = nullptr, *sbPallet = nullptr, *sbUndo = nullptr, *sbRedo = nullptr,
                *sbClearAll = nullptr, *sbGenten = nullptr, *sbShowMihon = nullptr, *sbShowMasu = nullptr,
                *sbCopy = nullptr, *sbCut = nullptr, *sbDelete = nullptr, *sbPasteShow = nullptr,
                *sbPasteByouga = nullptr, *sbFaceSelect = nullptr, *sbFaceShow = nullptr, *sbFaceByouga = nullptr,
                *sbTest = nullptr, *sbTestColor = nullptr, *sbCharaMoveL = nullptr, *sbCharaMoveR = nullptr,
                *sbCharaDelete = nullptr, *sbCharaAdd = nullptr, *sbFromBegin = nullptr;
    QToolButton *sbPicMove = nullptr, *sbFaceReform = nullptr, *sbFaceRotate = nullptr, *sbFaceReverse = nullptr,
                *sbRgReform = nullptr, *sbRgRotate = nullptr, *sbRgReverse = nullptr;
    QRadioButton *rbRect = nullptr, *rbEllip = nullptr, *rbRectRange = nullptr, *rbFreeRange = nullptr,
                 *rbBairituHendou = nullptr, *rbBairituKotei = nullptr;
    QPushButton* cbIncrement = nullptr;
    QPushButton* bt100 = nullptr;
    QCheckBox *cbHalfTone = nullptr, *cbKeepColor = nullptr, *cbChangeWhite = nullptr;
    QSpinBox *UpDown1 = nullptr, *udPen = nullptr, *udLine = nullptr, *udWidth = nullptr, *udHeight = nullptr,
             *udChara = nullptr, *udTest = nullptr;
    TColorPanel* pnLastReform = nullptr;
    QWidget *pnPallet = nullptr, *pnPenStyle = nullptr, *pnTest = nullptr;
    QFrame* pnImage = nullptr;
    std::vector<TColorPanel*> Palette; // pnC00 .. pnC18
    TColorPanel *pnP0 = nullptr, *pnP1 = nullptr, *pnP2 = nullptr;
    QLabel *lbR = nullptr, *lbG = nullptr, *lbB = nullptr, *lbChara = nullptr, *lbKirikae = nullptr,
           *lbRange = nullptr, *lbByouga = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TCanvasView* Image1 = nullptr;
    QScrollArea* scbChara = nullptr;
    TStripView* imChara = nullptr;
    QLabel* imTest = nullptr;
    QPixmap imTestPlay, imTestPause; // the glyphs of sbTest
    QStatusBar* StatusBar1 = nullptr;
    GameTimer* tmTest = nullptr;
    GameTimer* tmAutoScroll = nullptr;
    // The floating images over the canvas, their frames and handles.
    TFloatingImage *imMihon = nullptr, *imPaste = nullptr, *imFace = nullptr;
    TFrameImage *imFrame0 = nullptr, *imFrame1 = nullptr, *imFrame2 = nullptr;
    THandle *imReformHL = nullptr, *imReformHR = nullptr, *imReformVT = nullptr, *imReformVB = nullptr,
            *imReformLT = nullptr, *imReformRT = nullptr, *imReformLB = nullptr, *imReformRB = nullptr;
    THandle *imRotateLT = nullptr, *imRotateRT = nullptr, *imRotateLB = nullptr, *imRotateRB = nullptr;
    THandle *imReverseHL = nullptr, *imReverseHR = nullptr, *imReverseVT = nullptr, *imReverseVB = nullptr;
    std::vector<THandle*> Handles; // all sixteen
    TMyOpenPictureDialog* MyOpenPictureDialog2 = nullptr;
    TMySavePictureDialog* MySavePictureDialog2 = nullptr;
    TMyOpenPictureDialog* MyOpenPictureDialog3 = nullptr;
    // The companion dialogs of text input and line width, each made on its first use and then kept
    // for the run, so what the user set in it stays.
    TFormMoji* MojiDialog();
    TFormSelectWidth* SelectWidthDialog();
    TFormMoji* FormMoji = nullptr;
    TFormSelectWidth* FormSelectWidth = nullptr;

    // --- state ---------------------------------------------------------------------------------
    TBitmap Sheet;
    TBitmap Preview;
    int SelectedCell = 0;
    QRect CellRect;
    QString SheetPath;
    TDataList PlayerOrder; // which cell of the file each player came from; -1 for added ones
    int SelectedPalette = 0;
    TColor TestBackground = 0x00FF7F;
    int TestFrame = 0;
    QToolButton* CurrentToolButton = nullptr;
    bool MouseHeldOnCanvas = false;
    std::map<int, QCursor> Cursors;

protected:
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(Word& key, TShiftState shift) override;
    void FormKeyUp(Word& key, TShiftState shift) override;
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Panels of the form, one builder each (UnitPictureEditorBuild.cpp).
    void buildUi();
    void buildMenus();
    QGroupBox* buildDrawPanel();
    QGroupBox* buildRangePanel();
    QGroupBox* buildPastePanel();
    QGroupBox* buildFacePanel();
    QGroupBox* buildEditPanel();
    QGroupBox* buildReformPanel();
    QGroupBox* buildViewPanel();
    QGroupBox* buildModePanel();
    void buildHiddenControls();
    QGroupBox* buildPalettePanel();
    QGroupBox* buildPenStylePanel();
    QGroupBox* buildTestPanel();
    QWidget* buildOptionBoxes(QLayout* column);
    QFrame* buildCanvasPanel();
    void buildFloatingImages();
    QGroupBox* buildStripPanel();
    void connectTools();
    void connectViewAndStrip();
    void connectFloating();
    void assignHints();
    void registerCursors();
    void setupPalette();
    void connectEngine();
    void setupFileDialogs();
    void setupSampleAndGrid();
    void dropSample();
    QPoint m_sampleGrip; // where the sample was grabbed, within its image

    void toolButtonClick(QToolButton* button, int kind);
    void resetTransforms();
    bool isDrawingToolButton(const QToolButton* b) const;
    void pickColourAt(QPoint p);
    void reportFileError(const QString& path, const QString& reason);
    void setTestRunning(bool on);
    void showTestFrame(int frame);
    void placeGhosts();
    void repaintView();
    QPoint pointerInViewport() const;
    // The canvas pop-up menu and the edit menu closing: the press that closed them is the only one
    // the pop-up flag holds back.
    void popupClosing();
    void popupPressEnded();
    bool m_popupClosingPress = false;

    // Floating images (UnitPictureEditorFloating.cpp, …Transform.cpp).
    TFloatingImage* floatingOf(QToolButton* modeButton) const;
    void relayoutFloating();
    void relayoutImage(TFloatingImage* f, bool keepPlace);
    void storeFloatingPlace(TFloatingImage* f);
    void placeFloating(TFloatingImage* f, QPoint content);
    QPoint contentOf(QPoint client) const;
    // The first view pixel of canvas pixel k (mirrored for negative k), and a content position
    // snapped to the canvas pixel it lies on: where a floating image shows, it is drawn.
    int viewStart(int k) const;
    int snapContent(int c) const { return viewStart(Engine.ToCanvas(c)); }
    QSize commitSize(const TFloatingImage* f) const;
    bool moveFloatingByArrow(int dx, int dy);
    bool takeClipboardPicture(QImage& picture);
    void ctrlReleased();
    void floatMouseDown(TFloatingImage* f, TMouseButton button, TShiftState shift, QPoint screen);
    void floatMouseMove(TFloatingImage* f, TShiftState shift, QPoint screen);
    void floatMouseUp(TFloatingImage* f);
    void handleMouseDown(THandle* h, TMouseButton button, QPoint screen);
    void handleMouseMove(THandle* h, TShiftState shift, QPoint screen);
    void handleMouseUp(THandle* h);
    void finishTransform(TFloatingImage* f, int transform);
    QPoint lockedPointer(QPoint screen);
    struct TFloatDrag {
        QPoint PointerStart, HandleStart, Centre, CentreScreen, LastPoint;
        TBounds Start;
        double Ratio = 1;
        bool Moving = false, Stretching = false, Rotating = false, Rotated = false;
    } m_drag;
    int m_shiftAxis = 0; // Shift's axis lock of a floating-image move: 0 none, 1 horizontal, 2 vertical
    QPoint m_shiftAnchor;

    QString m_playerFolder;
    std::vector<QPointer<TGhostImage>> m_ghosts;
    bool m_shown = false;
};
