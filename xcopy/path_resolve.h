#pragma once

#include <string>

// Absolute form of the path with "." , ".." and symbolic links resolved as far as it exists; the
// missing rest is joined as written, the way creating it folder by folder would resolve it.
std::string resolvePath(const std::string &path);

// Whether INNER is OUTER itself or lies somewhere below it (both resolved).
bool isSameOrInside(const std::string &inner, const std::string &outer);
