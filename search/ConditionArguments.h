// The search conditions' mapping to the arguments of the spreadsheet application's range Find
// operation, and to the extensions of the file types.
#pragma once

#include "automation/XlFind.h"
#include "storage/SearchConditions.h"

#include <QString>
#include <QStringList>
#include <array>

// Find's LookIn values by the look-in item index: formulas, values, comments.
inline constexpr std::array<int, 3> FindLookInTable = {XlFind::Formulas, XlFind::Values,
                                                       XlFind::Comments};
// Find's SearchOrder values by the order item index: by rows, by columns.
inline constexpr std::array<int, 2> SearchOrderTable = {XlFind::ByRows, XlFind::ByColumns};

inline constexpr int LookAtWhole = XlFind::Whole;
inline constexpr int LookAtPart = XlFind::Part;
inline constexpr int SearchDirectionNext = XlFind::Next;

// File types by check-list index, and the extension each one searches.
inline constexpr int FileTypeCount = 3;
inline constexpr std::array<const char*, FileTypeCount> FileTypeExtensions = {"xls", "xlsx", "csv"};

// The Find arguments of the conditions. An index out of range maps as index 0 would.
int LookInArgument(const SearchConditions& conditions);
int LookAtArgument(const SearchConditions& conditions);
int SearchOrderArgument(const SearchConditions& conditions);

// True when at least one known file type (0..2) is chosen.
bool HasFileType(const SearchConditions& conditions);
// The extensions of the chosen file types, without the dot, in check-list order.
QStringList ExtensionList(const SearchConditions& conditions);
