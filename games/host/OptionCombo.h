#pragma once
// A game's settings drop-down list (the quick games' option, baseball's start inning). Whether it is
// dropped down is read from the list itself, however it was opened or closed (keys, a click
// elsewhere, a box or window taking the focus). The arrow keys in the open list move its choice round
// and round, and the form hears of each move.
#include <QComboBox>
#include <functional>

class TOptionCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TOptionCombo(QWidget* parent) : QComboBox(parent) {}
    bool DroppedDown() const;
    void SetDroppedDown(bool on);
    int ItemIndex() const { return currentIndex(); }
    // The item shown, and the open list's highlight with it.
    void SetItemIndex(int i);
    int Tag = 0;
    std::function<void()> OnArrowChoice;
    void showPopup() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    bool m_listWatched = false;
};
