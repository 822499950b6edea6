#pragma once
// The file dialogs of both programs: Qt's own file dialog held to nine switches that can take away
// folder navigation, typed paths, file operations in the list and resizing, so that the user stays
// in the folder the program chose. One family: open, open with a picture preview, save, and save
// with a picture preview. Callers set the properties, call Execute and read FileName.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QFileDialog;
class QLineEdit;
class QWidget;

// ofFileMustExist and ofEnableSizing change the dialog; ofHideReadOnly and ofNoChangeDir are what
// this dialog does anyway (it has no read-only box and never changes the working folder).
enum TOpenOption : unsigned {
    ofHideReadOnly = 0x1,
    ofNoChangeDir = 0x2,
    ofFileMustExist = 0x4,
    ofEnableSizing = 0x8,
};

// How the file-name box is cleaned of path characters: the game program removes every character
// that can make a path; the editor removes only the folder separator and "..".
enum class TFileNameCleanup { GameProgram, Editor };
// The program's rule (the game program's unless the editor sets its own at start-up).
void SetFileNameCleanup(TFileNameCleanup rules);
TFileNameCleanup FileNameCleanup();
// The cleaned name: "\" removed, ".." collapsed to "." until none is left; in the game program also
// "/", ":", "*", "?", '"', "<", ">", "|" and a leading "~" (this platform's home folder).
QString CleanFileName(const QString& text, TFileNameCleanup rules);
// Cleans the box's text in place and puts its selection back.
void CleanFileNameEdit(QLineEdit* box, TFileNameCleanup rules);

class TMyFileDialog : public QObject {
public:
    ~TMyFileDialog() override;

    QString Title;
    QString InitialDir;
    // "description|patterns|description|patterns", patterns separated by ';'.
    QString Filter;
    // 1-based; updated when the user picks a type and when the dialog is accepted.
    int FilterIndex = 1;
    QString DefaultExt;
    // The file shown at the start; the chosen file after OK. Cancel leaves it as it was.
    QString FileName;
    unsigned Options = ofHideReadOnly | ofEnableSizing;

    // The switches; each takes its part away when False.
    bool DirChangeBox = true; // the folder box (and the places list beside the files)
    bool DirCreateBtn = true; // the new-folder button
    bool DirUpBtn = true;     // going up, except while the folder shown lies below the initial folder
    bool DirPrevBtn = true;   // the back button
    bool DirEditBox = true;   // editing in the file-name box
    bool DirEditPath = true;  // typing folder paths into the file-name box
    bool ListMenu = true;     // the file list's context menu and its file-operation keys
    bool ListChangeFN = true; // renaming files in the list
    bool KeepSize = true;     // when True: the design size, centred, one third down the main form's monitor

    std::function<void()> OnShow;
    std::function<void()> OnClose;
    // The user picked another file type; FilterIndex already holds it.
    std::function<void()> OnTypeChange;
    // OK was chosen and FileName holds the choice; clearing canClose keeps the dialog open.
    std::function<void(bool& canClose)> OnCanClose;

    virtual bool Execute();

    // While Execute runs: the live dialog, and its file-name box's text.
    QFileDialog* Dialog() const;
    QString FileNameText() const;
    void SetFileNameText(const QString& text);

    // Tests: called once the dialog is on screen, from inside its modal run.
    static void SetTestHook(std::function<void(TMyFileDialog&)> hook);

    struct Run;

protected:
    enum class Kind { Open, Save };
    TMyFileDialog(QWidget* owner, Kind kind, bool picturePreview);

private:
    Kind m_kind;
    bool m_preview;
    std::unique_ptr<Run> m_run;
};

class TMyOpenDialog : public TMyFileDialog {
public:
    explicit TMyOpenDialog(QWidget* owner = nullptr) : TMyFileDialog(owner, Kind::Open, false) {}
};

class TMyOpenPictureDialog : public TMyFileDialog {
public:
    explicit TMyOpenPictureDialog(QWidget* owner = nullptr) : TMyFileDialog(owner, Kind::Open, true) {}
};

// Save dialogs keep the typed name when the folder changes.
class TMySaveDialog : public TMyFileDialog {
public:
    explicit TMySaveDialog(QWidget* owner = nullptr) : TMyFileDialog(owner, Kind::Save, false) {}
};

class TMySavePictureDialog : public TMyFileDialog {
public:
    explicit TMySavePictureDialog(QWidget* owner = nullptr) : TMyFileDialog(owner, Kind::Save, true) {}
};
