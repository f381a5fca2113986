// The dialogue script and its recordings as the build laid them out in the data tree.

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CodedFile.h"
#include "DialogScript.h"
#include "TestSupport.h"
#include "WavFile.h"

namespace {

QString Tree() { return QStringLiteral(VELMORA_TREE_DIR "/"); }

TEST(DialogTreeTest, EveryLineOfTheScriptHasItsOwnRecording)
{
    ResetState();
    const QString script = Tree() + QStringLiteral("Spoken/Script.vmq");
    ASSERT_TRUE(QFile::exists(script));
    ReadCodedLines(script, QStringLiteral("SP"), 0);
    const DialogScript parsed = ParseDialogScript(State().LineBuffer);
    EXPECT_TRUE(parsed.Warnings.isEmpty()) << parsed.Warnings.join("\n").toStdString();
    EXPECT_GE(parsed.Dialogs.size(), 30);

    // The goodbye plays b.wav in both roles.
    QHash<QString, QString> textOf{{QStringLiteral("b.wav"), QStringLiteral("再见！")}};
    int lines = 0;
    for (int d = 1; d <= parsed.Dialogs.size(); ++d) {
        const DialogRecord& dialog = parsed.Dialogs[d - 1];
        EXPECT_GE(dialog.ReplyCount(), 1) << "dialogue " << d;
        for (const DialogLine& line : dialog.Lines) {
            ++lines;
            const QString name = DialogSoundFileName(line.English);
            SCOPED_TRACE(line.English.toStdString());
            const QString text = line.Chinese + u'=' + line.English;
            const auto it = textOf.constFind(name);
            if (it != textOf.constEnd())
                EXPECT_TRUE(*it == text || (name == QLatin1String("b.wav") && line.Chinese == *it))
                    << name.toStdString() << " also records " << it->toStdString();
            else
                textOf.insert(name, text);
        }
    }
    EXPECT_GE(lines, 90);
    for (auto it = textOf.cbegin(); it != textOf.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        QString error;
        const WavFile::Audio audio = WavFile::Read(Tree() + QStringLiteral("Spoken/Sound/") + it.key(), &error);
        ASSERT_TRUE(audio.IsValid()) << error.toStdString();
        EXPECT_GE(audio.DurationMs(), 300);
        EXPECT_LE(audio.DurationMs(), 12000);
    }
}

} // namespace
