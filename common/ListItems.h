#pragma once
// Helpers for separator lists ("bmp,jpg") and the extension completion of chosen file names.
#include <QString>
#include <cstdint>

// Item n (from 0) of the list; '' when the list is empty or has fewer items.
QString GetListItem(const QString& sep, const QString& list, std::uint8_t n);
// 0 when the list is blank, else 1 + the number of separators.
int CountListItems(const QString& sep, const QString& list);
// Completes a file name without an extension: "teamJPG" with "bmp,jpg" gives "team.jpg", "team" gives
// "team.bmp"; names with an extension, and the empty name, are returned unchanged.
QString CompleteFileExt(const QString& fileName, const QString& extList);
