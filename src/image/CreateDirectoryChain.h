#pragma once

#include <string>

class Shell;

// Drive and directory of a file name, as _splitpath separates them ("C:\Bitmaps\" for
// "C:\Bitmaps\Screen001.bmp"); both '\' and '/' separate. Empty without a directory part.
std::string DirectoryPart(const std::string& fileName);

// Makes sure a directory exists, creating each missing level from the root down. The
// current directory is never changed: a relative path is taken from it, and the root of
// a drive, of a share ("\\server\share\") or of the current drive ("\") is kept as it is.
// An empty path is the current directory. false when a level can't be created or the path
// is longer than the system's 260 UTF-16 units.
bool CreateDirectoryChain(Shell& shell, const std::string& directory);
