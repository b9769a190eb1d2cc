// First activation and Apply of every page, on a small and a large settings file. The page
// under test is the second tab of a shown sheet (an About page is the first), so what is
// timed is only its own activation or the Apply.

#include "BenchFiles.h"
#include "app/MainDialog.h"
#include "pages/AboutPage.h"
#include "pages/GomblePageReal.h"
#include "pages/PropPageCTF.h"
#include "pages/PropPageServices.h"
#include "pages/ServerPage.h"
#include "pages/WeaponsPageReal.h"
#include "platform/dialog/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

int g_messages = 0;

template <class Page> struct Sheet {
    MainDialog sheet;
    AboutPage first;
    Page page;

    Sheet() {
        sheet.AddPage(&first);
        sheet.AddPage(&page);
        sheet.show();
    }
};

BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

template <class Page> void FirstActivation(benchmark::State& state, std::size_t size) {
    Dir().put("GombleTroveII.ini", SettingsText(size, "\r\n"));
    for (auto _ : state) {
        state.PauseTiming();
        auto sheet = std::make_unique<Sheet<Page>>();
        state.ResumeTiming();
        sheet->sheet.SetActivePage(1);
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
}

// The file holds none of the page's keys, so the page's Apply adds every one of them: one save.
template <class Page> void Apply(benchmark::State& state, std::size_t size) {
    std::string original = SettingsText(size, "\r\n");
    original.resize(original.rfind("[Gomcfg]"));
    for (auto _ : state) {
        state.PauseTiming();
        Dir().put("GombleTroveII.ini", original);
        auto sheet = std::make_unique<Sheet<Page>>();
        sheet->sheet.SetActivePage(1);
        sheet->page.SetModified(TRUE);
        state.ResumeTiming();
        sheet->sheet.button(QDialogButtonBox::Apply)->click();
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    if (g_messages)
        state.SkipWithError("a message box came up");
}

template <class Page> void RegisterPage(const char* name) {
    for (const FileSize& size : {kFileSizes[0], kFileSizes[2]}) {
        const std::string suffix = std::string(name) + "/" + size.name;
        auto* activation = benchmark::RegisterBenchmark(("PageFirstActivation/" + suffix).c_str(),
                                                        FirstActivation<Page>, size.bytes);
        auto* apply =
            benchmark::RegisterBenchmark(("PageApply/" + suffix).c_str(), Apply<Page>, size.bytes);
        // Fixed counts: the untimed set-up of every round (a new sheet, a rewritten file) would
        // otherwise make the library run small cases for minutes.
        const bool large = size.bytes > (1 << 20);
        activation->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(large ? 5 : 50);
        apply->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(large ? 3 : 10);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The settings file and the message of the day are looked for here.
    Dir().put("gomble_motd.txt", "Welcome to the server.\r\n");
    QDir::setCurrent(QString::fromStdString(Dir().path()));
    qputenv("GOMCFG_WINDIR", QByteArray::fromStdString(Dir().path()));
    SetMessageBoxHandler([](const MessageBoxCall&) { ++g_messages; });

    RegisterPage<WeaponsPageReal>("WeaponsPageReal");
    RegisterPage<GomblePageReal>("GomblePageReal");
    RegisterPage<ServerPage>("ServerPage");
    RegisterPage<PropPageServices>("PropPageServices");
    RegisterPage<PropPageCTF>("PropPageCTF");
    RegisterPage<AboutPage>("AboutPage");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
