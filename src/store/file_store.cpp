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

// Puts the old bytes back where the new ones already are, by renaming alone. What cannot be undone keeps its copy,
// the only place left with the old bytes, and is named in the returned text.
std::wstring undo(FileStore& files, std::vector<Replacement>& steps) {
    std::wstring stuck;
    std::wstring ignored;
    for (auto& step : steps) {
        if (!step.moved) continue;
        const std::string& name = step.content.name;
        if (!step.kept) {
            files.removeFile(name); // there was no file of that name before
        } else if (files.moveFile(oldName(name), name, true, &ignored)) {
            step.kept = false;
        } else {
            stuck += L"\n\nDie Datei " + wide(name) + L" hat schon den neuen Inhalt; ihr alter Inhalt liegt in " +
                     wide(oldName(name)) + L".";
            continue;
        }
        step.moved = false;
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
    // The last file needs no copy: once it is in place, nothing is left that could fail.
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        const std::string& name = steps[i].content.name;
        std::wstring unreadable;
        const auto old = files.readAll(name, &unreadable);
        if (!old && !files.exists(name)) continue; // nothing to keep: undoing removes the new file
        // The read's own message says why (often another program holding the file), which the user can act on.
        if (!old)
            *reason = L"Der bisherige Inhalt lässt sich nicht lesen und damit nicht sichern." +
                      (unreadable.empty() ? std::wstring() : L"\n" + unreadable);
        if (!old || !files.writeFile(oldName(name), *old, reason)) {
            *failed = &name;
            return false;
        }
        steps[i].kept = true;
    }
    return true;
}

} // namespace

std::wstring fileError(FileAction action, const std::string& name, std::wstring_view reason) {
    const wchar_t* verb = action == FileAction::Read   ? L"gelesen"
                          : action == FileAction::Save ? L"gespeichert"
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
    for (const auto& step : steps) {
        if (!step.moved) files.removeFile(newName(step.content.name));
        if (!(failed && step.moved)) files.removeFile(oldName(step.content.name)); // also a part-written copy
    }
    if (failed && error)
        *error = fileError(FileAction::Save, *failed, reason) +
                 (stuck.empty() ? L"\n\nEs wurde nichts gespeichert." : stuck);
    return !failed;
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
