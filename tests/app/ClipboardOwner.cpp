// Another program on the desktop that owns the clipboard and the mouse selection, for
// paste_check.sh: it offers one kind of content, says "owned" once it holds both, and keeps
// them until it is ended. Ended, it leaves the desktop with a
// clipboard that nobody owns, as a program that copied and then quit does.
//   clipboard_owner text <text>       that text, line breaks and all
//   clipboard_owner large <megabytes> that many million characters of text in one line
//   clipboard_owner lines <megabytes> as many in lines of 50 (49 and a line feed)
//   clipboard_owner picture           a picture only
//   clipboard_owner nothing           ownership with no content at all

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <cstdio>

namespace {

QMimeData* Content(const QString& kind, const QString& argument)
{
    auto* data = new QMimeData;
    if (kind == QLatin1String("text")) {
        data->setText(argument);
    } else if (kind == QLatin1String("large")) {
        data->setText(QString(argument.toLongLong() * 1000000, QLatin1Char('a')));
    } else if (kind == QLatin1String("lines")) {
        const QString line = QString(49, QLatin1Char('a')) + QLatin1Char('\n');
        data->setText(line.repeated(argument.toLongLong() * 20000));
    } else if (kind == QLatin1String("picture")) {
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        data->setImageData(picture);
    } else if (kind != QLatin1String("nothing")) {
        delete data;
        return nullptr;
    }
    return data;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList words = QApplication::arguments();
    const QString kind = words.value(1);
    for (QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        QMimeData* data = Content(kind, words.value(2));
        if (!data) {
            std::fprintf(stderr, "clipboard_owner: unknown kind %s\n", qPrintable(kind));
            return 2;
        }
        QApplication::clipboard()->setMimeData(data, mode);
    }
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->ownsClipboard() || (clipboard->supportsSelection() && !clipboard->ownsSelection())) {
        std::fprintf(stderr, "clipboard_owner: the desktop did not give the clipboard\n");
        return 1;
    }
    std::printf("owned\n");
    std::fflush(stdout);
    return QApplication::exec();
}
