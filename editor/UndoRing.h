#pragma once
// The 31 snapshot slots of undo and redo. Positions grow without bound; position p lives in slot
// p mod 31. low <= cur <= top and top - low <= 30; cur is the state shown, positions above it can
// be redone.
#include <QByteArray>
#include <array>
#include <cstdint>

class TUndoRing {
public:
    static constexpr int kSlots = 31;

    TUndoRing() { Clear(); }

    // Every slot emptied, slot 0 holding the empty snapshot, all positions 0.
    void Clear();
    // Stores a fresh snapshot as the new current state. A snapshot equal to the current one adds
    // nothing (false). States that were undone are appended again behind the current one, in
    // reverse order, so that undo still reaches them.
    bool Push(const QByteArray& snapshot);
    bool CanUndo() const { return m_cur != m_low; }
    bool CanRedo() const { return m_cur != m_top; }
    // Moves cur one step; false when it cannot move.
    bool StepBack();
    bool StepForward();
    // Puts cur back where it was (a restore that failed).
    void SetCur(std::int64_t cur) { m_cur = cur; }

    const QByteArray& Current() const { return m_slots[size_t(Slot(m_cur))]; }
    const QByteArray& At(std::int64_t pos) const { return m_slots[size_t(Slot(pos))]; }
    // The slot of a position, writable (tests damage snapshots through it).
    QByteArray& SlotOf(std::int64_t pos) { return m_slots[size_t(Slot(pos))]; }
    static int Slot(std::int64_t pos) { return int(pos % kSlots); }

    std::int64_t Cur() const { return m_cur; }

private:
    std::array<QByteArray, kSlots> m_slots;
    std::int64_t m_low = 0, m_cur = 0, m_top = 0;
};
