#pragma once
// The object-count status text of a module's list: "%d object" for at most one row,
// "%d objects" otherwise, or "%d selected object(s) on %d" while rows are selected.
#include <string>

std::string ObjectCountText(int rows, int selected);
