// The floor of the delivery benchmark: the events wortwerk.exe sends for a key's text, in one bare SendInput call.
//   benchfloor send KEY   reads tipp.dat in the current directory as the program does, takes the text of KEY
//                         ('1'..'9', '0', 'A'..'Z'), puts the three Backspaces of the program's hand-over before it,
//                         plans the events for the foreground window's layout with the program's own planner and
//                         sends them all in ONE SendInput call. Prints "start_ns end_ns sent planned" (wall clock, ns
//                         since 1970, comparable with the benchmark target's record), then stays 2 s so that the end of
//                         its process does not compete with the target while it handles the keys.
#include <windows.h>

#include "input/keystroke_plan.h"
#include "input/notation.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/win_file_store.h"
#include "platform/win32/win_keyboard.h"
#include "store/assignments.h"

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr DWORD kWarmUpMs = 300;
constexpr DWORD kLingerMs = 2000;

std::int64_t nowNs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const std::int64_t ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - 116444736000000000LL) * 100; // 100 ns units since 1601 -> ns since 1970
}

int keyIndex(wchar_t key) {
    for (int i = 0; i < ww::kKeyCount; ++i)
        if (ww::keyName(i) == key) return i;
    return -1;
}

int runSend(wchar_t key) {
    const int index = keyIndex(key);
    if (index < 0) return 2;
    ww::win::Win32FileStore files;
    const ww::win::AnsiCodec codec;
    std::wstring problem;
    const auto records = ww::readRecords(files, codec, ww::kKeyTextFile, ww::kKeyCount, &problem);
    if (!problem.empty()) {
        fwprintf(stderr, L"%ls\n", problem.c_str());
        return 1;
    }
    const std::wstring keys =
        L"{BACKSPACE}{BACKSPACE}{BACKSPACE}" + ww::encodeText(records[static_cast<std::size_t>(index)]);
    const ww::ParseResult parsed = ww::parseKeystrokes(keys);
    if (!std::holds_alternative<std::vector<ww::KeyAction>>(parsed)) return 1;
    ww::win::Win32KeyboardLayout layout(ww::win::foregroundKeyboardLayout());
    const auto calls =
        ww::planKeystrokes(std::get<std::vector<ww::KeyAction>>(parsed), layout,
                           ww::win::currentKeyboardState().capsLock, std::numeric_limits<std::size_t>::max());
    if (calls.size() != 1) return 1;
    std::vector<INPUT> inputs = ww::win::toInputs(calls.front());
    // wortwerk.exe has long been running when it types: a first call of this fresh process sets up what Wine needs,
    // with an unassigned key that types nothing and comes before the measured span.
    const ww::KeyEvent warm[] = {{ww::vk::Mask, 0, false, false, false}, {ww::vk::Mask, 0, true, false, false}};
    std::vector<INPUT> warmUp = ww::win::toInputs(warm);
    SendInput(static_cast<UINT>(warmUp.size()), warmUp.data(), sizeof(INPUT));
    Sleep(kWarmUpMs);
    const std::int64_t start = nowNs();
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    const std::int64_t end = nowNs();
    printf("%lld %lld %u %zu\n", static_cast<long long>(start), static_cast<long long>(end), sent, inputs.size());
    fflush(stdout);
    Sleep(kLingerMs);
    return sent == inputs.size() ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"send" && argv[2][0] != 0 && argv[2][1] == 0)
        return runSend(static_cast<wchar_t>(towupper(argv[2][0])));
    fputs("usage: benchfloor send KEY\n", stderr);
    return 2;
}
