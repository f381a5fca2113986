#pragma once
// What the tests of the study windows share: a main window that lays out nothing, the local
// dictionary (and the pop-up) loaded, the shared players on the silent backend, a screen of
// 1280 x 1024, controls reached by name, and the file the shared player plays.

#include <QString>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Background.h"
#include "CourseForms.h"
#include "Dictionary.h"
#include "FormCalls.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "StudyStackWindows.h"
#include "StudyStacks.h"
#include "TestSupport.h"
#include "Twips.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

// The main window without its start-up work.
class StudyMainStandIn : public Background {
protected:
    void Form_Load() override {}
};

// A silent recording of ms milliseconds.
inline QByteArray SilentSound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

class StudyWindowFixture : public AppFixture {
protected:
    // withPopup: the character pop-up is loaded too, so selections reach it.
    void SetUpStudyWindows(bool withPopup)
    {
        AppFixture::SetUp();
        Twips::OverrideScreen(QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1000));
        RegisterCourseForms();
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new StudyMainStandIn; });
        Forms::RegisterFactory<Dictionary>();
        if (withPopup)
            Forms::RegisterFactory<Zoom>();
        Forms::Load(QStringLiteral("Background"));
        Forms::Load<Dictionary>();
        if (withPopup)
            Forms::Load<Zoom>();
        SetUpSharedPlayers();
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        Twips::ClearScreenOverride();
        AppFixture::TearDown();
    }

    void OpenStep(qint16 step) { ASSERT_NE(OpenStudyStackWindows(*LauncherForCode(step)), nullptr); }

    template <class T> T* Get(const char* form, const QString& name) const
    {
        T* control = Forms::Control<T>(QLatin1String(form), name);
        EXPECT_NE(control, nullptr) << form << "." << name.toStdString();
        return control;
    }
    // The file the shared player plays, below AppPath; empty when it plays nothing.
    QString Playing() const
    {
        if (MMControl1()->Mode() != WavePlayer::ModePlaying)
            return {};
        return MMControl1()->FileName().mid(State().AppPath.size());
    }
};
