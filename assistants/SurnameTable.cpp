#include "SurnameTable.h"

#include <algorithm>

#include "Pinyin.h"
#include "SyllableQueue.h"
#include "TextFilters.h"

namespace {

struct SurnameRow {
    const char* surname;
    const char* pinyin; // numbered, with the tone dot
};

// The surnames in their row order: one-character surnames first, then the two-character ones.
const SurnameRow Rows[] = {
    {"赵", "zh.ao4"}, {"钱", "qi.an2"}, {"孙", "s.un1"}, {"李", "l.i3"}, {"周", "zh.ou1"},
    {"吴", "w.u2"}, {"郑", "zh.eng4"}, {"王", "w.ang2"}, {"冯", "f.eng2"}, {"陈", "ch.en2"},
    {"褚", "zh.u3"}, {"卫", "w.ei4"}, {"蒋", "ji.ang3"}, {"沈", "sh.en3"}, {"韩", "h.an2"},
    {"杨", "y.ang2"}, {"朱", "zh.u1"}, {"秦", "q.in2"}, {"许", "x.u3"}, {"何", "h.e2"}, {"吕", "l.v3"},
    {"施", "sh.i1"}, {"张", "zh.ang1"}, {"孔", "k.ong3"}, {"曹", "c.ao2"}, {"严", "y.an2"},
    {"华", "hu.a4"}, {"金", "j.in1"}, {"魏", "w.ei4"}, {"陶", "t.ao2"}, {"姜", "ji.ang1"},
    {"戚", "q.i4"}, {"谢", "xi.e4"}, {"邹", "z.ou1"}, {"窦", "d.ou4"}, {"章", "zh.ang1"}, {"苏", "s.u1"},
    {"潘", "p.an1"}, {"葛", "g.e3"}, {"范", "f.an4"}, {"彭", "p.eng2"}, {"鲁", "l.u3"}, {"韦", "w.ei3"},
    {"昌", "ch.ang1"}, {"马", "m.a3"}, {"苗", "mi.ao2"}, {"方", "f.ang1"}, {"任", "r.en2"},
    {"袁", "yu.an2"}, {"柳", "li.u3"}, {"史", "sh.i3"}, {"唐", "t.ang2"}, {"费", "f.ei4"},
    {"廉", "li.an2"}, {"岑", "c.en2"}, {"薛", "xu.e1"}, {"雷", "l.ei2"}, {"贺", "h.e4"}, {"倪", "n.i2"},
    {"汤", "t.ang1"}, {"罗", "lu.o2"}, {"毕", "b.i4"}, {"傅", "f.u4"}, {"齐", "q.i2"}, {"康", "k.ang1"},
    {"伍", "w.u3"}, {"余", "y.u2"}, {"元", "yu.an2"}, {"顾", "g.u4"}, {"孟", "m.eng4"},
    {"黄", "hu.ang2"}, {"穆", "m.u4"}, {"萧", "xi.ao1"}, {"尹", "y.in3"}, {"姚", "y.ao2"},
    {"邵", "sh.ao4"}, {"汪", "w.ang1"}, {"毛", "m.ao2"}, {"狄", "d.i2"}, {"贝", "b.ei4"},
    {"臧", "z.ang1"}, {"伏", "f.u2"}, {"成", "ch.eng2"}, {"戴", "d.ai4"}, {"宋", "s.ong4"},
    {"茅", "m.ao2"}, {"庞", "p.ang2"}, {"熊", "xi.ong2"}, {"纪", "j.i4"}, {"舒", "sh.u1"},
    {"屈", "q.u1"}, {"项", "xi.ang4"}, {"祝", "zh.u4"}, {"董", "d.ong3"}, {"梁", "li.ang2"},
    {"杜", "d.u4"}, {"阮", "ru.an3"}, {"蓝", "l.an2"}, {"闵", "m.in3"}, {"贾", "ji.a3"}, {"满", "m.an3"},
    {"路", "l.u4"}, {"江", "ji.ang1"}, {"童", "t.ong2"}, {"颜", "y.an2"}, {"郭", "gu.o1"},
    {"梅", "m.ei2"}, {"林", "l.in2"}, {"徐", "x.u2"}, {"邱", "qi.u1"}, {"骆", "lu.o4"}, {"高", "g.ao1"},
    {"夏", "xi.a4"}, {"蔡", "c.ai4"}, {"田", "ti.an2"}, {"樊", "f.an2"}, {"胡", "h.u2"}, {"霍", "hu.o4"},
    {"万", "w.an4"}, {"柯", "k.e1"}, {"管", "gu.an3"}, {"卢", "l.u2"}, {"莫", "m.o4"}, {"裘", "qi.u2"},
    {"解", "xi.e4"}, {"谷", "g.u3"}, {"丁", "d.ing1"}, {"邓", "d.eng4"}, {"洪", "h.ong2"},
    {"包", "b.ao1"}, {"左", "zu.o3"}, {"石", "sh.i2"}, {"崔", "cu.i1"}, {"龚", "g.ong1"},
    {"程", "ch.eng2"}, {"邢", "x.ing2"}, {"陆", "l.u4"}, {"荣", "r.ong2"}, {"翁", "w.eng1"},
    {"岳", "yu.e4"}, {"于", "y.u2"}, {"曲", "q.u3"}, {"易", "y.i4"}, {"白", "b.ai2"}, {"欧", ".ou1"},
    {"仇", "qi.u2"}, {"祖", "z.u3"}, {"武", "w.u3"}, {"符", "f.u4"}, {"刘", "li.u2"}, {"詹", "zh.an1"},
    {"龙", "l.ong2"}, {"叶", "y.e4"}, {"黎", "l.i2"}, {"赖", "l.ai4"}, {"卓", "zhu.o2"}, {"屠", "t.u2"},
    {"蒙", "m.eng2"}, {"乔", "qi.ao2"}, {"阳", "y.ang2"}, {"闻", "w.en2"}, {"谭", "t.an2"},
    {"申", "sh.en1"}, {"牛", "ni.u2"}, {"尚", "sh.ang4"}, {"农", "n.ong2"}, {"温", "w.en1"},
    {"柴", "ch.ai2"}, {"连", "li.an2"}, {"向", "xi.ang4"}, {"古", "g.u3"}, {"廖", "li.ao4"},
    {"文", "w.en2"}, {"禄", "l.u4"}, {"巩", "g.ong3"}, {"聂", "ni.e4"}, {"辛", "x.in1"}, {"那", "n.a4"},
    {"曾", "z.eng1"}, {"关", "gu.an1"}, {"司马", "s.i1 m.a3"}, {"上官", "sh.ang4 gu.an1"},
    {"欧阳", ".ou1 y.ang2"}, {"夏侯", "xi.a4 h.ou2"}, {"诸葛", "zh.u1 g.e3"}, {"东方", "d.ong1 f.ang1"},
    {"尉迟", "y.u4 ch.i2"}, {"公孙", "g.ong1 s.un1"}, {"令狐", "l.ing4 h.u2"}, {"司徒", "s.i1 t.u2"},
};

} // namespace

QList<SurnameRecord> SurnameTable()
{
    QList<SurnameRecord> table;
    int index = 0;
    for (const SurnameRow& row : Rows) {
        SurnameRecord s;
        s.Index = ++index;
        s.Text = QString::fromUtf8(row.surname);
        s.Pinyin = QString::fromLatin1(row.pinyin);
        s.Marked = NumberedToMarkedPinyin(s.Pinyin);
        s.Sound = StripPunctuation(s.Pinyin);
        // Nobody is named as a bearer: the column stays empty.
        table << s;
    }
    return table;
}

QString PadIndex(int n)
{
    return PadNumber(static_cast<qint16>(n));
}

SurnameSound SoundOf(const SurnameRecord& surname)
{
    SurnameSound sound;
    if (surname.Text.size() == 1) {
        sound.Tone = surname.Sound.right(1);
        sound.File = SyllableSoundPath(surname.Sound);
    } else {
        sound.Sequence = surname.Sound;
    }
    return sound;
}

void SurnameSort::HeaderClicked(int column)
{
    Column = column;
    Descending = !Descending;
}

QString SurnameSort::Key(const SurnameRecord& s) const
{
    switch (Column) {
    case 1: return s.Text;
    case 2: return s.Marked;
    case 3: return s.Bearers;
    default: return PadIndex(s.Index);
    }
}

void SurnameSort::Apply(QList<SurnameRecord>& rows) const
{
    // As a list sorts its text: case-insensitive, with the rows' own order breaking ties.
    std::stable_sort(rows.begin(), rows.end(), [this](const SurnameRecord& a, const SurnameRecord& b) {
        const int order = Key(a).compare(Key(b), Qt::CaseInsensitive);
        return Descending ? order > 0 : order < 0;
    });
}
