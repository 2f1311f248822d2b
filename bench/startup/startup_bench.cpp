// The program's start, from the start of main to the main window on the
// screen with every form created and the regions of data/ read, against a bare
// application showing an empty main window. Each start runs in a child process
// of this program, so that every one is a first start; the child measures
// itself from the start of its main and prints the seconds.
// "ratio" is the program's best start over the bare one's (limit 3).
//
// Only a display gives a fair reference: offscreen a bare window costs next to
// nothing, as it draws no text and loads no fonts. Without a display the
// program runs itself again under xvfb-run, and refuses when there is none;
// it refuses the offscreen platform outright.
//
//   build/bench/bench_startup

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QMainWindow>
#include <QWindow>

#include "app/main/ozr_main.h"
#include "app/main/program_start.h"
#include "app/main/wq_application.h"
#include "bench/support/ratio_reporter.h"
#include "tests/support/programs.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kChildSwitch = "--start-child=";
constexpr std::string_view kSecondsTag = "start_seconds=";

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Polls rather than sleeping between looks, so that the wait adds nothing to
// either start.
bool WaitExposed(QWidget& window)
{
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(5);
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (Clock::now() > limit)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// The seconds from `start` to the main window on the screen, 0 when it did not
// get there; taking the program down again is not part of its start.
double StartProgram(int& argc, char* argv[], Clock::time_point start)
{
    TWqApplication application(argc, argv);
    TProgramStart program;
    return WaitExposed(*FormMain) ? SecondsSince(start) : 0;
}

double StartBare(int& argc, char* argv[], Clock::time_point start)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.show();
    return WaitExposed(window) ? SecondsSince(start) : 0;
}

// Runs one child start of this kind; its own measure of the start.
double ChildStartSeconds(const std::string& kind)
{
    static const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    const auto result =
        wqtest::RunWithOutput(wqtest::Quoted(self) + " " + std::string(kChildSwitch) + kind);
    const auto tag = result.output.rfind(kSecondsTag);
    if (result.exitCode != 0 || tag == std::string::npos)
        return 0;
    return std::stod(result.output.substr(tag + kSecondsTag.size()));
}

enum TStartKind { kBare, kProgram };

void BM_Start(benchmark::State& state)
{
    const bool program = state.range(0) == kProgram;
    for (auto _ : state) {
        const double seconds = ChildStartSeconds(program ? "program" : "bare");
        if (seconds <= 0)
            state.SkipWithError("the start failed");
        state.SetIterationTime(seconds);
    }
}

void PrintRatios(const wqbench::RatioReporter& reporter)
{
    const double program = reporter.Seconds("BM_Start/" + std::to_string(kProgram));
    const double bare = reporter.Seconds("BM_Start/" + std::to_string(kBare));
    const QByteArray platform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
                                    ? "xcb on " + qgetenv("DISPLAY")
                                    : qgetenv("QT_QPA_PLATFORM");
    std::printf(
        "\nstart of main to the main window shown (best of each), %s\n"
        "program %8.1f ms\nbare    %8.1f ms\n",
        platform.constData(), program * 1e3, bare * 1e3);
    wqbench::AtMost("program / bare", wqbench::Ratio(program, bare), 3.0);
}

}  // namespace

BENCHMARK(BM_Start)
    ->Arg(kProgram)
    ->Arg(kBare)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->Unit(benchmark::kMillisecond);

// Checks that the starts will be shown on a display, or runs this program
// again under xvfb-run; returns only when the benchmark may run here.
void EnsureDisplay(char* argv[])
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal") {
        std::fprintf(stderr,
                     "bench_startup: the platform \"%s\" shows no window, so its figure "
                     "means nothing; run on a display or under xvfb-run\n",
                     platform.constData());
        std::exit(2);
    }
    if (!platform.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    if (wqtest::HasProgram("xvfb-run")) {
        std::vector<char*> arguments = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
        for (char** argument = argv; *argument != nullptr; ++argument)
            arguments.push_back(*argument);
        arguments.push_back(nullptr);
        execvp("xvfb-run", arguments.data());
    }
    std::fprintf(stderr,
                 "bench_startup: there is no display and xvfb-run cannot be started; "
                 "run it on a display or install xvfb\n");
    std::exit(2);
}

int main(int argc, char* argv[])
{
    const Clock::time_point start = Clock::now();
    if (argc == 2 && std::string_view(argv[1]).starts_with(kChildSwitch)) {
        const std::string_view kind = std::string_view(argv[1]).substr(kChildSwitch.size());
        int childArgc = 1;
        const double seconds = kind == "program" ? StartProgram(childArgc, argv, start)
                                                 : StartBare(childArgc, argv, start);
        std::printf("%.*s%.6f\n", static_cast<int>(kSecondsTag.size()), kSecondsTag.data(),
                    seconds);
        return 0;
    }
    EnsureDisplay(argv);
    wqbench::Initialize(argc, argv);
    return wqbench::RunAndPrintRatios(PrintRatios);
}
