// Saves the assignment files again and again through the program's own store, for kill-during-save tests:
//   saveloop loop DIR     saves set A, set B, A, B ... in DIR until killed; prints "saving" after the first save
//   saveloop rate DIR     saves for two seconds and prints the saves per second
//   saveloop check DIR    says which set each file holds as a whole ("A", "B", or "bad") and how many scratch
//                         files are there, once the program's next start has finished an interrupted save, and
//                         what the kill left: "tipp=A tipps=A scratch=0 / killed: tipp=A tipps=B scratch=2"
// The sets differ in every line and in length, so a cut or a mix of the two never passes for either.
#include "platform/win32/ansi_codec.h"
#include "platform/win32/win_file_store.h"
#include "store/assignments.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Set {
    std::vector<std::wstring> keys, shortcuts;
};

Set assignments(int which) {
    Set set;
    for (int i = 0; i < ww::kKeyCount; ++i)
        set.keys.push_back(which == 0 ? L"alt " + std::to_wstring(i)
                                      : L"Neuer, längerer Text " + std::to_wstring(i) + L"###Grüße äöü ß {x}");
    for (int i = 0; i < ww::kShortcutCount; ++i)
        set.shortcuts.push_back(which == 0 ? L"strg + a" : L"umschalt + alt + f" + std::to_wstring(i + 1));
    return set;
}

std::string fileBytes(const ww::TextCodec& codec, const std::vector<std::wstring>& records) {
    std::string bytes;
    for (const auto& record : records)
        bytes += codec.encode(record) + "\r\n";
    return bytes;
}

const char* whichSet(const ww::FileStore& files, const ww::TextCodec& codec, const char* name, bool keys) {
    std::wstring error;
    const auto bytes = files.readAll(name, &error);
    for (int which = 0; bytes && which < 2; ++which) {
        const Set set = assignments(which);
        if (*bytes == fileBytes(codec, keys ? set.keys : set.shortcuts)) return which == 0 ? "A" : "B";
    }
    return "bad";
}

int scratchFiles() {
    int n = 0;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(L"*.~*", &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do
        ++n;
    while (FindNextFileW(find, &found));
    FindClose(find);
    return n;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring cmd = argc > 2 ? argv[1] : L"";
    if ((cmd != L"loop" && cmd != L"rate" && cmd != L"check") || !SetCurrentDirectoryW(argv[2])) {
        fputs("usage: saveloop loop|rate|check DIR\n", stderr);
        return 2;
    }
    ww::win::Win32FileStore files;
    ww::win::AnsiCodec codec;
    if (cmd == L"check") {
        const auto state = [&] {
            return "tipp=" + std::string(whichSet(files, codec, ww::kKeyTextFile, true)) +
                   " tipps=" + whichSet(files, codec, ww::kShortcutFile, false) +
                   " scratch=" + std::to_string(scratchFiles());
        };
        const std::string killed = state();
        ww::finishInterruptedSave(files);
        printf("%s / killed: %s\n", state().c_str(), killed.c_str());
        return 0;
    }
    const Set sets[] = {assignments(0), assignments(1)};
    const ULONGLONG start = GetTickCount64();
    for (long i = 0;; ++i) {
        Set set = sets[i % 2];
        std::wstring error;
        if (!ww::saveAssignments(files, codec, set.keys, set.shortcuts, &error)) {
            fwprintf(stderr, L"save %ld failed: %ls\n", i, error.c_str());
            return 1;
        }
        if (i == 0 && cmd == L"loop") {
            puts("saving");
            fflush(stdout);
        }
        if (cmd == L"rate" && GetTickCount64() - start >= 2000) {
            printf("%.0f saves per second\n", static_cast<double>(i + 1) * 1000.0 / (GetTickCount64() - start));
            return 0;
        }
    }
}
