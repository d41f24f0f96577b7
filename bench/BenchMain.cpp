#include "BenchMain.h"

#include "platform/Modules.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>

namespace qv::bench {

int RunWidgetBenchmarks(int argc, char** argv, const OtherMode& other)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::AddModuleFolder(QStringLiteral(QUORVEL_MODULE_DIR));  // built beside the program
    if (other.option) {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], other.option) != 0)
                continue;
            if (!other.takesValue)
                return other.run(QString());
            if (i + 1 < argc)
                return other.run(QString::fromLocal8Bit(argv[i + 1]));
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace qv::bench
