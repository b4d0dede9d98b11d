#pragma once

#include <string>

#include "TableComparison.h"

// Why a table knowingly differs from iconv at one place, or nullptr when nothing explains it.
const char* FindExplanation(const std::string& table, const TableDifference& difference);
