// SendKeys text as VB reads it: what WScript.Shell presses for a script's keys.
#include <gtest/gtest.h>
#include <windows.h>

#include "automation/AutomationError.h"
#include "automation/com/KeySyntax.h"

namespace tessaline::automation::com {
namespace {

TEST(KeySyntaxTest, ModifiersGroupsAndNamedKeys) {
    EXPECT_EQ(parseSendKeys("%{F11}"), (std::vector<KeyStroke>{{VK_F11, 0, false, false, true}}));
    EXPECT_EQ(parseSendKeys("^c~"), (std::vector<KeyStroke>{{0, L'c', false, true, false}, {VK_RETURN}}));
    // A modifier holds for a whole group; {x} types the characters that have a meaning of their own.
    EXPECT_EQ(parseSendKeys("+(ab){%}{{}"),
              (std::vector<KeyStroke>{{0, L'a', true}, {0, L'b', true}, {0, L'%'}, {0, L'{'}}));
    EXPECT_EQ(parseSendKeys("{tab 3}"), (std::vector<KeyStroke>(3, KeyStroke{VK_TAB})));
    EXPECT_EQ(parseSendKeys("{}}中"), (std::vector<KeyStroke>{{0, L'}'}, {0, L'\u4e2d'}}));
}

TEST(KeySyntaxTest, TextVbRefusesIsAnInvalidCall) {
    for (const char* bad : {"{NOPE}", "{F11", "a}", "(ab", "ab)", "%", "{F17}", "{TAB x}"}) {
        try {
            parseSendKeys(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), vberr::InvalidCall) << bad;
        }
    }
}

}  // namespace
}  // namespace tessaline::automation::com
