#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The first paragraphs of an RTF document as a document of their own: everything before
// the last paragraph mark at the document's top level that ends within the first
// `bytes`, closed. A long note shows these at once and its whole text a moment later.
// Empty when the text is not RTF or has no such paragraph mark; binary data is skipped
// whatever braces it holds, and the scan never reads past the text's end.
std::string RtfBeginning(std::string_view rtf, std::size_t bytes);
