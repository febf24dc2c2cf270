// The keystroke notation from arbitrary strings: text encoding, shortcut translation and the parser, and the plan
// of whatever parses, on a German layout with the user holding modifiers.
#include "input/notation.h"

#include "fake_keyboard.h"
#include "fuzz_text.h"
#include "notation_checks.h"
#include "plan_invariants.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace ww;

void checkPlanOf(const std::vector<KeyAction>& actions, std::uint8_t held) {
    testing::FakeLayout layout = testing::germanLayout();
    for (const std::size_t max : {std::size_t{16}, kMaxEventsPerCall}) {
        const std::string problem =
            fuzzing::checkSentPlan(planKeystrokes(actions, layout, false, max), actions, layout, {held, false}, max);
        if (!problem.empty()) fuzzing::fail("plan: " + problem);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // First byte: the modifiers the user holds; the rest: the text as UTF-16 units.
    const std::uint8_t held = data[0];
    const std::wstring text = fuzzing::utf16Units({reinterpret_cast<const char*>(data + 1), size - 1});

    if (const auto actions = fuzzing::checkedParse(text)) checkPlanOf(*actions, held);
    checkPlanOf(fuzzing::checkedTextParse(text, encodeText(text)), held);
    const std::wstring shortcut = translateShortcut(text);
    if (shortcut.find(L' ') != std::wstring::npos) fuzzing::fail("a blank left in a shortcut");
    if (const auto actions = fuzzing::checkedParse(shortcut)) checkPlanOf(*actions, held);
    return 0;
}
