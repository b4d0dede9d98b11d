#include "RecordLines.h"

#include <fstream>

bool ReadRecordLines(const std::string& path,
                     const std::function<bool(const std::string& line, std::string& message)>& take,
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
        std::string message;
        if (!take(line, message)) {
            error = path + ":" + std::to_string(number) + ": " + message;
            return false;
        }
    }
    return true;
}
