// The listing of a folder that the bar's Load list offers.
#pragma once

#include <string>
#include <vector>

// Fills out with the entry names of the folder `prefix` (empty: the working directory; else
// a folder path ending in a separator), without "..", names under five characters and the
// program's own binaries (".dll", ".exe", ".pdb"), sorted byte by byte. A folder that cannot
// be read gives an empty list.
void ListResourceFiles(const std::string& prefix, std::vector<std::string>& out);

// Fills out with the names of the image files of the working directory that a background can
// show: *.png, *.jpg, *.jpeg, *.bmp and *.tga in any letter case, sorted byte by byte. Folders
// are left out, and so are names a path file cannot carry (with a backslash or a colon). A
// folder that cannot be read gives an empty list.
void ListImageFiles(std::vector<std::string>& out);
