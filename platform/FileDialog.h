#pragma once
// The file-open dialog. Cancelling gives an empty path. Tests install a Recorder that answers
// with queued paths (an empty answer, or none left, is a cancel) instead of showing a dialog.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace FileDialog {

// filter as "Picture Files (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif" (description|patterns).
// Only an existing file can be chosen.
QString GetOpenFileName(QWidget* parent, const QString& filter);

class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Answer(const QString& path) { m_answers.append(path); }
    int Shown() const { return m_shown; }
    QString Take();

private:
    QStringList m_answers;
    int m_shown{0};
};

} // namespace FileDialog
