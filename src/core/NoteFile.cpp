#include "NoteFile.h"

#include "ByteIO.h"

namespace {

void WriteSlotHead(ByteWriter& out, const AlarmSlot& slot)
{
    out.U8(slot.sound ? 1 : 0);
    out.U8(slot.enabled ? 1 : 0);
    out.F64(slot.when.Value());
}

bool ReadSlotHead(ByteReader& in, AlarmSlot& slot)
{
    double when = 0;
    if (!in.Flag(slot.sound) || !in.Flag(slot.enabled) || !in.F64(when))
        return false;
    slot.when = DateTime::FromValue(when);
    return true;
}

bool ReadDateTime(ByteReader& in, DateTime& out)
{
    double value = 0;
    if (!in.F64(value))
        return false;
    out = DateTime::FromValue(value);
    return true;
}

} // namespace

void WriteAlarmBlock(ByteWriter& out, const AlarmSet& alarms)
{
    for (const auto& slot : alarms.general)
        WriteSlotHead(out, slot);
    for (const auto& slot : alarms.daily)
        WriteSlotHead(out, slot);
    for (const auto& slot : alarms.weekly) {
        WriteSlotHead(out, slot);
        out.I32(slot.weekday);
    }
    for (const auto& slot : alarms.monthly) {
        WriteSlotHead(out, slot);
        out.I32(slot.day);
    }
    for (const auto& slot : alarms.yearly) {
        WriteSlotHead(out, slot);
        out.I32(slot.day);
        out.I32(slot.month);
    }
}

bool ReadAlarmBlock(ByteReader& in, AlarmSet& alarms)
{
    for (auto& slot : alarms.general) {
        if (!ReadSlotHead(in, slot))
            return false;
    }
    for (auto& slot : alarms.daily) {
        if (!ReadSlotHead(in, slot))
            return false;
    }
    for (auto& slot : alarms.weekly) {
        if (!ReadSlotHead(in, slot) || !in.I32(slot.weekday))
            return false;
    }
    for (auto& slot : alarms.monthly) {
        if (!ReadSlotHead(in, slot) || !in.I32(slot.day))
            return false;
    }
    for (auto& slot : alarms.yearly) {
        if (!ReadSlotHead(in, slot) || !in.I32(slot.day) || !in.I32(slot.month))
            return false;
    }
    return true;
}

void WriteLook(ByteWriter& out, const NoteLook& look)
{
    out.U32(look.background);
    out.U32(look.border);
    out.U32(look.edge);
    out.I32(look.infoKind);
    out.I32(look.scheme);
    out.I32(look.rect.left);
    out.I32(look.rect.top);
    out.I32(look.rect.right);
    out.I32(look.rect.bottom);
}

bool ReadLook(ByteReader& in, NoteLook& look)
{
    return in.U32(look.background) && in.U32(look.border) && in.U32(look.edge) && in.I32(look.infoKind) &&
           in.I32(look.scheme) && in.I32(look.rect.left) && in.I32(look.rect.top) && in.I32(look.rect.right) &&
           in.I32(look.rect.bottom);
}

std::string EncodeNoteFile(const NoteFields& fields, std::string_view rtf)
{
    ByteWriter out;
    out.Bytes(std::string_view(kNoteFileMagic, 5));
    out.U32(kNoteFileVersion);
    out.String(fields.title);
    out.String(fields.userName);
    out.F64(fields.stamp0.Value());
    out.F64(fields.stamp1.Value());
    WriteLook(out, fields.look);
    WriteAlarmBlock(out, fields.alarms);
    out.String(rtf);
    return out.Ok() ? out.Take() : std::string();
}

bool DecodeNoteFields(std::string_view file, NoteFields& fields, std::size_t& textOffset)
{
    ByteReader in(file);
    if (!in.Header(std::string_view(kNoteFileMagic, 5), kNoteFileVersion))
        return false;
    // Read into a copy so that a file ending inside a field changes nothing.
    NoteFields read = fields;
    if (!in.String(read.title) || !in.String(read.userName))
        return false;
    if (!ReadDateTime(in, read.stamp0) || !ReadDateTime(in, read.stamp1))
        return false;
    if (!ReadLook(in, read.look) || !ReadAlarmBlock(in, read.alarms))
        return false;
    // The text's length word must be there too: a file cut before it is damaged.
    if (in.Remaining() < 4)
        return false;
    textOffset = in.Offset();
    fields = std::move(read);
    return true;
}

bool DecodeNoteText(std::string_view file, std::size_t textOffset, std::string_view& rtf)
{
    if (textOffset > file.size())
        return false;
    ByteReader in(file.substr(textOffset));
    std::uint32_t n = 0;
    return in.U32(n) && in.Bytes(n, rtf);
}
