// Counting and cutting UTF-8 text by characters, so a path is never split inside a character.
#pragma once

#include <cstddef>
#include <string>

// The number of characters in `text`.
std::size_t CharacterCount(const std::string& text);

// The byte offset at which character number `characters` begins (text.size() when it has fewer).
std::size_t CharacterOffset(const std::string& text, std::size_t characters);
