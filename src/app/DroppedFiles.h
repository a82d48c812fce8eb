#pragma once
#include <string>
#include <vector>

// The text a drop of files puts into the address box: one path as it is; two or more paths
// each followed by CR LF.
std::string DroppedFilesText(const std::vector<std::string>& paths);
