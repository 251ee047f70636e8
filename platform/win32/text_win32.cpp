// Text between the core (UTF-8, lines broken by LF CR) and Windows (UTF-16, lines broken by CR LF).
#include "platform/win32/win32_internal.h"

namespace plat::win32 {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

namespace {

// Swaps every `first` `second` pair into `second` `first`, scanning left to right so that pairs never
// overlap: LF CR LF CR is two pairs.
template <typename String>
String SwapPairs(String text, typename String::value_type first, typename String::value_type second) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == first && text[i + 1] == second) {
            text[i] = second;
            text[i + 1] = first;
            ++i;
        }
    }
    return text;
}

}  // namespace

std::wstring ToWindowsText(const std::string& text) { return SwapPairs(Widen(text), L'\n', L'\r'); }

std::string FromWindowsText(const std::wstring& text) { return Narrow(SwapPairs(text, L'\r', L'\n')); }

}  // namespace plat::win32
