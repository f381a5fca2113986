#include "SurnameCheck.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace ContentCheck {

void CheckSurnameBearers(std::span<const SurnameData> rows, QStringList& errors)
{
    QStringList surnames;
    for (const SurnameData& row : rows)
        surnames << QString::fromUtf8(row.Surname);

    // Rows naming nobody, one bearer, two bearers.
    constexpr std::array<int, 3> expected{80, 97, 13};
    std::array<int, 3> counts{};
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString& surname = surnames[i];
        const QString bearers = QString::fromUtf8(rows[i].Bearers);
        const QString where = QStringLiteral("surnames:%1 (%2): ").arg(i + 1).arg(surname);
        const QStringList names = bearers.isEmpty() ? QStringList() : bearers.split(u'、');
        if (names.size() < int(counts.size()))
            ++counts[names.size()];
        else
            errors << where + QStringLiteral("more than two bearers");
        for (const QString& name : names) {
            if (!name.startsWith(surname) || name.size() == surname.size() || name.contains(u' ')) {
                errors << where + QStringLiteral("\"%1\" is no name of this surname").arg(name);
                continue;
            }
            for (const QString& longer : surnames)
                if (longer.size() > surname.size() && name.startsWith(longer))
                    errors << where + QStringLiteral("\"%1\" bears the surname %2").arg(name, longer);
        }
    }
    for (int k = 0; k < int(counts.size()); ++k)
        if (counts[k] != expected[k])
            errors << QStringLiteral("surnames: %1 rows name %2 bearers, %3 expected").arg(counts[k]).arg(k).arg(expected[k]);
}

namespace {

// The reading each surname takes where a character of it has several: every such row of the
// table is held to it, so a row can never be given another reading of its character (石 read dàn,
// 万 mò, 沈 chén). Some take a reading other than the first guess (褚 Chǔ, 曲 Qū, 曾 Zēng, 解 Xiè,
// 仇 Qiú); 纪 is Jì as most speakers say it and Jǐ by the older rule, 那 is Nà as the character
// is commonly read and Nā by the surname's own rule: either is right. 费 is held to Fèi although
// the readings list knows no other reading of it, since Bì is one.
struct SurnameReading {
    const char* surname;
    const char* readings; // the allowed syllables of the whole surname, "|" between choices
};
constexpr SurnameReading PolyphoneSurnames[] = {
    {"吴", "wu2"}, {"王", "wang2"}, {"冯", "feng2"}, {"褚", "chu3"}, {"沈", "shen3"}, {"朱", "zhu1"},
    {"何", "he2"}, {"施", "shi1"}, {"华", "hua4"}, {"金", "jin1"}, {"魏", "wei4"}, {"陶", "tao2"},
    {"戚", "qi1"}, {"章", "zhang1"}, {"潘", "pan1"}, {"葛", "ge3"}, {"彭", "peng2"}, {"昌", "chang1"},
    {"方", "fang1"}, {"任", "ren2"}, {"费", "fei4"}, {"雷", "lei2"}, {"倪", "ni2"}, {"汤", "tang1"},
    {"罗", "luo2"}, {"傅", "fu4"}, {"齐", "qi2"}, {"康", "kang1"}, {"余", "yu2"}, {"尹", "yin3"},
    {"姚", "yao2"}, {"汪", "wang1"}, {"毛", "mao2"}, {"狄", "di2"}, {"臧", "zang1"}, {"伏", "fu2"},
    {"纪", "ji4|ji3"}, {"舒", "shu1"}, {"屈", "qu1"}, {"祝", "zhu4"}, {"董", "dong3"}, {"杜", "du4"},
    {"阮", "ruan3"}, {"蓝", "lan2"}, {"贾", "jia3"}, {"路", "lu4"}, {"童", "tong2"}, {"郭", "guo1"},
    {"高", "gao1"}, {"夏", "xia4"}, {"蔡", "cai4"}, {"樊", "fan2"}, {"霍", "huo4"}, {"万", "wan4"},
    {"莫", "mo4"}, {"解", "xie4"}, {"谷", "gu3"}, {"丁", "ding1"}, {"邓", "deng4"}, {"包", "bao1"},
    {"石", "shi2"}, {"邢", "xing2"}, {"陆", "lu4"}, {"翁", "weng1"}, {"于", "yu2"}, {"曲", "qu1"},
    {"白", "bai2"}, {"仇", "qiu2"}, {"祖", "zu3"}, {"詹", "zhan1"}, {"叶", "ye4"}, {"卓", "zhuo2"},
    {"蒙", "meng2"}, {"尚", "shang4"}, {"温", "wen1"}, {"柴", "chai2"}, {"古", "gu3"}, {"廖", "liao4"},
    {"那", "na4|na1"}, {"曾", "zeng1"}, {"司马", "si1 ma3"}, {"上官", "shang4 guan1"},
    {"夏侯", "xia4 hou2"}, {"诸葛", "zhu1 ge3"}, {"东方", "dong1 fang1"}, {"尉迟", "yu4 chi2"},
    {"令狐", "ling2 hu2"}, {"司徒", "si1 tu2"},
};

} // namespace

void CheckSurnameReadings(std::span<const SurnameData> rows, const Readings& readings, QStringList& errors)
{
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString surname = QString::fromUtf8(rows[i].Surname);
        const QString where = QStringLiteral("surnames:%1 (%2): ").arg(i + 1).arg(surname);
        QStringList syllables = QString::fromUtf8(rows[i].Pinyin).split(u' ', Qt::SkipEmptyParts);
        if (syllables.size() != surname.size()) {
            errors << where + QStringLiteral("%1 syllables for %2 characters").arg(syllables.size()).arg(surname.size());
            continue;
        }
        for (int k = 0; k < syllables.size(); ++k) {
            syllables[k].remove(u'.');
            const QSet<QString> known = readings.value(surname[k]);
            if (!known.contains(syllables[k])) {
                QStringList sorted = known.values();
                sorted.sort();
                errors << where + QStringLiteral("%1 read %2, known: %3").arg(surname[k]).arg(syllables[k], sorted.join(u' '));
            }
        }
        const auto polyphone = std::find_if(std::begin(PolyphoneSurnames), std::end(PolyphoneSurnames),
            [&](const SurnameReading& p) { return surname == QString::fromUtf8(p.surname); });
        if (polyphone != std::end(PolyphoneSurnames)) {
            const QStringList allowed = QString::fromUtf8(polyphone->readings).split(u'|');
            if (!allowed.contains(syllables.join(u' ')))
                errors << where + QStringLiteral("the surname is read %1, not %2").arg(allowed.join(QStringLiteral(" or ")), syllables.join(u' '));
            continue;
        }
        for (const QChar c : surname)
            if (readings.value(c).size() > 1)
                errors << where + QStringLiteral("%1 has several readings, and no surname reading is set for it").arg(c);
    }
}

} // namespace ContentCheck
