#include "OptionCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <algorithm>

bool TOptionCombo::DroppedDown() const
{
    const QAbstractItemView* list = view();
    return list && list->isVisible();
}

void TOptionCombo::SetDroppedDown(bool on)
{
    if (on == DroppedDown()) return;
    if (on) showPopup();
    else hidePopup();
}

void TOptionCombo::SetItemIndex(int i)
{
    setCurrentIndex(i);
    if (DroppedDown()) view()->setCurrentIndex(model()->index(i, modelColumn(), rootModelIndex()));
}

void TOptionCombo::showPopup()
{
    if (!m_listWatched) {
        view()->installEventFilter(this);
        m_listWatched = true;
    }
    QComboBox::showPopup();
}

bool TOptionCombo::eventFilter(QObject* o, QEvent* e)
{
    if (o == view() && e->type() == QEvent::KeyPress && count() > 0) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        int step = 0;
        if (k == Qt::Key_Left || k == Qt::Key_Up) step = count() - 1;
        else if (k == Qt::Key_Right || k == Qt::Key_Down) step = 1;
        if (step) {
            SetItemIndex((std::max(0, ItemIndex()) + step) % count());
            if (OnArrowChoice) OnArrowChoice();
            return true;
        }
    }
    return QComboBox::eventFilter(o, e);
}
