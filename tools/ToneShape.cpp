// Speaks a syllable recording on the standard contour of its tone:
//   tone_shape <tone 1-4> <in.wav> <out.wav>
// The output is mono 16-bit PCM at the input's rate, the same every run.

#include <QFile>
#include <QTextStream>
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "ToneContour.h"
#include "WavFile.h"

int main(int argc, char** argv)
{
    QTextStream err(stderr);
    const int tone = argc == 4 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (tone < 1 || tone > 4) {
        err << "usage: tone_shape <tone 1-4> <in.wav> <out.wav>\n";
        return 2;
    }
    QString error;
    const WavFile::Audio audio = WavFile::Read(QString::fromLocal8Bit(argv[2]), &error);
    if (!audio.IsValid()) {
        err << "tone_shape: " << argv[2] << ": " << error << '\n';
        return 1;
    }
    const std::vector<double> shaped = ToneContour::Reshape(ToneContour::Samples(audio), audio.sampleRate, tone);
    QByteArray pcm(qsizetype(shaped.size()) * 2, '\0');
    for (size_t i = 0; i < shaped.size(); ++i)
        qToLittleEndian<qint16>(qint16(std::lround(std::clamp(shaped[i], -1.0, 32767.0 / 32768.0) * 32768.0)),
                                pcm.data() + i * 2);
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::WriteOnly) || file.write(WavFile::Encode16(audio.sampleRate, 1, pcm)) < 0) {
        err << "tone_shape: cannot write " << argv[3] << '\n';
        return 1;
    }
    return 0;
}
