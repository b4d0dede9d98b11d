#pragma once

#include <string>

#include "CodeSetList.h"
#include "TableComparison.h"

// Why a table knowingly differs from iconv at one place, or nullptr when nothing explains it.
const char* FindExplanation(const std::string& table, const TableDifference& difference);
// Why a table taken from a Windows code page knowingly differs from Windows at one place,
// or nullptr when nothing explains it.
const char* FindWindowsExplanation(const CodeSetListEntry& entry,
                                   const TableDifference& difference);
