#include "CodeSetList.h"

#include <cstdlib>
#include <sstream>

#include "RecordLines.h"

namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

// "windows NNN" or "windows NNN no-c1".
bool ParseWindowsSource(const std::string& source, CodeSetListEntry& entry) {
    const std::vector<std::string> words = Split(source, ' ');
    const bool withoutFillers = words.size() == 3 && words[2] == "no-c1";
    if (words.size() != 2 && !withoutFillers)
        return false;
    char* end = nullptr;
    const unsigned long number = std::strtoul(words[1].c_str(), &end, 10);
    if (words[1].empty() || words[1][0] == '-' || *end != '\0' || number == 0 || number > 65535)
        return false;
    entry.windowsCodePage = static_cast<unsigned>(number);
    entry.withoutC1Fillers = withoutFillers;
    return true;
}

}  // namespace

bool ReadCodeSetList(const std::string& path, std::vector<CodeSetListEntry>& entries,
                     std::string& error) {
    return ReadRecordLines(
        path,
        [&entries](const std::string& line, std::string& message) {
            const std::vector<std::string> fields = Split(line, '|');
            const bool kindKnown =
                fields.size() == 4 && (fields[2] == "single" || fields[2] == "double" ||
                                       fields[2] == "utf8" || fields[2] == "utf16");
            if (!kindKnown || fields[0].empty() || fields[1].empty()) {
                message = "expected name|source|kind|display";
                return false;
            }
            CodeSetListEntry entry{fields[0], fields[1], fields[2], fields[3]};
            if (fields[1].rfind("windows ", 0) == 0) {
                entry.iconvName.clear();
                if (!ParseWindowsSource(fields[1], entry)) {
                    message = "expected windows NNN [no-c1]";
                    return false;
                }
            }
            entries.push_back(entry);
            return true;
        },
        error);
}
