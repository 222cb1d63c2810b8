// The line-feed handling of text files: CR LF read as LF, LF written as CR LF (portable).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vendrak {

// Each line as it completes: its bytes without the line feed (and without the carriage return before it).
using LineSink = std::function<void(const std::string& line)>;

// Splits a byte stream that arrives in pieces into lines, as a text-mode read does: a line ends at each
// line feed, a carriage return directly before a line feed is dropped (also when the two arrive in
// different pieces), any other carriage return is kept. One splitter per file, on one thread.
class TextLineSplitter {
public:
    // Passes every line that the piece completes to onLine.
    void Feed(std::string_view piece, const LineSink& onLine);
    // End of the stream: passes a last line that has no line feed (if it holds any byte) to onLine.
    void Finish(const LineSink& onLine);

private:
    std::string pending_; // the bytes of the line not yet ended by a line feed
};

// The bytes a text-mode write puts on disk: every line feed becomes carriage return plus line feed
// (also one that already follows a carriage return); every other byte is kept.
std::string ToCrLf(std::string_view text);

} // namespace vendrak
