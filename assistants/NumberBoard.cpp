#include "NumberBoard.h"

#include <algorithm>

#include "AppState.h"
#include "NumberReading.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

QVector<LabelPlace> NumberLabelLayout(const QVector<double>& widths, const NumberFrame& frame)
{
    const int n = static_cast<int>(widths.size());
    QVector<LabelPlace> places;
    places.reserve(n);
    auto row = [&](int first, int count, double top, bool byWidth) {
        double left = frame.shapeLeft + (frame.shapeWidth - count * NumberBoard::LabelStep) / 2;
        for (int k = first; k < first + count; ++k) {
            places.append({left, top});
            left += byWidth ? widths.at(k) : NumberBoard::LabelStep;
        }
    };
    if (n < 16) {
        row(0, n, frame.templateTop, true);
    } else {
        row(0, n / 2, frame.templateTop, false);
        row(n / 2, n - n / 2, frame.templateTop + NumberBoard::RowGap, false);
    }
    return places;
}

QColor NumberBoard::Colour(Ink ink)
{
    switch (ink) {
    case Ink::Red: return QColor(255, 0, 0);
    case Ink::Black: return QColor(0, 0, 0);
    case Ink::Blue: break;
    }
    return QColor(0, 0, 255);
}

NumberBoard::NumberBoard(const NumberFrame& frame)
    : m_frame(frame)
{
}

void NumberBoard::Unload()
{
    // The shown codes go with the labels: the same reading asked for again after an empty
    // one must build its labels, not recolour labels that are gone.
    m_labels.clear();
    m_shownCodes.clear();
    ++m_generation;
}

void NumberBoard::ShowAndSpeak(const QString& given)
{
    const QString codes = given.left(MaxLabels);
    if (codes != m_shownCodes) {
        Unload();
    } else {
        for (Label& label : m_labels)
            label.ink = Ink::Blue;
    }
    // An empty reading silences one still being spoken, which would go on without labels.
    AppState& s = State();
    s.SyllableQueue.Erase();
    s.SyllableQueuePos = 0;
    s.SyllableQueueCount = 0;
    if (codes.isEmpty()) {
        if (s.SoundOwner == SoundOwnerCode::Figure)
            MMControl1()->Close();
        return;
    }

    const bool build = m_labels.isEmpty();
    for (qsizetype k = 0; k < codes.size(); ++k) {
        const int column = ++s.SyllableQueueCount;
        s.SyllableQueue.Redim(column);
        s.SyllableQueue.Set(1, column, QString(codes.at(k)));
        if (build) {
            const QString caption = NumberReader::CodeToCharacter(codes.at(k));
            m_labels.append({codes.at(k), caption, {}, LabelStep * std::max<qsizetype>(1, caption.size()), Ink::Blue});
        }
    }
    if (build) {
        QVector<double> widths;
        for (const Label& label : m_labels)
            widths.append(label.width);
        const QVector<LabelPlace> places = NumberLabelLayout(widths, m_frame);
        for (qsizetype k = 0; k < m_labels.size(); ++k)
            m_labels[k].place = places.at(k);
    }
    m_shownCodes = codes;
    Play1();
}

void NumberBoard::SetInk(int position, Ink ink)
{
    if (position >= 1 && position <= m_labels.size())
        m_labels[position - 1].ink = ink;
}

void NumberBoard::Play1()
{
    AppState& s = State();
    while (s.SyllableQueuePos < s.SyllableQueueCount) {
        const int position = ++s.SyllableQueuePos;
        SetInk(position, Ink::Red);
        SetInk(position - 1, Ink::Blue);
        const QString path = s.AppPath + QStringLiteral("Numbers/") + s.SyllableQueue.At(1, position)
            + QStringLiteral(".wav");
        // A missing or damaged recording is passed over, as the syllable queue does, so the
        // reading goes on with the next label instead of stalling on this one.
        if (!WavFile::IsPlayable(path))
            continue;
        PlaySoundFile(path, SoundOwnerCode::Figure);
        if (MMControl1()->Mode() == WavePlayer::ModePlaying)
            return;
    }
    SetInk(s.SyllableQueueCount, Ink::Black);
}
