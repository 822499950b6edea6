#include "UndoRing.h"

#include "ShapeSnapshot.h"
#include <algorithm>
#include <vector>

void TUndoRing::Clear()
{
    for (QByteArray& s : m_slots) s.clear();
    m_slots[0] = EmptySnapshot();
    m_low = m_cur = m_top = 0;
}

bool TUndoRing::Push(const QByteArray& snapshot)
{
    if (Current() == snapshot) return false;
    if (m_cur < m_top) {
        // Take every undone state before writing any: with more than 15 of them the new positions
        // reach round the ring onto slots that are still to be read.
        std::vector<QByteArray> undone;
        undone.reserve(size_t(m_top - m_cur));
        for (std::int64_t p = m_top - 1; p >= m_cur; --p) undone.push_back(At(p));
        for (QByteArray& s : undone) {
            ++m_top;
            m_slots[size_t(Slot(m_top))] = std::move(s);
        }
    }
    ++m_top;
    m_slots[size_t(Slot(m_top))] = snapshot;
    m_cur = m_top;
    m_low = std::max<std::int64_t>(0, m_top - (kSlots - 1));
    return true;
}

bool TUndoRing::StepBack()
{
    if (m_cur == m_low) return false;
    m_cur = std::max(m_cur - 1, m_low);
    return true;
}

bool TUndoRing::StepForward()
{
    if (m_cur == m_top) return false;
    m_cur = std::min(m_cur + 1, m_top);
    return true;
}
