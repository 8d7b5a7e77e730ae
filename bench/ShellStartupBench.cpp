// Time from starting the program to the first frame the view has painted, including loading
// the executable and its libraries. Each run is a fresh process (this binary started again
// with --child), timed by the parent from just before the start to the moment the child
// reports its first paint on the shared monotonic clock. Runs offscreen when there is no
// display.
#include "shell/CBrindelApp.h"
#include "shell/CBrindelViewWidget.h"
#include "shell/CMainFrame.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int child(int argc, char** argv) {
    const std::int64_t mainEntered = nowNs();
    QApplication qtApp(argc, argv);
    tessimo::CBrindelViewWidget* view = nullptr;
    tessimo::CBrindelApp app([&view] { return view = new tessimo::CBrindelViewWidget(); });
    bool done = false;
    std::int64_t painted = 0;
    // The view is created inside initInstance; wait for its first frame.
    QMetaObject::Connection link;
    if (!app.initInstance({})) {
        return 1;
    }
    if (view->framesPainted() == 0) {
        link = QObject::connect(view, &tessimo::CBrindelViewWidget::framePainted, [&] {
            if (!done) {
                done = true;
                painted = nowNs();
                QApplication::quit();
            }
        });
        QApplication::exec();
    } else {
        painted = nowNs();
    }
    std::printf("%lld %lld\n", static_cast<long long>(mainEntered),
                static_cast<long long>(painted));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--child") {
        return child(argc, argv);
    }
    const char* display = std::getenv("DISPLAY");
    const bool offscreen = display == nullptr || *display == '\0';
    const QString self = QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe"));
    QTemporaryDir work; // the program reads and may write per-user files in its folder
    constexpr int Runs = 9;
    std::vector<double> total;
    std::vector<double> inMain;
    for (int i = 0; i < Runs; ++i) {
        QProcess process;
        process.setWorkingDirectory(work.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (offscreen) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        process.setProcessEnvironment(env);
        const std::int64_t started = nowNs();
        process.start(self, {QStringLiteral("--child")});
        if (!process.waitForFinished(20000) || process.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i,
                         process.readAllStandardError().constData());
            return 1;
        }
        long long entered = 0;
        long long painted = 0;
        if (std::sscanf(process.readAllStandardOutput().constData(), "%lld %lld", &entered,
                        &painted) != 2) {
            std::fprintf(stderr, "run %d printed no times\n", i);
            return 1;
        }
        total.push_back(static_cast<double>(painted - started) / 1e6);
        inMain.push_back(static_cast<double>(painted - entered) / 1e6);
    }
    std::sort(total.begin(), total.end());
    std::sort(inMain.begin(), inMain.end());
    std::printf("start-up to first painted frame (%s, %d runs, target < 300 ms)\n",
                offscreen ? "offscreen" : "display", Runs);
    std::printf("  from process start: median %.1f ms, min %.1f ms, max %.1f ms\n", total[Runs / 2],
                total.front(), total.back());
    std::printf("  from main():         median %.1f ms, min %.1f ms, max %.1f ms\n",
                inMain[Runs / 2], inMain.front(), inMain.back());
    return total[Runs / 2] < 300.0 ? 0 : 2;
}
