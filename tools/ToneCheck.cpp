// Proves the tones of syllable recordings by their pitch contours. Each argument is a file
// named "<syllable><tone>.wav"; the tool tracks the pitch of the part a listener hears the
// tone on and says whether it stays level (1), rises (2), dips and rises again (3) or falls
// (4) far enough. Prints one line per file that does not show its tone and exits with 1
// when there is any.

#include <QFileInfo>
#include <QString>
#include <QTextStream>

#include "ToneContour.h"
#include "WavFile.h"

int main(int argc, char** argv)
{
    QTextStream out(stdout);
    int bad = 0;
    // --contour prints every file's contour (semitones above 100 Hz, every 10 ms) and figures.
    const bool showContour = argc > 1 && QLatin1String(argv[1]) == QLatin1String("--contour");
    for (int i = showContour ? 2 : 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QString base = QFileInfo(path).completeBaseName();
        const int expected = base.isEmpty() ? 0 : base.back().digitValue();
        QString error;
        const WavFile::Audio audio = WavFile::Read(path, &error);
        ToneContour::Verdict verdict;
        std::vector<double> contour;
        if (audio.IsValid()) {
            const auto frames = ToneContour::Track(ToneContour::Samples(audio), audio.sampleRate);
            contour = ToneContour::Semitones(frames, ToneContour::AudiblePart(frames));
            verdict = ToneContour::Judge(contour, expected);
        } else {
            verdict.why = error;
        }
        if (showContour) {
            out << base << ":";
            for (size_t k = 0; k < contour.size(); k += 2)
                out << ' ' << QString::number(contour[k], 'f', 1);
            out << " | range " << QString::number(verdict.range, 'f', 1) << " net "
                << QString::number(verdict.net, 'f', 1) << " fall " << QString::number(verdict.fall, 'f', 1)
                << " rise " << QString::number(verdict.rise, 'f', 1) << '\n';
        }
        if (!verdict.ok) {
            ++bad;
            out << base << ": tone " << expected << ", " << verdict.why << '\n';
        }
    }
    return bad == 0 ? 0 : 1;
}
