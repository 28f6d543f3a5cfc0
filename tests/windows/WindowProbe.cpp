// window-probe.exe TITLE PICTURE.png [SECONDS]: waits for a top-level window
// with this title (varmo.exe's "Varmo - Ferwen s.c."), saves a picture of it
// as the screen shows it, then asks it to close as the operator would (its
// close box: WM_CLOSE) and waits for it to go. Exit status 0 when all of that
// happened; 1 when the window never came, 2 when it would not close.
// scripts/run-under-wine.sh uses it on the installed varmo.exe under Xvfb.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

HWND waitForWindow(const std::wstring& title, int seconds)
{
    for (int tries = 0; tries < seconds * 10; ++tries) {
        if (HWND window = FindWindowW(nullptr, title.c_str()); window && IsWindowVisible(window))
            return window;
        QThread::msleep(100);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: window-probe TITLE PICTURE.png [SECONDS]\n", stderr);
        return 2;
    }
    const std::wstring title = args[1].toStdWString();
    const int seconds = args.size() > 3 ? args[3].toInt() : 60;

    HWND window = waitForWindow(title, seconds);
    if (window == nullptr) {
        std::fprintf(stderr, "window-probe: no window \"%s\" within %d s\n",
                     args[1].toUtf8().constData(), seconds);
        return 1;
    }
    // Painted by now, and in front.
    SetForegroundWindow(window);
    QThread::msleep(2000);
    RECT frame{};
    GetWindowRect(window, &frame);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    if (shot.isNull() || !shot.save(args[2], "PNG"))
        std::fprintf(stderr, "window-probe: no picture saved as %s\n", args[2].toUtf8().constData());
    else
        std::printf("window-probe: \"%s\" %ldx%ld, picture in %s\n", args[1].toUtf8().constData(),
                    frame.right - frame.left, frame.bottom - frame.top, args[2].toUtf8().constData());

    PostMessageW(window, WM_CLOSE, 0, 0);
    for (int tries = 0; tries < 100 && IsWindow(window); ++tries)
        QThread::msleep(100);
    if (IsWindow(window)) {
        std::fputs("window-probe: the window did not close\n", stderr);
        return 2;
    }
    return 0;
}
