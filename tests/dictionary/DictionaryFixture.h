#pragma once
// A small course vocabulary and sentence table written straight into the shared state, for
// the dictionary's rules.

#include <QString>
#include <QStringList>

#include "AppState.h"
#include "TestSupport.h"

class DictionaryFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        // Lesson entries lead the table, then the additional vocabulary.
        AddWord(u"你好", u" hello ", u"n.i3 h.ao3", 1, 3);
        AddWord(u"好", u" good; well ", u"h.ao3", 1, 3);
        AddWord(u"我们", u" we; us ", u"w.o3 m.en0", 1, 3);
        AddWord(u"走", u" to go; to walk ", u"z.ou3", 1, 4);
        AddWord(u"走开", u" go away ", u"z.ou3 k.ai1", 1, 5);
        AddWord(u"来去", u" go, come ", u"l.ai2 q.u4", 1, 5);
        AddWord(u"去", u" going ", u"q.u4", 1, 3);
        AddWord(u"好吗", u" all right? ", u"h.ao3 m.a0", 1, 3);
        AddWord(u"妈", u" mum ", u"m.a0", 1, 4);
        AddWord(u"好(的)", u" OK ", u"h.ao3 d.e0", 2, 7);
        AddWord(u"好", u" fine ", u"h.ao3", 2, 12);
        AddWord(u"好好", u" properly ", u"h.ao3 h.ao3", 2, 2);
        // A lesson entry out of place: the lesson scan stops at the first other source.
        AddWord(u"晚上", u" evening ", u"w.an3 sh.ang4", 1, 3);
    }

    static void AddWord(const char16_t* chinese, const char16_t* english, const char16_t* pinyin, qint16 kind,
                        qint16 number)
    {
        AppState& s = State();
        s.WordText[0].append(QString::fromUtf16(chinese));
        s.WordText[1].append(QString::fromUtf16(english));
        s.WordPinyin.append(QString::fromUtf16(pinyin));
        s.WordSource[0].append(kind);
        s.WordSource[1].append(number);
        s.WordCount = s.WordCountCopy = qint16(s.WordPinyin.size());
    }

    static void AddSentence(const QString& chinese, const QString& english)
    {
        AppState& s = State();
        s.SentenceTable.append(SentenceRecord{QString(), chinese, english, 1});
        s.SentenceCount = qint16(s.SentenceTable.size());
    }

    // The Chinese words of entries.
    static QStringList Words(const QVector<int>& entries)
    {
        QStringList words;
        for (const int k : entries)
            words << State().WordText[0][k - 1];
        return words;
    }
};
