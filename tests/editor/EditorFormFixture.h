#pragma once
// The editor's main form on the offscreen platform, as the form tests share it: a program folder of
// its own (with its player picture folder), a runtime folder of its own (so no real game program is
// ever told of a test's sheets), recorded boxes and beeps, virtual time, and helpers that press,
// drag and drive the file dialogs as the user does.
#include "CanvasView.h"
#include "Clock.h"
#include "Dialogs.h"
#include "MyFileDialogs.h"
#include "Paths.h"
#include "Resources.h"
#include "TestSupport.h"
#include "UnitPictureEditor.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>
#include <gtest/gtest.h>
#include "TestDoubles.h"

class EditorForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitEditorResources();
        ASSERT_TRUE(dir.isValid());
        keptRuntime = qgetenv("XDG_RUNTIME_DIR");
        QDir().mkpath(dir.path() + QStringLiteral("/run"));
        // A runtime folder that others may enter is refused, as the desktop's own would be.
        QFile::setPermissions(dir.path() + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path() + QStringLiteral("/run")));
        OverrideProgramFile(dir.path() + QStringLiteral("/bin/ピクモ"));
        SetDialogs(&dialogs);
        SetClock(&clock);
        clock.SetAutoRun(false);
        form = std::make_unique<TFormPictureEditor>();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override
    {
        Form::SetModalHook(nullptr);
        TMyFileDialog::SetTestHook(nullptr);
        if (form) {
            dialogs.answers = {idNo};
            form->close();
            form.reset();
        }
        SetClock(nullptr);
        SetDialogs(nullptr);
        OverrideProgramFile(QString());
        qputenv("XDG_RUNTIME_DIR", keptRuntime);
    }
    QString Folder() const { return form->PlayerFolder(); }
    // A stroke on the view, in content coordinates.
    void Stroke(std::vector<QPoint> pts, Qt::KeyboardModifiers mods = {})
    {
        TCanvasView* v = form->Image1;
        QTest::mousePress(v, Qt::LeftButton, mods, pts.front());
        for (size_t i = 1; i < pts.size(); ++i) {
            QMouseEvent move(QEvent::MouseMove, pts[i], v->mapToGlobal(pts[i]), Qt::NoButton, Qt::LeftButton, mods);
            QCoreApplication::sendEvent(v, &move);
        }
        QTest::mouseRelease(v, Qt::LeftButton, mods, pts.back());
    }
    void Click(QPoint p) { Stroke({p}); }
    // A drag on any widget of the form from `from` by `by`, in steps, as the mouse moves it.
    void Drag(QWidget* w, QPoint from, QPoint by, Qt::KeyboardModifiers mods = {}, int steps = 4)
    {
        const QPoint global = w->mapToGlobal(from);
        QTest::mousePress(w, Qt::LeftButton, mods, from);
        for (int i = 1; i <= steps; ++i) {
            const QPoint at = global + by * i / steps;
            QMouseEvent move(QEvent::MouseMove, w->mapFromGlobal(at), at, Qt::NoButton, Qt::LeftButton, mods);
            QCoreApplication::sendEvent(w, &move);
        }
        QTest::mouseRelease(w, Qt::LeftButton, mods, w->mapFromGlobal(global + by));
    }
    // A click that comes through the window system, as the platform delivers it: a pop-up that is
    // open sees it first.
    void WindowClick(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form->windowHandle(), button, {}, w->mapTo(form.get(), p));
        QCoreApplication::processEvents();
    }
    // 編集 opened by a click on the menu bar.
    void OpenEditMenu()
    {
        QTest::mouseClick(form->MainMenu, Qt::LeftButton, {}, form->MainMenu->actionGeometry(form->mmEdit->menuAction()).center());
    }
    // The item of the open menu whose caption starts with `caption`, clicked with `held` held.
    void ChooseFromMenu(const QString& caption, Qt::KeyboardModifiers held = {})
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions())
            if (a->isVisible() && a->text().startsWith(caption)) return QTest::mouseClick(menu, Qt::LeftButton, held, menu->actionGeometry(a).center());
        FAIL() << "no item " << caption.toStdString();
    }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(form->Image1, Qt::Key(key), mods); }
    // Steps the zoom's up-down with its arrow keys until it shows `zoom` or goes no further.
    void StepZoomTo(int zoom)
    {
        QSpinBox* z = form->UpDown1;
        while (z->value() != zoom) {
            const int before = z->value();
            QTest::keyClick(z, zoom > before ? Qt::Key_Up : Qt::Key_Down);
            if (z->value() == before) break;
        }
    }
    // A range dragged with the range tool over canvas pixels a to b.
    void DragRange(QPoint a, QPoint b)
    {
        if (!form->sbRange->isChecked()) Key(Qt::Key_Q, Qt::ControlModifier);
        Stroke({V(a.x(), a.y()), V(b.x(), b.y())});
    }
    // The view point over a canvas pixel (its top-left corner, one view pixel in).
    QPoint V(int cx, int cy) const { return QPoint(form->Engine.ToView(cx) + 1, form->Engine.ToView(cy) + 1); }
    TColor CanvasAt(int x, int y) { return form->Engine.Canvas.Canvas().Pixel(x, y); }
    TColor SheetAt(int x, int y) { return form->Sheet.Canvas().Pixel(x, y); }
    std::vector<int> Order() const
    {
        std::vector<int> v;
        for (int i = 0; i < form->PlayerOrder.GetCount(); ++i) v.push_back(form->PlayerOrder.GetValue(i));
        return v;
    }
    // Runs a file dialog command; the dialog gets `name` typed into its file-name box and OK, or is
    // cancelled when name is empty. `during` runs while the dialog is on screen, before OK.
    void WithDialog(const QString& name, const std::function<void()>& command,
                    const std::function<void(TMyFileDialog&)>& during = {})
    {
        dialogShown = false;
        TMyFileDialog::SetTestHook([&](TMyFileDialog& d) {
            dialogShown = true;
            if (during) during(d);
            QFileDialog* dlg = d.Dialog();
            if (!name.isEmpty()) {
                // Typed into the focused box, as the user types: the file selected in the list at
                // the start gives way to the typed name.
                QApplication::setActiveWindow(dlg);
                if (auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setFocus();
                d.SetFileNameText(name);
                static_cast<QDialog*>(dlg)->accept();
            }
            if (dlg->isVisible()) dlg->reject();
        });
        command();
        TMyFileDialog::SetTestHook(nullptr);
    }
    void Open(const QString& name)
    {
        WithDialog(name, [this] { form->mmPicOpenClick(); });
    }
    // A sheet of `cells` cells, cell k filled with colours[k] where the picture is drawn.
    QImage SampleSheet(const std::vector<TColor>& colours) const
    {
        QImage img(int(colours.size()) * 140, 70, QImage::Format_RGB32);
        img.fill(ToPixel(clWhite));
        for (size_t k = 0; k < colours.size(); ++k)
            for (int y = 10; y < 60; ++y)
                for (int x = 20; x < 120; ++x) img.setPixel(int(k) * 140 + x, y, ToPixel(colours[k]));
        return img;
    }

    QTemporaryDir dir;
    QByteArray keptRuntime;
    RecordingDialogs dialogs;
    VirtualClock clock;
    std::unique_ptr<TFormPictureEditor> form;
    bool dialogShown = false;
};
