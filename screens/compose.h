// How every multi-line text on the screens is put together.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Joins `lines` with LineBreak: each line but the last is followed by one LineBreak, so an empty line
// between two others makes two LineBreaks in a row and the text never ends with one.
std::string ComposeText(std::initializer_list<std::string_view> lines);
