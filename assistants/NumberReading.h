#pragma once
// The number reader's language: a cardinal (with sign and decimals), an ordinal, a percentage
// or a telephone number becomes a string of sound codes, one letter per spoken syllable. Each
// code names a recording Numbers/<code>.wav and a written form (CodeToCharacter).
//
// The place readers keep the reader state of the number window (SoundCodes, GroupLevel,
// GroupRemainder, NumberParts) and call one another exactly as the window reads a number; a
// finished reading is returned instead of being handed to the window, which shows and speaks it.

#include <QString>
#include <array>
#include <optional>

class NumberReader {
public:
    // The modes of the window's "Text to Speech" buttons (their control index).
    enum Mode { Cardinal = 0, Ordinal = 1, Percent = 3, Telephone = 6 };

    // The largest magnitude the window reads; beyond it the number is refused as too large.
    static constexpr double Limit = 1e13;

    // The codes of one reading. The text must have passed ParseNumber for the numeric modes;
    // a telephone text may hold anything (every character but a digit is skipped).
    QString Read(Mode mode, const QString& text);
    QString ReadCardinal(double value);
    QString ReadOrdinal(double value);
    QString ReadPercent(double value);
    static QString ReadTelephone(const QString& text);

    // The written form of one code ("" for a character that is not a code).
    static QString CodeToCharacter(QChar code);
    // The English caption of an ordinal, "" where none is known (24 to 29, 31, ...).
    static QString EnglishOrdinal(int n);
    // Decimal text in plain notation with at most 15 significant digits, never an exponent.
    static QString DecimalText(double value);

    // The reader state, as the window keeps it between the place readers.
    QString SoundCodes;
    qint16 GroupLevel{1};
    double GroupRemainder{0};
    std::array<QString, 3> NumberParts; // integer digits, "." or "", decimal digits

    // The place readers of one group; each calls the next one down, and the chain ends the
    // reading (Finished becomes true) exactly once. ReadNumber reads nothing at 10^16 or more.
    void ReadNumber(double n);
    void ReadThousands(double x);
    void ReadHundreds(double x);
    void ReadTens(double x);
    void ReadTeens(double x);
    void ReadDigit(double x);
    bool Finished{false};

private:
    void Start(const QString& prefix);
    void ZeroRule();
};

// The one number parser of the window, for the check and the value alike: optional blanks and
// sign, digits with thousands separators only where correctly grouped, at most one point, and
// at least one digit. Exponent forms, and anything else, are not numbers.
std::optional<double> ParseNumber(const QString& text);
