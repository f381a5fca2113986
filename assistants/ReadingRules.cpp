#include "ReadingRules.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "AppState.h"
#include "BlankTrim.h"
#include "CharacterTable.h"
#include "CodePage.h"
#include "RtfDocument.h"
#include "SafeFile.h"
#include "TextFilters.h"

namespace {

constexpr int MostReadAloud = 20;
constexpr int MostLookedUp = 4;
constexpr int PopupShift = 2; // Ctrl alone

// The text after the selection's start that the on-line look-up may widen the word into: as
// long as the character's longest phrase, plus one. Empty when the character has no record
// or no phrases.
QString OnlineContext(const QString& boxText, qsizetype start, int charIndex)
{
    const AppState& s = std::as_const(State());
    if (charIndex < 1 || charIndex > s.CharacterCount || charIndex > s.CharacterTable.size())
        return {};
    qsizetype longest = 0;
    for (const QString& phrase : s.CharacterTable.at(charIndex - 1).Phrases)
        longest = std::max(longest, phrase.size());
    return longest == 0 ? QString() : boxText.mid(start, longest + 1);
}

} // namespace

bool IsPlainTextName(const QString& path) { return path.right(3).compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0; }

QString DecodeReadingText(const QByteArray& bytes, bool* ok)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    bool decoded = !utf8.hasError();
    if (!decoded)
        text = CodePage::FromGbk(bytes, &decoded);
    if (ok)
        *ok = decoded;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

OpenedReading ReadReadingFile(const QString& path, qint64 maxBytes)
{
    OpenedReading opened;
    QByteArray bytes;
    const SafeFile::ReadStatus read = SafeFile::ReadRegular(path, maxBytes, &bytes);
    if (read == SafeFile::ReadStatus::TooLarge) {
        opened.Error = QStringLiteral("The file is too large to open (at most %1 KB).").arg(maxBytes / 1024);
        return opened;
    }
    if (read != SafeFile::ReadStatus::Ok) {
        opened.Error = SafeFile::ReadFailure(read);
        return opened;
    }
    if (!IsPlainTextName(path) && Rtf::LooksLikeRtf(bytes)) {
        opened.Result = OpenedReading::Rtf;
        return opened;
    }
    bool decoded = false;
    opened.Text = DecodeReadingText(bytes, &decoded);
    // Replacement characters would go into the reading text and its file for good.
    if (!decoded) {
        opened.Text.clear();
        opened.Error = QStringLiteral("The file is damaged, or its text is neither UTF-8 nor code page 936 (GB18030): "
                                      "some of its bytes are no characters there.");
        return opened;
    }
    opened.Result = OpenedReading::PlainText;
    return opened;
}

void RouteReadingSelection(const ReadingSelection& selection, ReadingSelectionActions& actions)
{
    const qsizetype selStart = std::clamp<qsizetype>(selection.SelStart, 0, selection.BoxText.size());
    const QString selected = selection.BoxText.mid(selStart, std::max(selection.SelLength, 0));
    QString s = BlankTrim(selected);
    if (s.isEmpty())
        return;
    const qsizetype length = s.size();
    // Where the trimmed text really starts: the context and the colouring begin there.
    qsizetype start = selStart;
    while (start < selStart + selected.size() && selection.BoxText.at(start) == QLatin1Char(' '))
        ++start;
    const int selectionEnd = int(selStart + selected.size());

    if (selection.Shift == PopupShift && length == 1 && !HasNonHanzi(s)) {
        actions.ShowPopup(s);
        actions.Collapse(selectionEnd);
        return;
    }
    if (length > MostReadAloud)
        return;

    bool readAloud = true;
    if (length <= MostLookedUp) {
        if (!HasNonHanzi(s) && selection.OnlineTicked) {
            const int k = FindCharacterRecord(s.left(1));
            s = actions.LookUpOnline(s, k, OnlineContext(selection.BoxText, start, k));
        }
        if (selection.LocalTicked) {
            if (!HasNonHanzi(s))
                actions.LookUpLocal(s);
            readAloud = false;
        }
    }
    if (readAloud) {
        if (selection.Annotating)
            return;
        if (s != selection.LastText)
            actions.StartAnnotation(s);
        else if (!selection.LastPinyin.isEmpty())
            actions.Replay(selection.LastPinyin);
    }
    if (selection.ColourTicked && length <= MostLookedUp) {
        actions.Colour(int(start), int(s.size()));
        actions.Collapse(int(start + s.size()));
    }
}

bool ReadingAutosave::Changed()
{
    const bool start = !m_pending;
    m_pending = true;
    return start;
}

bool ReadingAutosave::Tick()
{
    if (++m_ticks < 5)
        return false;
    m_ticks = 0;
    return true;
}
