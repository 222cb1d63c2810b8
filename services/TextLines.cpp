// The line-feed handling of text files.
#include "services/TextLines.h"

namespace vendrak {

void TextLineSplitter::Feed(std::string_view piece, const LineSink& onLine) {
    while (!piece.empty()) {
        const size_t lineFeed = piece.find('\n');
        if (lineFeed == std::string_view::npos) {
            pending_.append(piece);
            return;
        }
        pending_.append(piece.substr(0, lineFeed));
        if (!pending_.empty() && pending_.back() == '\r')
            pending_.pop_back();
        onLine(pending_);
        pending_.clear();
        piece.remove_prefix(lineFeed + 1);
    }
}

void TextLineSplitter::Finish(const LineSink& onLine) {
    if (pending_.empty())
        return;
    onLine(pending_);
    pending_.clear();
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char byte : text) {
        if (byte == '\n')
            out += '\r';
        out += byte;
    }
    return out;
}

} // namespace vendrak
