// How long a reading window takes to fill its box: a lesson text appended line by line, and a
// learner's long reading text read from RTF.

#include <benchmark/benchmark.h>

#include "Module3Rtf.h"
#include "RichTextBox.h"
#include "RtfDocument.h"

namespace {

void LessonTextAppend(benchmark::State& state)
{
    RichTextBox box;
    for (auto _ : state) {
        box.SetText(QString());
        for (int line = 0; line < state.range(0); ++line) {
            for (const QString& rtf : {RtfBlackRoman16Par(QStringLiteral("Nǐ hǎo! Wǒ shì xuésheng.")),
                                       RtfBoldBlueSong24Par(QStringLiteral("  你好！我是学生。")),
                                       RtfGreySans10Par(QStringLiteral(" Hello! I am a student."))}) {
                box.SetSelStart(box.TextLength());
                box.SetSelRTF(rtf);
            }
        }
    }
}
BENCHMARK(LessonTextAppend)->Arg(10)->Arg(60);

void ReadLongRtf(benchmark::State& state)
{
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("我们今天学习第%1课，the lesson about numbers.\r\n").arg(i);
    RichTextBox source;
    source.SetText(text);
    const QByteArray rtf = source.TextRTF().toLatin1();
    for (auto _ : state)
        benchmark::DoNotOptimize(Rtf::Read(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadLongRtf)->Arg(100)->Arg(2000);

} // namespace
