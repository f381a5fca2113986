#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Pinyin.h"
#include "TestSupport.h"

namespace {
struct TextCase {
    QString in;
    QString out;
};

void ExpectAll(QString (*f)(const QString&), std::initializer_list<TextCase> cases)
{
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(f(c.in), c.out);
    }
}

// Every syllable of Mandarin, plain ("v" for ü).
const char* const kSyllables =
    "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu pa pai pan pang pao pei pen "
    "peng pi pian piao pie pin ping po pou pu ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo "
    "mou mu fa fan fang fei fen feng fo fou fu da dai dan dang dao de dei den deng di dian diao die ding diu dong "
    "dou du duan dui dun duo ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo na nai "
    "nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong nou nu nuan nuo nv nve la lai lan lang "
    "lao le lei leng li lia lian liang liao lie lin ling liu lo long lou lu luan lun luo lv lve ga gai gan gang gao "
    "ge gei gen geng gong gou gu gua guai guan guang gui gun guo ka kai kan kang kao ke kei ken keng kong kou ku "
    "kua kuai kuan kuang kui kun kuo ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun "
    "huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun qi qia qian qiang qiao qie qin qing qiong "
    "qiu qu quan que qun xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun zha zhai zhan zhang zhao "
    "zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo cha chai chan chang chao che "
    "chen cheng chi chong chou chu chua chuai chuan chuang chui chun chuo sha shai shan shang shao she shei shen "
    "sheng shi shou shu shua shuai shuan shuang shui shun shuo ra ran rang rao re ren reng ri rong rou ru rua ruan "
    "rui run ruo za zai zan zang zao ze zei zen zeng zi zong zou zu zuan zui zun zuo ca cai can cang cao ce cen "
    "ceng ci cong cou cu cuan cui cun cuo sa sai san sang sao se sen seng si song sou su suan sui sun suo ya yan "
    "yang yao ye yi yin ying yo yong you yu yuan yue yun wa wai wan wang wei wen weng wo wu e ei en eng er o ou";

// The tone mark sits on a, else e, else o, else the last vowel: the dot goes before it.
QString Dotted(const QString& plain)
{
    qsizetype at = plain.indexOf(QLatin1Char('a'));
    if (at < 0)
        at = plain.indexOf(QLatin1Char('e'));
    if (at < 0)
        at = plain.indexOf(QLatin1Char('o'));
    if (at < 0) {
        static const QRegularExpression lastVowel(QStringLiteral("[iuv][^iuv]*$"));
        at = plain.indexOf(lastVowel);
    }
    return plain.left(at) + QLatin1Char('.') + plain.mid(at);
}

class PinyinTest : public AppFixture {};
} // namespace

TEST_F(PinyinTest, ToneVowelAndUmlaut)
{
    struct Case {
        const char* vowel;
        qint16 tone;
        QString out;
    };
    const Case cases[] = {{"a", 1, u"ā"_qs}, {"a", 0, "a"}, {"o", 2, u"ó"_qs}, {"e", 3, u"ě"_qs}, {"i", 4, u"ì"_qs},
        {"u", 5, "u"}, {"v", 1, u"ǖ"_qs}, {"v", 4, u"ǜ"_qs}, {"v", 0, u"ü"_qs}, {"A", 1, ""}, {"b", 2, ""},
        {"", 1, ""}, {"ai", 1, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.vowel << c.tone);
        EXPECT_EQ(ToneVowel(QString::fromLatin1(c.vowel), c.tone), c.out);
    }
    ExpectAll(VToUmlaut, {{"lv", u"lü"_qs}, {"V", "V"}, {"nvv", u"nüü"_qs}, {"", ""}});
}

TEST_F(PinyinTest, NumberedToMarked)
{
    ExpectAll(NumberedToMarkedPinyin,
        {{"n.i3 h.ao3", u"nǐ hǎo"_qs}, {"p.eng2y.ou0", u"péng you"_qs}, {"nv.e4", u"nüè"_qs}, {"l.v4", u"lǜ"_qs},
            {"ni3 h.ao3", u"ni hǎo"_qs}, {"ni3 hao3", "ni3 hao"}, {"", ""}, {"h.ao3", u"hǎo"_qs}, {"h.ao", ""},
            {"  h.ao3  ", u"hǎo"_qs}, {"l.ve4", u"lǜe"_qs}, {".er2", u"ér"_qs}, {"zh.ong1gu.o2", u"zhōng guó"_qs}, {"g.uo2", u"gúo"_qs},
            {"l.v0", u"lü"_qs}, {"h.ao3!", u"hǎo"_qs}});
}

TEST_F(PinyinTest, DotsToSpacesAndSplitting)
{
    ExpectAll(DotsToSpaces, {{"n.i3 h.ao3", "n i3 h ao3"}, {".er2", "er2"}, {"", ""}});

    struct Case {
        QString in;
        QStringList out;
    };
    const Case cases[] = {{"n.i3 h.ao3", {"n.i3", "h.ao3"}}, {"zh.ong1g.uo2 ", {"zh.ong1", "g.uo2"}},
        {"  x.ie4  x.ie0 ", {"x.ie4", "x.ie0"}}, {"no digits", {}}, {"", {}}, {"m.a1 tail", {"m.a1"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(SplitNumberedPinyin(c.in), c.out);
        EXPECT_EQ(State().SplitSyllables, c.out);
    }
}

TEST_F(PinyinTest, MarkedToNumbered)
{
    ExpectAll(MarkedToNumberedSyllable,
        {{u"hǎo"_qs, "h.ao3"}, {u"liú"_qs, "li.u2"}, {u"guì"_qs, "gu.i4"}, {u"duō"_qs, "du.o1"}, {u"nüè"_qs, "nv.e4"},
            {u"lǜ"_qs, "l.v4"}, {u"ér"_qs, ".er2"}, {"de", "d.e0"}, {"ng", "ng"}, {"", ""}, {u"lü"_qs, "l.v0"},
            {u"hǎó"_qs, "h.ao3"}, {u"hāǒ"_qs, "h.ao1"}, {u"hao"_qs, "h.ao0"}});
    ExpectAll(MarkedToNumberedPinyin,
        {{u"nǐ hǎo"_qs, "n.i3 h.ao3 "}, {u"nǐ,hǎo"_qs, "n.i3,h.ao3,"}, {"", " "}, {u"nǐ  hǎo"_qs, "n.i3  h.ao3 "},
            {u"zhōng guó"_qs, "zh.ong1 gu.o2 "}});
    const VowelTone v = MakeVowelTone("a", 3);
    EXPECT_EQ(v.Vowel, "a");
    EXPECT_EQ(v.Tone, 3);
}

// Readings come from the on-line cache, that is from the network: whatever a piece holds, the
// conversion must neither fail nor take a literal "." for a vowel.
TEST_F(PinyinTest, MarkedToNumberedSyllableTakesOddInput)
{
    const QString manyDots = QString(1000, QLatin1Char('.'));
    const QString highSurrogate(QChar(0xD800));
    ExpectAll(MarkedToNumberedSyllable,
        {{manyDots + u"ā"_qs, ".a1"},                 // dots before the vowel
            {u".xā"_qs, "x.a1"},                      // a dot before a consonant
            {u"x.ǒu"_qs, "x.ou3"},                    // the mark stays with its own vowel
            {u"h.ǎo"_qs, "h.ao3"}, {u"hǎo."_qs, "h.ao3"}, {u"h.ǎ.o."_qs, "h.ao3"},
            {"h.ao", "h.ao0"},                        // a numbered reading cut before its digit
            {"...", "..."}, {".", "."}, {"", ""},     // dots only: no vowel, unchanged
            {"x.y", "x.y"}, {"ng", "ng"},             // no vowel at all
            {u"hǎ\u0300o"_qs, "h.ao3"},              // a combining mark after a vowel
            {u"m\u0300"_qs, "m."},                   // a combining mark on a consonant
            {u"\u1E3F"_qs, "."},                     // a marked consonant is no known vowel
            {u"h😀ǎo"_qs, "h.ao3"},                  // a surrogate pair
            {highSurrogate + u"ā"_qs, ".a1"}, {u"ā"_qs + highSurrogate, ".a1"},
            {u"😀"_qs, ".."}, {u"..😀..ǜ"_qs, ".v4"}});
}

TEST_F(PinyinTest, MarkedToNumberedPinyinTakesDotsAndCommasFromACachedReading)
{
    ExpectAll(MarkedToNumberedPinyin,
        {{u"n.ǐ h.ǎo"_qs, "n.i3 h.ao3 "}, {u"....,..ā"_qs, "....,.a1,"}, {u". ."_qs, ". . "}});
}

TEST_F(PinyinTest, EverySyllableRoundTripsThroughTheMarkedForm)
{
    const QStringList syllables = QString::fromLatin1(kSyllables).split(QLatin1Char(' '));
    ASSERT_GT(syllables.size(), 390);
    for (const QString& plain : syllables) {
        for (int tone = 0; tone <= 4; ++tone) {
            const QString numbered = Dotted(plain) + QString::number(tone);
            SCOPED_TRACE(numbered.toStdString());
            const QString marked = NumberedToMarkedPinyin(numbered);
            EXPECT_FALSE(marked.contains(QLatin1Char('v')));
            EXPECT_EQ(MarkedToNumberedSyllable(marked), numbered);
        }
    }
}

TEST_F(PinyinTest, EverySyllableOfTheCourseRoundTrips)
{
    // The pinyin lines of the lesson sources (first line of every three-line group).
    const QRegularExpression syllable(QStringLiteral("^[a-z]*\\.[a-z]+[0-4]$"));
    int checked = 0;
    QDirIterator it(QStringLiteral(VELMORA_SOURCE_DIR "/content/Lessons"), {"icwp.txt", "lifr.txt"}, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); i += 3) {
            for (const QString& s : SplitNumberedPinyin(lines[i].toLower())) {
                if (!syllable.match(s).hasMatch())
                    continue;
                SCOPED_TRACE(s.toStdString());
                EXPECT_EQ(MarkedToNumberedSyllable(NumberedToMarkedPinyin(s)), s);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0);
}
