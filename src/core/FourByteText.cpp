#include "FourByteText.h"

#include <algorithm>
#include <iterator>

namespace {

struct Run {
    char32_t first;   // the run's first character
    unsigned linear;  // the number of its sequence, counted from 0x81308130
};

// Every run of Basic Multilingual Plane characters that GB18030 gives four bytes, in the
// order of both: the sequences are numbered through the characters without one- or
// two-byte codes, so a run ends where the next begins. Made by
// tools/make-four-byte-ranges.py.
constexpr Run kRuns[] = {
    {0x0080, 0}, {0x00A5, 36}, {0x00A9, 38}, {0x00B2, 45},
    {0x00B8, 50}, {0x00D8, 81}, {0x00E2, 89}, {0x00EB, 95},
    {0x00EE, 96}, {0x00F4, 100}, {0x00F8, 103}, {0x00FB, 104},
    {0x00FD, 105}, {0x0102, 109}, {0x0114, 126}, {0x011C, 133},
    {0x012C, 148}, {0x0145, 172}, {0x0149, 175}, {0x014E, 179},
    {0x016C, 208}, {0x01CF, 306}, {0x01D1, 307}, {0x01D3, 308},
    {0x01D5, 309}, {0x01D7, 310}, {0x01D9, 311}, {0x01DB, 312},
    {0x01DD, 313}, {0x01FA, 341}, {0x0252, 428}, {0x0262, 443},
    {0x02C8, 544}, {0x02CC, 545}, {0x02DA, 558}, {0x03A2, 741},
    {0x03AA, 742}, {0x03C2, 749}, {0x03CA, 750}, {0x0402, 805},
    {0x0450, 819}, {0x0452, 820}, {0x2011, 7922}, {0x2017, 7924},
    {0x201A, 7925}, {0x201E, 7927}, {0x2027, 7934}, {0x2031, 7943},
    {0x2034, 7944}, {0x2036, 7945}, {0x203C, 7950}, {0x20AD, 8062},
    {0x2104, 8148}, {0x2106, 8149}, {0x210A, 8152}, {0x2117, 8164},
    {0x2122, 8174}, {0x216C, 8236}, {0x217A, 8240}, {0x2194, 8262},
    {0x219A, 8264}, {0x2209, 8374}, {0x2210, 8380}, {0x2212, 8381},
    {0x2216, 8384}, {0x221B, 8388}, {0x2221, 8390}, {0x2224, 8392},
    {0x2226, 8393}, {0x222C, 8394}, {0x222F, 8396}, {0x2238, 8401},
    {0x223E, 8406}, {0x2249, 8416}, {0x224D, 8419}, {0x2253, 8424},
    {0x2262, 8437}, {0x2268, 8439}, {0x2270, 8445}, {0x2296, 8482},
    {0x229A, 8485}, {0x22A6, 8496}, {0x22C0, 8521}, {0x2313, 8603},
    {0x246A, 8936}, {0x249C, 8946}, {0x254C, 9046}, {0x2574, 9050},
    {0x2590, 9063}, {0x2596, 9066}, {0x25A2, 9076}, {0x25B4, 9092},
    {0x25BE, 9100}, {0x25C8, 9108}, {0x25CC, 9111}, {0x25D0, 9113},
    {0x25E6, 9131}, {0x2607, 9162}, {0x260A, 9164}, {0x2641, 9218},
    {0x2643, 9219}, {0x2E82, 11329}, {0x2E85, 11331}, {0x2E89, 11334},
    {0x2E8D, 11336}, {0x2E98, 11346}, {0x2EA8, 11361}, {0x2EAB, 11363},
    {0x2EAF, 11366}, {0x2EB4, 11370}, {0x2EB8, 11372}, {0x2EBC, 11375},
    {0x2ECB, 11389}, {0x2FFC, 11682}, {0x3004, 11686}, {0x3018, 11687},
    {0x301F, 11692}, {0x302A, 11694}, {0x303F, 11714}, {0x3094, 11716},
    {0x309F, 11723}, {0x30F7, 11725}, {0x30FF, 11730}, {0x312A, 11736},
    {0x322A, 11982}, {0x3232, 11989}, {0x32A4, 12102}, {0x3390, 12336},
    {0x339F, 12348}, {0x33A2, 12350}, {0x33C5, 12384}, {0x33CF, 12393},
    {0x33D3, 12395}, {0x33D6, 12397}, {0x3448, 12510}, {0x3474, 12553},
    {0x359F, 12851}, {0x360F, 12962}, {0x361B, 12973}, {0x3919, 13738},
    {0x396F, 13823}, {0x39D1, 13919}, {0x39E0, 13933}, {0x3A74, 14080},
    {0x3B4F, 14298}, {0x3C6F, 14585}, {0x3CE1, 14698}, {0x4057, 15583},
    {0x4160, 15847}, {0x4338, 16318}, {0x43AD, 16434}, {0x43B2, 16438},
    {0x43DE, 16481}, {0x44D7, 16729}, {0x464D, 17102}, {0x4662, 17122},
    {0x4724, 17315}, {0x472A, 17320}, {0x477D, 17402}, {0x478E, 17418},
    {0x4948, 17859}, {0x497B, 17909}, {0x497E, 17911}, {0x4984, 17915},
    {0x4987, 17916}, {0x499C, 17936}, {0x49A0, 17939}, {0x49B8, 17961},
    {0x4C78, 18664}, {0x4CA4, 18703}, {0x4D1A, 18814}, {0x4DAF, 18962},
    {0x9FA6, 19043}, {0xE76C, 33469}, {0xE7C8, 33470}, {0xE7E7, 33471},
    {0xE815, 33484}, {0xE819, 33485}, {0xE81F, 33490}, {0xE827, 33497},
    {0xE82D, 33501}, {0xE833, 33505}, {0xE83C, 33513}, {0xE844, 33520},
    {0xE856, 33536}, {0xE865, 33550}, {0xF92D, 37845}, {0xF97A, 37921},
    {0xF996, 37948}, {0xF9E8, 38029}, {0xF9F2, 38038}, {0xFA10, 38064},
    {0xFA12, 38065}, {0xFA15, 38066}, {0xFA19, 38069}, {0xFA22, 38075},
    {0xFA25, 38076}, {0xFA2A, 38078}, {0xFE32, 39108}, {0xFE45, 39109},
    {0xFE53, 39113}, {0xFE58, 39114}, {0xFE67, 39115}, {0xFE6C, 39116},
    {0xFF5F, 39265}, {0xFFE6, 39394},
};

// Sequences of the Basic Multilingual Plane, then of the planes past it.
constexpr unsigned kPlaneZeroSequences = 39420;
constexpr unsigned kSupplementaryStart = 189000; // 0x90308130
constexpr char32_t kLastCharacter = 0x10FFFF;

unsigned RunLength(const Run* run)
{
    const Run* next = run + 1;
    return (next == std::end(kRuns) ? kPlaneZeroSequences : next->linear) - run->linear;
}

bool IsLead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsDigit(unsigned char byte)
{
    return byte >= 0x30 && byte <= 0x39;
}

} // namespace

bool EncodeFourBytes(char32_t codePoint, char out[4])
{
    unsigned linear = 0;
    if (codePoint > kLastCharacter || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint < kRuns[0].first)
        return false;
    if (codePoint >= 0x10000) {
        linear = kSupplementaryStart + static_cast<unsigned>(codePoint - 0x10000);
    } else {
        const Run* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), codePoint,
                                          [](char32_t c, const Run& r) { return c < r.first; }) - 1;
        const unsigned offset = static_cast<unsigned>(codePoint - run->first);
        if (offset >= RunLength(run))
            return false;
        linear = run->linear + offset;
    }
    out[3] = static_cast<char>(0x30 + linear % 10);
    linear /= 10;
    out[2] = static_cast<char>(0x81 + linear % 126);
    linear /= 126;
    out[1] = static_cast<char>(0x30 + linear % 10);
    out[0] = static_cast<char>(0x81 + linear / 10);
    return true;
}

bool StartsFourBytes(std::string_view bytes)
{
    return bytes.size() >= 2 && IsLead(static_cast<unsigned char>(bytes[0])) &&
           IsDigit(static_cast<unsigned char>(bytes[1]));
}

char32_t DecodeFourBytes(std::string_view bytes)
{
    if (bytes.size() < 4 || !StartsFourBytes(bytes) || !IsLead(static_cast<unsigned char>(bytes[2])) ||
        !IsDigit(static_cast<unsigned char>(bytes[3])))
        return 0;
    const auto b = [&](int i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    const unsigned linear = (((b(0) - 0x81) * 10 + (b(1) - 0x30)) * 126 + (b(2) - 0x81)) * 10 + (b(3) - 0x30);
    if (linear < kPlaneZeroSequences) {
        const Run* run = std::upper_bound(std::begin(kRuns), std::end(kRuns), linear,
                                          [](unsigned l, const Run& r) { return l < r.linear; }) - 1;
        return run->first + (linear - run->linear);
    }
    if (linear < kSupplementaryStart || linear - kSupplementaryStart > kLastCharacter - 0x10000)
        return 0;
    return 0x10000 + (linear - kSupplementaryStart);
}
