#include "store/file_store.h"

#include <vector>

namespace ww {

namespace {

// Scratch names next to the file; unusual enough never to meet a file of the user's.
std::string newName(const std::string& name) {
    return name + ".~neu";
}
std::string oldName(const std::string& name) {
    return name + ".~alt";
}

std::wstring wide(const std::string& name) {
    return {name.begin(), name.end()};
}

struct Replacement {
    const FileContent& content;
    bool kept = false;  // the old bytes are in the copy
    bool moved = false; // the new bytes are in place
};

// Puts the old bytes back where the new ones already are, by renaming alone; a file that did not exist goes back
// to its scratch name. What cannot be undone keeps its copy, the only place left with the old bytes, and is named
// in the returned text.
std::wstring undo(FileStore& files, std::vector<Replacement>& steps) {
    std::wstring stuck;
    std::wstring ignored;
    for (auto& step : steps) {
        if (!step.moved) continue;
        const std::string& name = step.content.name;
        if (files.moveFile(step.kept ? oldName(name) : name, step.kept ? name : newName(name), true, &ignored)) {
            step.kept = step.moved = false;
            continue;
        }
        stuck += L"\n\nDie Datei " + wide(name) + L" hat schon den neuen Inhalt" +
                 (step.kept ? L"; ihr alter Inhalt liegt in " + wide(oldName(name)) + L"." : std::wstring(L"."));
    }
    return stuck;
}

bool writeScratch(FileStore& files, std::vector<Replacement>& steps, std::wstring* reason, const std::string** failed) {
    for (auto& step : steps) {
        if (!files.writeFile(newName(step.content.name), step.content.bytes, reason)) {
            *failed = &step.content.name;
            return false;
        }
    }
    // The last file needs no copy: once it is in place, nothing is left that could fail. The copies come after all
    // scratch files, so the first file's copy proves them complete (finishReplacement); a file that did not exist
    // gets an empty one, and undoing takes the new file back to its scratch name instead.
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        const std::string& name = steps[i].content.name;
        std::wstring unreadable;
        auto old = files.readAll(name, &unreadable);
        const bool kept = old || files.exists(name);
        // The read's own message says why (often another program holding the file), which the user can act on.
        if (kept && !old)
            *reason = L"Der bisherige Inhalt lässt sich nicht lesen und damit nicht sichern." +
                      (unreadable.empty() ? std::wstring() : L"\n" + unreadable);
        if ((kept && !old) || !files.writeFile(oldName(name), old.value_or(std::string()), reason)) {
            *failed = &name;
            return false;
        }
        steps[i].kept = kept;
    }
    return true;
}

} // namespace

std::wstring fileError(FileAction action, const std::string& name, std::wstring_view reason) {
    const wchar_t* verb = action == FileAction::Read       ? L"gelesen"
                          : action == FileAction::ReadPart ? L"ganz gelesen"
                          : action == FileAction::Save     ? L"gespeichert"
                                                           : L"angelegt";
    return L"Die Datei " + wide(name) + L" konnte nicht " + verb + L" werden: " + std::wstring(reason);
}

bool replaceFiles(FileStore& files, std::span<const FileContent> contents, std::wstring* error) {
    std::vector<Replacement> steps;
    for (const FileContent& content : contents)
        steps.push_back(Replacement{content});
    std::wstring reason;
    const std::string* failed = nullptr;
    if (writeScratch(files, steps, &reason, &failed)) {
        for (auto& step : steps) {
            if (!files.moveFile(newName(step.content.name), step.content.name, true, &reason)) {
                failed = &step.content.name;
                break;
            }
            step.moved = true;
        }
    }
    const std::wstring stuck = failed ? undo(files, steps) : std::wstring();
    // The copies go first: without the first one, what is left reads as a save that replaced nothing. A save that
    // could not be undone keeps everything for finishReplacement(), which completes it.
    if (stuck.empty()) {
        for (const auto& step : steps)
            files.removeFile(oldName(step.content.name)); // also a part-written copy
        for (const auto& step : steps)
            if (!step.moved) files.removeFile(newName(step.content.name));
    }
    if (failed && error)
        *error = fileError(FileAction::Save, *failed, reason) +
                 (stuck.empty() ? L"\n\nEs wurde nichts gespeichert." : stuck);
    return !failed;
}

void finishReplacement(FileStore& files, std::span<const std::string> names) {
    if (names.empty()) return;
    // The first file's scratch file is renamed only after every copy is written, and every copy only after every
    // scratch file is complete.
    const bool firstReplaced = files.exists(oldName(names[0])) && !files.exists(newName(names[0]));
    std::wstring ignored;
    if (firstReplaced) {
        for (std::size_t i = 1; i < names.size(); ++i)
            if (files.exists(newName(names[i])) && !files.moveFile(newName(names[i]), names[i], true, &ignored))
                return; // each file is whole; the next call tries again
    }
    // The copies go first, as in replaceFiles().
    for (const std::string& name : names)
        files.removeFile(oldName(name));
    for (const std::string& name : names)
        files.removeFile(newName(name));
}

bool createNew(FileStore& files, const std::string& name, const std::string& bytes, std::wstring* error) {
    std::wstring reason;
    if (files.writeFile(newName(name), bytes, &reason) && files.moveFile(newName(name), name, false, &reason))
        return true;
    files.removeFile(newName(name));
    if (error) *error = fileError(FileAction::Create, name, reason);
    return false;
}

} // namespace ww
