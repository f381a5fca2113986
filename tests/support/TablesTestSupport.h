#pragma once
// Shared pieces of the table tests: a progress recorder standing in for the loading window,
// and a fixture that writes coded course files into the temporary AppPath.

#include <QStringList>
#include <array>

#include "CodedFixture.h"
#include "LoadingSteps.h"
#include "TestSupport.h"

class ProgressRecorder : public LoadProgress {
public:
    void SetMaximum(int step, int maximum) override { maxima[step] = maximum; }
    int Maximum(int step) const override { return maxima[step]; }
    int Value(int step) const override { return values[step]; }
    void SetValue(int step, int value) override { values[step] = value; }
    void SetCaption(int step, const QString& text) override
    {
        captions[step] = text;
        ++captionChanges[step];
    }
    void ProcessEvents() override { ++events; }

    std::array<int, 5> maxima{0, 100, 100, 100, 100}; // the bars' design maximum
    std::array<int, 5> values{};
    std::array<QString, 5> captions{};
    std::array<int, 5> captionChanges{};
    int events{0};
};

class TablesTest : public AppFixture {
protected:
    // Writes lines (each closed by a line end) as a coded course file under AppPath.
    void WriteCoded(const QString& relative, const QStringList& lines, const QString& tag) const
    {
        WriteCodedFile(Path(relative), lines, tag);
    }
    void WriteText(const QString& relative, const QByteArray& bytes) const { WriteFile(relative, bytes); }

    ProgressRecorder m_progress;
};
