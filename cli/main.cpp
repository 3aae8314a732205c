// sorvane-search: the search run on the command line, with the embedded engine.
#include "automation/AutomationRegistry.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleHost.h"
#include "cli/RowPrinter.h"
#include "engine/objects/EngineServer.h"
#include "engine/readers/AllocatorTuning.h"
#include "search/SearchRun.h"
#include "search/index/CellIndex.h"

#include <unistd.h>
#include <QCoreApplication>
#include <cstdio>

namespace {

void WriteUtf8(FILE* out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CommandLine commandLine;
    if (!commandLine.Parse(app.arguments().mid(1))) {
        WriteUtf8(stderr,
                  commandLine.Error() +
                      QStringLiteral("\n詳しくは sorvane-search --help を参照してください。\n"));
        return 2;
    }
    if (commandLine.HelpRequested()) {
        WriteUtf8(stdout, CommandLine::HelpText());
        return 0;
    }
    engine::KeepFreedReadBuffers();
    AutomationRegistry servers;
    engine::RegisterEngine(servers);
    RowPrinter printer(commandLine.Format(), stdout);
    ConsoleHost host(commandLine.Conditions(), printer, stderr, isatty(STDERR_FILENO) != 0);
    SearchRun run(host, servers);
    run.SetContinueAfterBookError(commandLine.KeepGoing());
    run.SetFindHiddenCells(commandLine.HiddenCells());
    if (commandLine.UseIndex()) {
        const QString index = CellIndex::DefaultFile();
        if (commandLine.RebuildIndex() && !CellIndex::Remove(index)) {
            WriteUtf8(stderr, QStringLiteral("検索インデックスを消去できませんでした。\n"));
            return 2;
        }
        run.SetIndexFile(index);
    }
    run.Start();
    return host.ExitStatus();
}
