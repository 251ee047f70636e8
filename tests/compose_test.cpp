// The composed texts, byte for byte: LineBreak is LF then CR, a blank line is two of them in a row, and
// no text starts or ends with one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shared_state.h"
#include "install/failure_texts.h"
#include "screens/compose.h"
#include "screens/screens.h"
#include "tests/harness.h"

namespace {

const std::string LB = "\n\r";

class ComposeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInstaller();
        LineBreak = LB;
    }
};

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? LB : "") + lines[i];
    return text;
}

TEST_F(ComposeTest, LinesAreJoinedByLineBreakWithNoneAtEitherEnd) {
    EXPECT_EQ(ComposeText({}), "");
    EXPECT_EQ(ComposeText({"one"}), "one");
    EXPECT_EQ(ComposeText({"one", "two"}), "one\n\rtwo");
    EXPECT_EQ(ComposeText({"one", "", "two"}), "one\n\r\n\rtwo");
}

TEST_F(ComposeTest, AgreementTextsAreExact) {
    EXPECT_EQ(AgreementIntro(),
              "Welcome! ... This will install the game onto your computer. Please read carefully the"
              "\n\rsection below and press 'AGREE' to continue with the installation.");
    EXPECT_EQ(AgreementConsent(),
              "By selecting 'AGREE', you have read and understood the terms listed above and consent"
              "\n\rto them. If not, select 'DECLINE' to quit the installation.");
    const std::string terms = AgreementTerms();
    EXPECT_EQ(terms.rfind("You must agree to ALL of the following listed below to install this software:"
                          "\n\r\n\rA) You agree not to resell",
                          0),
              0u);
    EXPECT_NE(terms.find("claim, damages, or other liablilties arising from or in connection with this"
                         "\n\rsoftware.\n\r\n\rIf you have any questions"),
              std::string::npos);
    // The address lines follow "Brallowen" with no blank line, and "Thank you!" closes the text.
    const std::string tail = "\n\rBrallowen\n\rbrallowen@example.com\n\rwww.example.com/kestrowin\n\rThank you!";
    ASSERT_GE(terms.size(), tail.size());
    EXPECT_EQ(terms.substr(terms.size() - tail.size()), tail);
    // Twenty lines, five of them empty.
    std::size_t breaks = 0, blank_lines = 0;
    for (std::size_t at = terms.find(LB); at != std::string::npos; at = terms.find(LB, at + 2)) {
        ++breaks;
        if (terms.compare(at + 2, 2, LB) == 0) ++blank_lines;
    }
    EXPECT_EQ(breaks, 19u);
    EXPECT_EQ(blank_lines, 5u);
}

TEST_F(ComposeTest, ScreenTextsAreExact) {
    EXPECT_EQ(LocationNote(),
              "Select the 'CHANGE' button to choose another location if needed. Please note that you"
              "\n\rmay need 'Administrative Privileges' to do so depending on your security settings.");
    EXPECT_EQ(VerifyAdvice(),
              "If this is correct, select 'INSTALL' to continue. If not, select 'BACK' to change."
              "\n\r\n\rYou will need about 9MB. of free disk space in order to install the game.");
    EXPECT_EQ(FinishText(),
              Join({"To play the game, just navigate to the location where you installed the game onto your",
                    "hard drive. Once there, double click the game's icon ('PlayKestrowin.exe') which looks",
                    "little green button with some balls inside a pool rack.",
                    "",
                    "Any questions, problems, or comments can be directed to Brallowen at:",
                    "E-Mail: brallowen@example.com  Website: www.example.com/kestrowin",
                    "Thanks for taking a look at my game and I hope you enjoy it!",
                    "",
                    "If needed, select 'GAME LOCATION' to remind you of the full path as to where you have",
                    "installed the game to ..."}));
}

TEST_F(ComposeTest, GameLocationMessageShowsTheDestinationWhole) {
    InstallLocation = "C:\\" + Repeat('d', 197) + "\\";
    const std::string expected = "The full path of the game is located here:\n\r\n\r" + InstallLocation +
                                 "\n\r\n\rYou will need to remember this location in order to start the game ...";
    EXPECT_EQ(GameLocationMessage(), expected);
    EXPECT_EQ(GameLocationMessage(), expected) << "a second press composes the same text";
}

TEST_F(ComposeTest, FailureTextsAreExact) {
    const std::vector<std::string> shared_tail = {
        "I am returning you to where you can select the", "location again. If you still experience problems",
        "then try leaving the location set to the default.", "", "Select 'OK' to try it again ..."};
    auto with_tail = [&](std::vector<std::string> head) {
        head.push_back("");
        head.insert(head.end(), shared_tail.begin(), shared_tail.end());
        return Join(head);
    };
    EXPECT_EQ(LocateFailureText(),
              Join({"I can't locate the directory that you have chosen ...", "",
                    "I'm returning you to where you can select the location",
                    "again. If you still have problems, try keeping the", "initial default location the same.", "",
                    "Select 'OK' To try again ..."}));
    EXPECT_EQ(CreateFailureText(),
              with_tail({"Hmmm? I can't seem to create the 'Game' folder", "inside the location you have chosen. It could",
                         "be that you don't have 'Administrative Rights'", "to save data to that location."}));
    EXPECT_EQ(SaveFailureText(),
              with_tail({"Hmmm? I can't seem to save any data. It could", "be that you don't have 'Administrative Rights'",
                         "to save data to that location or the area is full.",
                         "You need about 9 MB. of free space to install"}));
    const std::string remove = RemoveFailureText();
    EXPECT_EQ(remove.rfind("Hmmm? I can't seem to remove the old 'Kestrowin'", 0), 0u);
    EXPECT_EQ(remove.substr(remove.size() - Join(shared_tail).size()), Join(shared_tail));
}

struct WrapCase {
    std::string path;
    std::string expected;
};

TEST_F(ComposeTest, WrapPathBreaksOnceAfterSeventyCharacters) {
    const std::string seventy = "C:\\" + Repeat('a', 66) + "\\";
    const std::string long_tail = Repeat('b', 129) + "\\";
    const std::vector<WrapCase> cases = {
        {"", ""},
        {"C:\\Games\\", "C:\\Games\\"},
        {seventy, seventy},
        {seventy + "x", seventy + LB + "x"},
        {seventy + Repeat('c', 80), seventy + LB + Repeat('c', 80)},
        {seventy + long_tail, seventy + LB + long_tail},
        // The break falls inside a folder name and splits it; the final backslash ends the second line.
        {"C:\\" + Repeat('p', 60) + "\\Kestrowin\\", "C:\\" + Repeat('p', 60) + "\\Kestro" + LB + "win\\"},
    };
    for (const WrapCase& c : cases) {
        EXPECT_EQ(WrapPath(c.path), c.expected) << "path of " << c.path.size() << " characters";
    }
}

TEST_F(ComposeTest, WrapPathCountsCharactersAndNeverSplitsOne) {
    // Sixty-nine ASCII characters and then two-byte letters: the seventieth character is the first "ë".
    const std::string path = "C:\\" + Repeat('a', 66) + "\xc3\xab\xc3\xab" + "\\";
    EXPECT_EQ(WrapPath(path), "C:\\" + Repeat('a', 66) + "\xc3\xab" + LB + "\xc3\xab\\");
    const std::string seventy_letters = [] {
        std::string s;
        for (int i = 0; i < 70; ++i) s += "\xd0\x98";  // Cyrillic capital I
        return s;
    }();
    EXPECT_EQ(WrapPath(seventy_letters), seventy_letters) << "seventy characters fit on one line";
}

}  // namespace
