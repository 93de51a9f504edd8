// Whole-file reads and crash-safe writes, shared by the XML document and the property bag.
#pragma once
#include <string>
#include <string_view>

namespace ax::xml {

enum class ReadStatus { Ok, NotFound, Unreadable };

// Reads the whole file into bytes.
ReadStatus readFile(const std::string& path, std::string& bytes);

// Writes bytes to a temporary file beside the target, flushes it to disk and renames it over the
// target, so that the file that was there stays whole if anything fails. Raises 75 (path/file access
// error) when the file cannot be written.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace ax::xml
