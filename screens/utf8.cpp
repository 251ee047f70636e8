#include "screens/utf8.h"

namespace {

bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char byte : text) {
        if (!IsContinuationByte(byte)) ++count;
    }
    return count;
}

std::size_t CharacterOffset(const std::string& text, std::size_t characters) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(static_cast<unsigned char>(text[i]))) continue;
        if (seen == characters) return i;
        ++seen;
    }
    return text.size();
}
