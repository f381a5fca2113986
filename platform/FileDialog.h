#pragma once
// The file-open dialog. Cancelling gives an empty path. Tests install a Recorder that answers
// with queued paths (an empty answer, or none left, is a cancel) instead of showing a dialog.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace FileDialog {

// filter as "Picture Files (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif" (description|patterns).
// Patterns match whatever the case of the name ("*.jpg" lists "PHOTO.JPG"), as they did on
// the old platform. The dialog opens in folder (empty: the working folder). Only an existing
// file can be chosen.
QString GetOpenFileName(QWidget* parent, const QString& filter, const QString& folder = QString());

// The filter in Qt's form, one "Description (patterns)" per entry, each pattern spelled so
// that it matches either case ("*.[jJ][pP][gG]").
QStringList QtNameFilters(const QString& filter);

// The learner's pictures folder when it exists, else the home folder.
QString PicturesFolder();

class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Answer(const QString& path) { m_answers.append(path); }
    int Shown() const { return m_shown; }
    // What the last dialog was asked to show.
    const QString& LastFilter() const { return m_lastFilter; }
    const QString& LastFolder() const { return m_lastFolder; }
    QString Take(const QString& filter, const QString& folder);

private:
    QStringList m_answers;
    int m_shown{0};
    QString m_lastFilter;
    QString m_lastFolder;
};

} // namespace FileDialog
