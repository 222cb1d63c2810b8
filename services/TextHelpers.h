// The text conversions between UTF-16, libvlc and files (UTF-8) and the shell's 8-bit results (ANSI
// code page), and the whole-file text operations behind the page's file methods.
#pragma once

#include <string>
#include <string_view>

namespace vendrak {

// Every operation runs on its caller's thread and keeps no state. None reports failure: bad input gives
// U+FFFD replacements or the empty text. Only std::bad_alloc may escape the conversions.

// UTF-8 -> the same text in the ANSI code page, up to the first zero byte. Invalid sequences become
// U+FFFD first; characters the code page lacks are mapped as the platform does by default (best fit or
// "?"). The empty string when a conversion fails.
std::string Utf8ToAnsi(const std::string& utf8);

// UTF-8 <-> UTF-16 for the shell's own texts (paths, addresses), the whole view including any zero.
// Invalid sequences and unpaired surrogates become U+FFFD; the empty text when a conversion fails.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Bytes in the given Windows code page (CP_ACP, CP_UTF8, ...) -> UTF-16, the whole view; the empty text
// when a conversion fails.
std::wstring CodePageToWide(unsigned int codePage, std::string_view bytes);

// Reads the file named by the page's UTF-8 path (cut with CutPagePath): each line (CR LF read as LF,
// a last line without LF included, a zero byte ending its line) followed by one LF. A file that is valid
// UTF-8 is read as UTF-8 (a leading byte order mark dropped), any other in the ANSI code page. The empty
// text when the file cannot be opened; the text read so far when reading fails or memory runs out.
std::wstring ReadTextFile(const std::string& path);

// Writes content byte for byte to the file named by the page's UTF-8 path (cut with CutPagePath), each
// LF written as CR LF, through ReplaceFileContent: the file holds either its old or its new content.
// Nothing changes when the file cannot be written (missing folder, a folder, a read-only file, a
// device); the failure log says why.
void WriteTextFile(const std::string& path, const std::string& content);

} // namespace vendrak
