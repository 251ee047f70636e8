#include "screens/compose.h"

#include "app/shared_state.h"

std::string ComposeText(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) text += LineBreak;
        text += line;
        first = false;
    }
    return text;
}
