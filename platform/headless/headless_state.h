// The headless backend's state, shared by its sources.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless.h"

namespace headless {

struct State {
    std::map<int, Window> windows;
    int current_slot = 0;
    int open_container = -1;
    int windows_opened = 0;
    int failing_opens = 0;
    int opens_before_failing = 0;
    bool font_fails = false;
    std::string font;
    std::map<int, std::pair<int, int>> images;  // slot -> width, height
    std::deque<UserAction> script;
    int last_control = 0;
    std::deque<ChooserAnswer> chooser_answers;
    std::function<void()> message_box_check;
    std::vector<MessageBoxRecord> message_boxes;
    std::vector<std::string> timeline;
};

State& TheState();
void Record(const std::string& entry);

}  // namespace headless
