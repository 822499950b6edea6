#include "DataList.h"

#include <algorithm>

namespace {
QString indexErrorText(int index)
{
    return QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index);
}
} // namespace

EListError::EListError(int index) : std::out_of_range(indexErrorText(index).toStdString()), m_message(indexErrorText(index)), m_index(index)
{
}

int CompareDataValues(std::int32_t a, std::int32_t b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

void TDataList::check(int index, int count) const
{
    if (index < 0 || index >= count) throw EListError(index);
}

int TDataList::Add(std::int32_t value)
{
    m_items.push_back(value);
    return int(m_items.size()) - 1;
}

std::int32_t TDataList::GetValue(int index) const
{
    check(index, GetCount());
    return m_items[size_t(index)];
}

void TDataList::Delete(int index)
{
    check(index, GetCount());
    m_items.erase(m_items.begin() + index);
}

int TDataList::IndexOf(std::int32_t value) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), value);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TDataList::Sort()
{
    std::sort(m_items.begin(), m_items.end(), [](std::int32_t a, std::int32_t b) { return CompareDataValues(a, b) < 0; });
}

void TDataList::Remove(std::int32_t value)
{
    m_items.erase(std::remove(m_items.begin(), m_items.end(), value), m_items.end());
}

void TDataList::Insert(int index, std::int32_t value)
{
    check(index, GetCount() + 1);
    m_items.insert(m_items.begin() + index, value);
}

void TDataList::Move(int curIndex, int newIndex)
{
    check(newIndex, GetCount());
    check(curIndex, GetCount());
    if (curIndex == newIndex) return;
    const std::int32_t v = m_items[size_t(curIndex)];
    m_items.erase(m_items.begin() + curIndex);
    m_items.insert(m_items.begin() + newIndex, v);
}
