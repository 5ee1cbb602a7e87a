#include "RtfText.h"

#include <map>
#include <utility>
#include <vector>

namespace {

// What a group inherits from the group around it.
struct GroupState {
    bool skip = false;
    bool fontTable = false;
    int font = -1;
    int skipPerUnicode = 1;
};

// Beyond this depth groups are counted, not kept: a hostile file of nothing but "{"
// would otherwise hold a state for each.
constexpr std::size_t kMaxDepth = 512;
constexpr int kMaxFontNumber = 1 << 20;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is never shown; those written after \* are left out anyway.
bool IsHiddenDestination(std::string_view word)
{
    static const char* const kHidden[] = {
        "annotation", "bkmkend",    "bkmkstart",  "colorschememapping", "colortbl",     "datastore",
        "filetbl",    "fldinst",    "footer",     "footerf",            "footerl",      "footerr",
        "footnote",   "generator",  "header",     "headerf",            "headerl",      "headerr",
        "info",       "latentstyles", "listoverridetable", "listtable", "listtext",     "mmathPr",
        "nonshppict", "object",     "objdata",    "pgdsctbl",           "pict",         "pn",
        "pntext",     "revtbl",     "rsidtbl",    "shp",                "stylesheet",   "tc",
        "themedata",  "txe",        "xe",         "xmlnstbl"};
    for (const char* hidden : kHidden) {
        if (word == hidden)
            return true;
    }
    return false;
}

// A character a control word stands for; 0 for words that show nothing.
char16_t SymbolOf(std::string_view word)
{
    static const std::pair<const char*, char16_t> kSymbols[] = {
        {"tab", u'\t'},       {"cell", u'\t'},       {"emdash", 0x2014},   {"endash", 0x2013},
        {"emspace", 0x2003},  {"enspace", 0x2002},   {"qmspace", 0x2005},  {"bullet", 0x2022},
        {"lquote", 0x2018},   {"rquote", 0x2019},    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}};
    for (const auto& [name, symbol] : kSymbols) {
        if (word == name)
            return symbol;
    }
    return 0;
}

bool EndsLine(std::string_view word)
{
    return word == "par" || word == "line" || word == "page" || word == "sect" || word == "row";
}

class Reader {
public:
    Reader(std::string_view rtf, CodePageDecoder decode) : m_rtf(rtf), m_decode(decode) { m_groups.emplace_back(); }

    std::u16string Read()
    {
        // What follows the document's closing brace is not part of it (the editor ends
        // what it writes with a zero byte).
        while (m_at < m_rtf.size() && !m_ended) {
            const char c = m_rtf[m_at++];
            if (c == '{')
                OpenGroup();
            else if (c == '}')
                CloseGroup();
            else if (c == '\\')
                ControlWord();
            else if (c != '\r' && c != '\n')
                Text(static_cast<unsigned char>(c));
        }
        FlushBytes();
        return std::move(m_text);
    }

private:
    GroupState& State() { return m_groups.back(); }

    void OpenGroup()
    {
        FlushBytes();
        m_toSkip = 0;
        if (m_groups.size() >= kMaxDepth) {
            ++m_extraDepth;
            return;
        }
        m_groups.push_back(m_groups.back());
        m_groupStart = true;
    }

    void CloseGroup()
    {
        FlushBytes();
        m_toSkip = 0;
        m_groupStart = false;
        if (m_extraDepth > 0)
            --m_extraDepth;
        else if (m_groups.size() > 1)
            m_groups.pop_back();
        m_ended = m_groups.size() == 1;
    }

    void ControlWord()
    {
        if (m_at >= m_rtf.size())
            return;
        const bool atGroupStart = m_groupStart;
        m_groupStart = false;
        const char first = m_rtf[m_at];
        if (!IsLetter(first)) {
            ++m_at;
            ControlSymbol(first, atGroupStart);
            return;
        }
        const std::size_t start = m_at;
        while (m_at < m_rtf.size() && IsLetter(m_rtf[m_at]) && m_at - start < 32)
            ++m_at;
        const std::string_view word = m_rtf.substr(start, m_at - start);
        bool hasValue = false;
        long long value = 0;
        const bool negative = m_at < m_rtf.size() && m_rtf[m_at] == '-';
        if (negative)
            ++m_at;
        for (int digits = 0; m_at < m_rtf.size() && IsDigit(m_rtf[m_at]); ++m_at) {
            // Longer numbers than any RTF writer makes are cut, not overflowed.
            if (++digits <= 10)
                value = value * 10 + (m_rtf[m_at] - '0');
            hasValue = true;
        }
        if (negative)
            value = -value;
        if (m_at < m_rtf.size() && m_rtf[m_at] == ' ')
            ++m_at;
        Word(word, hasValue, value, atGroupStart);
    }

    void ControlSymbol(char symbol, bool atGroupStart)
    {
        switch (symbol) {
        case '*':
            if (atGroupStart)
                State().skip = true;
            return;
        case '\'': {
            const int high = m_at < m_rtf.size() ? HexValue(m_rtf[m_at]) : -1;
            const int low = m_at + 1 < m_rtf.size() ? HexValue(m_rtf[m_at + 1]) : -1;
            if (high < 0 || low < 0)
                return;
            m_at += 2;
            Byte(static_cast<unsigned char>(high * 16 + low));
            return;
        }
        case '~':
            Char(0x00A0);
            return;
        case '_':
            Char(0x2011);
            return;
        case '\r':
        case '\n':
            LineBreak();
            return;
        case '{':
        case '}':
        case '\\':
            Byte(static_cast<unsigned char>(symbol));
            return;
        default:
            // \- (optional hyphen), \| and \: show nothing, but stand in for a \uN too.
            SkipOne();
            return;
        }
    }

    void Word(std::string_view word, bool hasValue, long long value, bool atGroupStart)
    {
        GroupState& state = State();
        if (word == "bin" && hasValue && value > 0) {
            // Binary data: its bytes are not RTF, whatever braces they hold.
            const std::size_t size = static_cast<std::size_t>(value);
            m_at = size < m_rtf.size() - m_at ? m_at + size : m_rtf.size();
            return;
        }
        if (word == "u" && hasValue) {
            FlushBytes();
            AppendChar(static_cast<char16_t>(value < 0 ? value + 65536 : value));
            m_toSkip = state.skipPerUnicode;
            return;
        }
        if (word == "uc" && hasValue) {
            state.skipPerUnicode = value >= 0 && value <= 16 ? static_cast<int>(value) : 1;
            return;
        }
        if (word == "fonttbl") {
            state.fontTable = true;
            return;
        }
        if (word == "f" && hasValue) {
            FlushBytes();
            state.font = value >= 0 && value < kMaxFontNumber ? static_cast<int>(value) : -1;
            return;
        }
        if (state.fontTable) {
            if (state.font >= 0 && word == "fcharset" && hasValue)
                m_fonts[state.font] = CodePageOfCharset(static_cast<int>(value));
            else if (state.font >= 0 && word == "cpg" && hasValue && value > 0)
                m_fonts[state.font] = static_cast<unsigned>(value);
            return;
        }
        if (word == "ansicpg" && hasValue && value > 0) {
            m_codePage = static_cast<unsigned>(value);
            return;
        }
        if (word == "deff" && hasValue) {
            m_defaultFont = value >= 0 && value < kMaxFontNumber ? static_cast<int>(value) : -1;
            return;
        }
        if (word == "plain") {
            FlushBytes();
            state.font = -1;
            return;
        }
        if (atGroupStart && IsHiddenDestination(word)) {
            state.skip = true;
            return;
        }
        if (EndsLine(word)) {
            LineBreak();
            return;
        }
        if (const char16_t symbol = SymbolOf(word)) {
            Char(symbol);
            return;
        }
        SkipOne();
    }

    void Text(unsigned char byte)
    {
        m_groupStart = false;
        Byte(byte);
    }

    void SkipOne()
    {
        if (m_toSkip > 0)
            --m_toSkip;
    }

    // False for what is not shown: the stand-in of a \uN character, which it uses up, or
    // anything inside a hidden group or the font table.
    bool Shows()
    {
        if (m_toSkip > 0) {
            --m_toSkip;
            return false;
        }
        return !State().skip && !State().fontTable;
    }

    void Byte(unsigned char byte)
    {
        if (!Shows())
            return;
        if (byte < 0x80 && m_bytes.empty()) {
            m_text += static_cast<char16_t>(byte);
            return;
        }
        m_bytes += static_cast<char>(byte);
    }

    void Char(char16_t c)
    {
        if (!Shows())
            return;
        FlushBytes();
        m_text += c;
    }

    void LineBreak()
    {
        if (!Shows())
            return;
        FlushBytes();
        m_text += u"\r\n";
    }

    void AppendChar(char16_t c)
    {
        if (!State().skip && !State().fontTable)
            m_text += c;
    }

    // Bytes above 127 wait for the rest of their run: the two bytes of a double-byte
    // character come as two \'hh.
    void FlushBytes()
    {
        if (m_bytes.empty())
            return;
        m_text += m_decode(CurrentCodePage(), m_bytes);
        m_bytes.clear();
    }

    unsigned CurrentCodePage() const
    {
        const int font = m_groups.back().font >= 0 ? m_groups.back().font : m_defaultFont;
        const auto found = m_fonts.find(font);
        if (found != m_fonts.end() && found->second != 0)
            return found->second;
        return m_codePage;
    }

    std::string_view m_rtf;
    CodePageDecoder m_decode;
    std::size_t m_at = 0;
    std::vector<GroupState> m_groups;
    std::size_t m_extraDepth = 0;
    bool m_groupStart = false;
    bool m_ended = false;
    int m_toSkip = 0;
    unsigned m_codePage = 1252;
    int m_defaultFont = -1;
    std::map<int, unsigned> m_fonts;
    std::string m_bytes;
    std::u16string m_text;
};

} // namespace

unsigned CodePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

std::u16string RtfPlainText(std::string_view rtf, CodePageDecoder decode)
{
    return Reader(rtf, decode).Read();
}
