// Scripted platform dialogs for the headless backend.
#include "platform/dialogs.h"
#include "platform/headless/headless_state.h"

namespace headless {

void AnswerChooser(ChooserAnswer answer) { TheState().chooser_answers.push_back(std::move(answer)); }

void OnMessageBox(std::function<void()> check) { TheState().message_box_check = std::move(check); }

const std::vector<MessageBoxRecord>& MessageBoxes() { return TheState().message_boxes; }

}  // namespace headless

namespace plat {

std::string PickFolder(const std::string& prompt, const std::string& start_folder) {
    headless::State& s = headless::TheState();
    headless::Record("chooser " + prompt + "|" + start_folder);
    if (s.chooser_answers.empty()) throw headless::ScriptExhausted{};
    headless::ChooserAnswer answer = std::move(s.chooser_answers.front());
    s.chooser_answers.pop_front();
    return answer(prompt, start_folder);
}

void ShowMessageBox(const std::string& title, const std::string& text) {
    headless::State& s = headless::TheState();
    headless::Record("message " + title);
    s.message_boxes.push_back({title, text});
    if (s.message_box_check) s.message_box_check();
}

}  // namespace plat
