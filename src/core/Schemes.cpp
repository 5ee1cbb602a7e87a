#include "Schemes.h"

const ColorScheme kColorSchemes[kSchemeCount + 1] = {
    {0, "\xBA\xDA\xC9\xAB", 0x00A0A0A0, 0x00808080, 0x00000000}, // 黑色
    {1, "\xC0\xB6\xCC\xEC", 0x00FFE0BD, 0x00FDB14D, 0x00808080}, // 蓝天
    {2, "\xD7\xA9\xBA\xEC", 0x00B9B9FF, 0x007D7DFF, 0x00808080}, // 砖红
    {3, "\xCD\xAF\xC4\xEA", 0x00FFF2FF, 0x00FFEFA2, 0x00808080}, // 童年
    {4, "\xC7\xC9\xBF\xCB\xC1\xA6", 0x00BBBADD, 0x008787C2, 0x00808080}, // 巧克力
    {5, "\xC2\xCC\xB2\xDD", 0x0099FFCE, 0x0065CA00, 0x00808080}, // 绿草
    {6, "\xBB\xD2\xC9\xAB", 0x00D9D9D9, 0x00C0C0C0, 0x00808080}, // 灰色
    {7, "\xB1\xF9\xE4\xBF\xC1\xDC", 0x00CAFFFF, 0x00FFC8FE, 0x00808080}, // 冰淇淋
    {8, "\xD7\xCF\xB6\xA1\xCF\xE3", 0x00FFEEFF, 0x00FFCAFF, 0x00808080}, // 紫丁香
    {9, "\xC9\xB3\xCC\xB2", 0x00BDFFFF, 0x007BDEFF, 0x00808080}, // 沙滩
    {10, "\xBA\xA3\xCB\xAE", 0x00FFA64D, 0x00DF7000, 0x00808080}, // 海水
    {11, "\xB4\xBA\xB7\xE7", 0x00BDFFFF, 0x0093FFC9, 0x00808080}, // 春风
    {12, "\xB2\xDD\xDD\xAE\xB5\xB0\xB8\xE2", 0x00CACAFF, 0x00AB96DC, 0x00808080}, // 草莓蛋糕
    {13, "\xC5\xA8\xCE\xED", 0x00E7E3D6, 0x00C0B398, 0x00808080}, // 浓雾
    {14, "\xC2\xCC\xCB\xC9\xCA\xAF", 0x00FFFBC8, 0x00ECEC00, 0x00808080}, // 绿松石
    {15, "\xBD\xE0\xB0\xD7", 0x00FFFFFF, 0x00FFF3E6, 0x00808080}, // 洁白
    {-1, "", 0, 0, 0},
};

const ColorScheme* FindScheme(int index)
{
    if (index < 0 || index >= kSchemeCount)
        return nullptr;
    return &kColorSchemes[index];
}

// The text of a note is black unless the user coloured it, and its colours belong to the
// text, so a scheme cannot lighten them: each background here is as dark as black text
// allows at a contrast of 4.5:1, and the caption's edge is lighter still.
const ColorScheme kDarkSchemes[kDarkSchemeCount] = {
    {-1, "", 0x00787878, 0x00A0A0A0, 0x00303030}, // 深灰
    {-1, "", 0x00B2785C, 0x00D7A58C, 0x0046281E}, // 午夜蓝
    {-1, "", 0x00648750, 0x008CAF82, 0x00233719}, // 墨绿
    {-1, "", 0x00A56E8C, 0x00C89BB4, 0x00461E32}, // 深紫
};

const ColorScheme* ListedScheme(int listed)
{
    if (listed >= kSchemeCount && listed < kListedSchemeCount)
        return &kDarkSchemes[listed - kSchemeCount];
    return FindScheme(listed);
}

int StoredScheme(int listed)
{
    const ColorScheme* scheme = ListedScheme(listed);
    return scheme != nullptr ? scheme->id : -1;
}

int ListedSchemeOf(int stored, Colour background, Colour edge, Colour border)
{
    if (FindScheme(stored) != nullptr)
        return stored;
    if (stored != -1)
        return -1;
    for (int i = 0; i < kDarkSchemeCount; ++i) {
        const ColorScheme& dark = kDarkSchemes[i];
        if (dark.background == background && dark.edge == edge && dark.border == border)
            return kSchemeCount + i;
    }
    return -1;
}
