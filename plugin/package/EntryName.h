#pragma once

#include <string>
#include <vector>

// Stored names of package entries, made relative and confined to the package directory.
//
// Both '/' and '\' separate components, on every target. A leading drive ("X:") and leading
// separators are removed, and so is everything up to and including a ".." component, again and
// again until none is left; empty and "." components are dropped. What remains names a place
// below the package directory: "../a" lands in it, "d/../../a" keeps only "a", and a name made
// only of such parts (for example "../") is empty and names nothing.

// The components of the confined name, in order; empty when nothing is left.
std::vector<std::string> ConfineEntryName(const std::string& stored);

// Whether the stored name ends with a separator, which marks a directory entry.
bool EndsWithSeparator(const std::string& stored);
