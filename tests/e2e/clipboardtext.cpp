// Prints the text of the desktop's clipboard, as a person would paste it:
// how the end-to-end tests read back the text of a box copied with Ctrl+C.
#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return 0;
}
