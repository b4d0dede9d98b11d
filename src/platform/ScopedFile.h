#pragma once

#include <cstdio>
#include <memory>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A FILE* that is closed when it goes out of scope.
using ScopedFile = std::unique_ptr<std::FILE, FileCloser>;
