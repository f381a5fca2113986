#pragma once
// The syllable queue: a dotless numbered-pinyin text ("ni3 hao3") is cut into syllables and
// each syllable's recording, "Phonetic Symbols/<L>/<syllable><digit>.wav", is played in turn
// on the shared player, which calls PlayNextSyllable (owner 15) at the end of each. A neutral
// tone ("0") plays the tone-1 file, a final "er1" plays "er2", and a missing or unplayable
// file is skipped. When the queue runs out the read-aloud task (CurrentActivity 6) or the
// vocabulary test (3) is told through its play-done receiver (owner Text or Vocabulary).
// Each syllable shows the tone label (ToneLabel.h).

#include <QString>

void PlayPinyinSequence(const QString& text);
void PlayNextSyllable();
// AppPath + "Phonetic Symbols/" + first letter in upper case + "/" + syllable + ".wav".
QString SyllableSoundPath(const QString& syllable);
