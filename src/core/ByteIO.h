#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// True when a length fits the 32-bit word the files store it in; only a build whose
// sizes are wider can hold one that does not.
template <typename Size>
constexpr bool FitsLengthWord(Size length)
{
    if constexpr (sizeof(Size) > sizeof(std::uint32_t))
        return length <= UINT32_MAX;
    else
        return true;
}

// Little-endian writing and bounds-checked reading of the program's binary files.
// A reader never reads past its end and never trusts a stored length beyond the bytes
// that are there: a damaged file fails instead.

class ByteWriter {
public:
    void Bytes(std::string_view bytes) { m_out.append(bytes.data(), bytes.size()); }
    void U8(std::uint8_t v) { m_out.push_back(static_cast<char>(v)); }
    void U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof(bits));
        for (int i = 0; i < 8; ++i)
            m_out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
    // A string is its 32-bit byte count followed by its bytes, without terminator. One
    // of 4 GiB or more has no count that would read back as itself: the writer refuses
    // it, and is no longer Ok.
    void String(std::string_view s)
    {
        if (!FitsLengthWord(s.size())) {
            m_ok = false;
            return;
        }
        U32(static_cast<std::uint32_t>(s.size()));
        Bytes(s);
    }

    bool Ok() const { return m_ok; }
    const std::string& Data() const { return m_out; }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
    bool m_ok = true;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view data) : m_data(data) {}

    bool Ok() const { return m_ok; }
    std::size_t Offset() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }

    bool Bytes(std::size_t n, std::string_view& out)
    {
        if (!m_ok || n > Remaining())
            return Fail();
        out = m_data.substr(m_pos, n);
        m_pos += n;
        return true;
    }
    bool U8(std::uint8_t& v)
    {
        std::string_view b;
        if (!Bytes(1, b))
            return false;
        v = static_cast<std::uint8_t>(b[0]);
        return true;
    }
    bool U32(std::uint32_t& v)
    {
        std::string_view b;
        if (!Bytes(4, b))
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
        return true;
    }
    bool I32(std::int32_t& v)
    {
        std::uint32_t u;
        if (!U32(u))
            return false;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool F64(double& v)
    {
        std::string_view b;
        if (!Bytes(8, b))
            return false;
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
        std::memcpy(&v, &bits, sizeof(v));
        return true;
    }
    // Any non-zero byte is on.
    bool Flag(bool& v)
    {
        std::uint8_t b;
        if (!U8(b))
            return false;
        v = b != 0;
        return true;
    }
    // Every file of the program opens with its magic bytes and a version word.
    bool Header(std::string_view magic, std::uint32_t version)
    {
        std::string_view read;
        std::uint32_t readVersion = 0;
        return Bytes(magic.size(), read) && read == magic && U32(readVersion) && readVersion == version;
    }
    bool String(std::string& s)
    {
        std::uint32_t n;
        std::string_view b;
        if (!U32(n) || !Bytes(n, b))
            return false;
        s.assign(b.data(), b.size());
        return true;
    }

private:
    bool Fail()
    {
        m_ok = false;
        return false;
    }

    std::string_view m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};
