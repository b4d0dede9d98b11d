#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CodeSetList.h"
#include "ReferenceCodec.h"
#include "TableComparison.h"

// Names the table in test output instead of dumping the structure's bytes.
void PrintTo(const CodeSetListEntry& entry, std::ostream* out);

// The code sets of tools/mkokc/code-sets.txt that match the filter.
std::vector<CodeSetListEntry> ListedCodeSets(
    const std::function<bool(const CodeSetListEntry&)>& wanted);
// A test name made of the code set's name ("windows_1252").
std::string CodeSetTestName(const CodeSetListEntry& entry);

// Why a table knowingly differs from its reference at one place, or nullptr.
using Explainer = std::function<const char*(const TableDifference&)>;

// Loads the shipped table of a listed code set, checks its header against the list and
// compares it with the reference over every byte, two-byte code and BMP unit; every
// difference that explain does not account for is a test failure.
void CheckShippedTable(const CodeSetListEntry& entry, const ReferenceCodec& reference,
                       const std::string& referenceName, const Explainer& explain);
