#include "DataList.h"

namespace {
QString indexErrorText(int index)
{
    return QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index);
}
} // namespace

EListError::EListError(int index) : std::out_of_range(indexErrorText(index).toStdString()), m_message(indexErrorText(index)), m_index(index)
{
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
