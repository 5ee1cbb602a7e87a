#pragma once
#include <string>

// Where the notes and "Pinvel.ini" are kept. Beside the program while its folder can be
// written (a USB stick, a folder of the user's own): portable use stays as it was. When
// it cannot (a copy under Program Files, a read-only share), in the user's own folder
// instead, so that nothing typed is lost at exit; and from then on, for that program
// folder, even at a start that could write there.
struct PHome {
    // Ends in a backslash.
    std::wstring folder;
    // True when the user's folder is used: the program folder is shut, or was once, or
    // the program was installed there by its setup.
    bool perUser = false;
    // True for a copy its setup installed: it never keeps notes beside itself.
    bool installed = false;
    // True at the start that made the user's folder: the user is told once.
    bool madeNow = false;
    // Note files copied over from the shut program folder and its VirtualStore copy.
    int copied = 0;

    // programFolder and userFolder end in a backslash; localFolder is the user's local
    // application-data folder, whose VirtualStore may hold what an earlier copy of the
    // program wrote while Windows redirected it.
    static PHome Find(const std::wstring& programFolder, const std::wstring& userFolder,
                      const std::wstring& localFolder);
};

// The file the setup puts beside the program it installs.
constexpr wchar_t kInstalledMarker[] = L"Pinvel.installed";

// True when a file can be made in the folder: found by making and removing one, since a
// folder's attributes say nothing about the rights or the medium behind it.
bool CanWriteFolder(const std::wstring& folder);

// Where Windows redirected an older program's writes to the folder: the local folder's
// "VirtualStore" and the path without its drive. Empty for a path on a share.
std::wstring VirtualStoreOf(const std::wstring& folder, const std::wstring& localFolder);
