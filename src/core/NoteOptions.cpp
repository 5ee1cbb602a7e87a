#include "NoteOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <numeric>
#include <tuple>
#include <vector>

namespace {

constexpr std::string_view kMagic = "PINVELOPT 1";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr int kZoomSteps[] = {50, 60, 70, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 350, 400};
constexpr const char* kActionNames[kHotkeyCount] = {"new", "showhide", "find", "clip", "next"};
constexpr const char* kLevelNames[] = {"top", "normal", "desktop"};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value)
{
    Number read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    value = read;
    return true;
}

// "name=value" fields after the line's kind. A name apply does not know (it returns
// false) belongs to a newer version: the field is kept as it came, to be written back.
template <typename Apply>
void ReadFields(const std::vector<std::string_view>& parts, std::size_t first, std::string& others, Apply apply)
{
    for (std::size_t i = first; i < parts.size(); ++i) {
        const std::size_t equals = parts[i].find('=');
        if (equals != std::string_view::npos && !apply(parts[i].substr(0, equals), parts[i].substr(equals + 1)))
            others.append("\t").append(parts[i]);
    }
}

// The fields of a newer version from the copy taken, and those of the other copy whose
// names it lacks: a copy that knows a field always writes it, so a missing one was not
// known there.
std::string MergeOtherFields(const std::string& taken, const std::string& other)
{
    std::string merged = taken;
    for (std::string_view field : Split(other, '\t')) {
        const std::size_t equals = field.find('=');
        if (field.empty() || equals == std::string_view::npos)
            continue;
        const std::string name = "\t" + std::string(field.substr(0, equals + 1));
        if (("\t" + taken).find(name) == std::string::npos && merged.find(name) == std::string::npos)
            merged.append("\t").append(field);
    }
    return merged;
}

void ReadNote(const std::vector<std::string_view>& parts, SideFile& file)
{
    // A name with a path in it, or none, names no note of this folder.
    if (parts.size() < 2 || parts[1].empty() || parts[1].find_first_of("\\/:") != std::string_view::npos)
        return;
    NoteOptions options;
    options.lockKnown = false;
    ReadFields(parts, 2, options.otherFields, [&](std::string_view name, std::string_view value) {
        int number = 0;
        if (name == "stamp")
            ReadNumber(value, options.stamp);
        else if (name == "level") {
            for (int i = 0; i < 3; ++i) {
                if (value == kLevelNames[i])
                    options.level = static_cast<NoteLevel>(i);
            }
        } else if (name == "opacity") {
            if (ReadNumber(value, number) && number >= kLeastOpacity && number <= kFullOpacity && number % 10 == 0)
                options.opacity = number;
        } else if (name == "zoom") {
            if (ReadNumber(value, number) && number >= kLeastZoom && number <= kMostZoom)
                options.zoom = number;
        } else if (name == "locked") {
            options.lockKnown = true;
            options.locked = value == "1";
        } else
            return false;
        return true;
    });
    file.notes[std::string(parts[1])] = options;
}

bool ReadHotkey(std::string_view value, Hotkey& key)
{
    const std::vector<std::string_view> pair = Split(value, ',');
    Hotkey read;
    if (pair.size() != 2 || !ReadNumber(pair[0], read.modifiers) || !ReadNumber(pair[1], read.key) ||
        read.modifiers > 15 || read.key > 255)
        return false;
    key = read;
    return true;
}

void ReadHotkeys(const std::vector<std::string_view>& parts, SideFile& file)
{
    HotkeyOptions hotkeys;
    hotkeys.keysKnown = 0;
    ReadFields(parts, 1, hotkeys.otherFields, [&](std::string_view name, std::string_view value) {
        if (name == "stamp")
            ReadNumber(value, hotkeys.stamp);
        else if (name == "told")
            ReadNumber(value, hotkeys.toldTaken);
        else {
            const auto action = std::find(std::begin(kActionNames), std::end(kActionNames), name);
            if (action == std::end(kActionNames))
                return false;
            const auto index = static_cast<int>(action - std::begin(kActionNames));
            hotkeys.keysKnown |= 1u << index;
            ReadHotkey(value, hotkeys.keys[index]);
        }
        return true;
    });
    file.hotkeys = hotkeys;
}

void ReadProgram(const std::vector<std::string_view>& parts, SideFile& file)
{
    ProgramOptions program;
    ReadFields(parts, 1, program.otherFields, [&](std::string_view name, std::string_view value) {
        if (name == "stamp")
            ReadNumber(value, program.stamp);
        else if (name == "language")
            ReadLanguageChoice(value, program.language);
        else
            return false;
        return true;
    });
    file.program = program;
}

} // namespace

bool FileNameLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

SideFile ReadSideFile(std::string_view bytes)
{
    SideFile file;
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        bytes.remove_prefix(kUtf8Mark.size());
    std::vector<std::string_view> lines = Split(bytes, '\n');
    for (auto& line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }
    if (lines.empty() || lines[0] != kMagic)
        return file;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> parts = Split(lines[i], '\t');
        if (parts[0] == "note")
            ReadNote(parts, file);
        else if (parts[0] == "hotkeys")
            ReadHotkeys(parts, file);
        else if (parts[0] == "program")
            ReadProgram(parts, file);
        else if (!lines[i].empty())
            file.otherLines.emplace_back(lines[i]);
    }
    return file;
}

std::string WriteSideFile(const SideFile& file)
{
    std::string out(kMagic);
    out += "\r\n";
    const HotkeyOptions& hotkeys = file.hotkeys;
    out += "hotkeys\tstamp=" + std::to_string(hotkeys.stamp);
    for (int i = 0; i < kHotkeyCount; ++i) {
        out += std::string("\t") + kActionNames[i] + "=" + std::to_string(hotkeys.keys[i].modifiers) + "," +
               std::to_string(hotkeys.keys[i].key);
    }
    out += "\ttold=" + std::to_string(hotkeys.toldTaken) + hotkeys.otherFields + "\r\n";
    // A file no one chose a language in stays as the versions before wrote it.
    const ProgramOptions& program = file.program;
    if (program.stamp != 0 || program.language != LanguageChoice::System || !program.otherFields.empty()) {
        out += "program\tstamp=" + std::to_string(program.stamp) + "\tlanguage=" +
               std::string(LanguageChoiceName(program.language)) + program.otherFields + "\r\n";
    }
    for (const auto& [name, options] : file.notes) {
        // A name that would break the line could not be read back as itself.
        if (name.find_first_of("\t\r\n") != std::string::npos)
            continue;
        out += "note\t" + name + "\tstamp=" + std::to_string(options.stamp) + "\tlevel=" +
               kLevelNames[static_cast<int>(options.level)] + "\topacity=" + std::to_string(options.opacity) +
               "\tzoom=" + std::to_string(options.zoom) + "\tlocked=" + (options.locked ? "1" : "0") +
               options.otherFields + "\r\n";
    }
    for (const std::string& line : file.otherLines)
        out += line + "\r\n";
    return out;
}

namespace {

// Two copies changed in the same second: both computers must take the same one, or each
// would keep its own and write it back to the other for ever.
bool WinsTie(const NoteOptions& theirs, const NoteOptions& mine)
{
    return std::make_tuple(static_cast<int>(theirs.level), theirs.opacity, theirs.zoom, theirs.locked,
                           theirs.otherFields) >
           std::make_tuple(static_cast<int>(mine.level), mine.opacity, mine.zoom, mine.locked, mine.otherFields);
}

bool WinsTie(const HotkeyOptions& theirs, const HotkeyOptions& mine)
{
    for (int i = 0; i < kHotkeyCount; ++i) {
        const Hotkey& a = theirs.keys[i];
        const Hotkey& b = mine.keys[i];
        if (a != b)
            return std::make_pair(a.modifiers, a.key) > std::make_pair(b.modifiers, b.key);
    }
    return false;
}

} // namespace

SideFileMerge MergeSideFile(SideFile& mine, const SideFile& theirs)
{
    SideFileMerge merge;
    for (const auto& [name, options] : theirs.notes) {
        auto found = mine.notes.find(name);
        if (found != mine.notes.end() && (found->second.stamp > options.stamp ||
                                          (found->second.stamp == options.stamp && !WinsTie(options, found->second))))
            continue;
        const NoteOptions before = found != mine.notes.end() ? found->second : NoteOptions();
        NoteOptions taken = options;
        if (found != mine.notes.end()) {
            if (!taken.lockKnown) {
                taken.locked = before.locked;
                taken.lockKnown = before.lockKnown;
            }
            taken.otherFields = MergeOtherFields(taken.otherFields, before.otherFields);
        }
        mine.notes[name] = taken;
        if (!before.SameChoices(taken))
            merge.notesTaken.push_back(name);
    }
    if (theirs.hotkeys.stamp > mine.hotkeys.stamp ||
        (theirs.hotkeys.stamp == mine.hotkeys.stamp && WinsTie(theirs.hotkeys, mine.hotkeys))) {
        HotkeyOptions taken = theirs.hotkeys;
        for (int i = 0; i < kHotkeyCount; ++i) {
            if ((taken.keysKnown & (1u << i)) == 0) {
                taken.keys[i] = mine.hotkeys.keys[i];
                taken.keysKnown |= mine.hotkeys.keysKnown & (1u << i);
            }
        }
        taken.otherFields = MergeOtherFields(taken.otherFields, mine.hotkeys.otherFields);
        merge.hotkeysTaken = taken.keys != mine.hotkeys.keys;
        mine.hotkeys = taken;
    }
    const ProgramOptions& program = theirs.program;
    if (program.stamp > mine.program.stamp ||
        (program.stamp == mine.program.stamp && program.language > mine.program.language)) {
        merge.languageTaken = program.language != mine.program.language;
        const std::string others = MergeOtherFields(program.otherFields, mine.program.otherFields);
        mine.program = program;
        mine.program.otherFields = others;
    }
    return merge;
}

int NextZoom(int zoom, int direction)
{
    if (direction == 0)
        return kNormalZoom;
    if (direction > 0) {
        for (int step : kZoomSteps) {
            if (step > zoom)
                return step;
        }
        return kMostZoom;
    }
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < zoom)
            return *it;
    }
    return kLeastZoom;
}

void EditorZoomRatio(int zoom, int dpi, int systemDpi, int& numerator, int& denominator)
{
    numerator = 0;
    denominator = 0;
    if (zoom <= 0 || dpi <= 0 || systemDpi <= 0)
        return;
    const long long top = static_cast<long long>(zoom) * dpi;
    const long long bottom = static_cast<long long>(kNormalZoom) * systemDpi;
    if (top == bottom)
        return;
    const long long common = std::gcd(top, bottom);
    numerator = static_cast<int>(top / common);
    denominator = static_cast<int>(bottom / common);
}

unsigned char OpacityAlpha(int opacity)
{
    const int clamped = std::clamp(opacity, 0, kFullOpacity);
    return static_cast<unsigned char>((clamped * 255 + kFullOpacity / 2) / kFullOpacity);
}

namespace {

constexpr unsigned kControlShift = 1, kControlCtrl = 2, kControlAlt = 4, kControlExtended = 8;

// Keys the hotkey control names right only with its extended flag: the arrows and the
// block above them, the keypad's divide and Num Lock.
bool IsExtendedKey(unsigned key)
{
    return (key >= 0x21 && key <= 0x28) || key == 0x2D || key == 0x2E || key == 0x6F || key == 0x90;
}

} // namespace

Hotkey HotkeyFromControl(unsigned controlValue)
{
    Hotkey key;
    key.key = controlValue & 0xFF;
    const unsigned flags = (controlValue >> 8) & 0xFF;
    if (key.key == 0)
        return Hotkey{};
    if (flags & kControlShift)
        key.modifiers |= kModShift;
    if (flags & kControlCtrl)
        key.modifiers |= kModControl;
    if (flags & kControlAlt)
        key.modifiers |= kModAlt;
    return key;
}

unsigned ControlFromHotkey(const Hotkey& key)
{
    if (!key.IsSet())
        return 0;
    unsigned flags = 0;
    if (key.modifiers & kModShift)
        flags |= kControlShift;
    if (key.modifiers & kModControl)
        flags |= kControlCtrl;
    if (key.modifiers & kModAlt)
        flags |= kControlAlt;
    if (IsExtendedKey(key.key))
        flags |= kControlExtended;
    return (flags << 8) | (key.key & 0xFF);
}

std::string HotkeyText(const Hotkey& key, const std::string& keyName)
{
    std::string text;
    if (key.modifiers & kModControl)
        text += "Ctrl+";
    if (key.modifiers & kModAlt)
        text += "Alt+";
    if (key.modifiers & kModShift)
        text += "Shift+";
    if (key.modifiers & kModWin)
        text += "Win+";
    return text + keyName;
}
