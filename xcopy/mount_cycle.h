#pragma once

#include <string>

// Whether the walk of the source (its real folders, hidden ones only when HIDDEN) meets the
// destination or one of its parents, which a bind mount or a second mount can make a source folder
// without its path showing it. Both paths are resolved. The tree is walked only when the mount
// table holds a mount that could do that: one inside the source, or one on the destination's path
// that shows a folder of a file system rather than the whole of it.
bool sourceTreeHoldsDestination(const std::string &source, const std::string &destination,
                                bool hidden);
