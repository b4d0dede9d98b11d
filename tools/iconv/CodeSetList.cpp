#include "CodeSetList.h"

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

}  // namespace

bool ReadCodeSetList(const std::string& path, std::vector<CodeSetListEntry>& entries,
                     std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields = Split(line, '|');
        const bool kindKnown =
            fields.size() == 4 && (fields[2] == "single" || fields[2] == "double" ||
                                   fields[2] == "utf8" || fields[2] == "utf16");
        if (!kindKnown || fields[0].empty() || fields[1].empty()) {
            error = path + ":" + std::to_string(number) + ": expected name|iconv|kind|display";
            return false;
        }
        entries.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return true;
}
