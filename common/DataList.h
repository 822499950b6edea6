#pragma once
// An ordered list of 32-bit signed integers: the editor's player order.
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

// The index error of a list, "リストのインデックスが範囲を超えています (%d)"; the list is left unchanged.
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
    QString Message() const { return m_message; }
    int Index() const { return m_index; }

private:
    QString m_message;
    int m_index;
};

class TDataList {
public:
    TDataList() = default;
    ~TDataList() { Clear(); }

    // Appends the value; its index.
    int Add(std::int32_t value);
    std::int32_t GetValue(int index) const;
    int GetCount() const { return int(m_items.size()); }
    void Clear() { m_items.clear(); }
    void Delete(int index);
    // Inserts at 0..Count (Count appends); the entries from index on move up by one.
    void Insert(int index, std::int32_t value);
    // Takes the entry at curIndex out and puts it in at newIndex.
    void Move(int curIndex, int newIndex);

private:
    void check(int index, int count) const;
    std::vector<std::int32_t> m_items;
};
