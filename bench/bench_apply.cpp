// OK or Apply after every tab was shown, against one single-key save of the same file: on the
// sample file and on a 10 MB file. Counts the renames and flushes of each Apply through the
// store's file-call seam.

#include "BenchFiles.h"
#include "app/ConfigApp.h"
#include "app/MainDialog.h"
#include "platform/dialog/MessageBox.h"
#include "platform/store/PrivateProfile.h"
#include "res/ControlIds.h"
#include "settings/SettingsSession.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>

namespace {

int g_messages = 0;

struct SaveCalls {
    static inline long renames = 0;
    static inline long fsyncs = 0;
    static int fsync(int fd) {
        ++fsyncs;
        return ::fsync(fd);
    }
    static int rename(const char* from, const char* to) {
        ++renames;
        return std::rename(from, to);
    }
    static constexpr ProfileFileOps kOps{&::write, &SaveCalls::fsync, &SaveCalls::rename};
    static constexpr ProfileIo kIo{.ops = &kOps};
};

BenchDir& Dir() {
    static BenchDir dir;
    return dir;
}

std::string SampleText() {
    std::ifstream in(GOMCFG_SOURCE_DIR "/sample/GombleTroveII.ini", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CountCalls(benchmark::State& state) {
    state.counters["renames"] =
        benchmark::Counter(double(SaveCalls::renames), benchmark::Counter::kAvgIterations);
    state.counters["flushes"] =
        benchmark::Counter(double(SaveCalls::fsyncs), benchmark::Counter::kAvgIterations);
    SaveCalls::renames = SaveCalls::fsyncs = 0;
}

// The limit changes every time, so every save reaches the disk.
void SingleKeySave(benchmark::State& state, std::string text) {
    const std::string path = Dir().put("GombleTroveII.ini", text);
    bool flip = false;
    SaveCalls::renames = SaveCalls::fsyncs = 0;
    for (auto _ : state) {
        flip = !flip;
        if (!WritePrivateProfileString("Gomcfg", "Nfraglimit", flip ? "10" : "20", path.c_str(),
                                       SaveCalls::kIo))
            state.SkipWithError("write failed");
    }
    CountCalls(state);
}

// The sheet with all its pages, every tab shown, the frag limit changed: Apply writes every key.
void SheetApply(benchmark::State& state, std::string text) {
    long applyCalls[2] = {0, 0};
    long otherCalls = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SaveCalls::renames = SaveCalls::fsyncs = 0;
        Dir().put("GombleTroveII.ini", text);
        auto sheet = std::make_unique<MainDialog>(nullptr, 0, SaveCalls::kIo);
        auto pages = ConfigApp::createPages();
        for (const auto& page : pages)
            sheet->AddPage(page.get());
        sheet->show();
        for (int i = sheet->GetPageCount() - 1; i >= 0; --i)
            sheet->SetActivePage(i);
        sheet->SetActivePage(2);
        auto* limit = qobject_cast<QLineEdit*>(sheet->GetPage(2)->GetDlgItem(IDC_FRAG_LIMIT));
        limit->setText(limit->text() == QStringLiteral("5") ? QStringLiteral("6")
                                                            : QStringLiteral("5"));
        otherCalls += SaveCalls::renames + SaveCalls::fsyncs;
        SaveCalls::renames = SaveCalls::fsyncs = 0;
        state.ResumeTiming();
        sheet->button(QDialogButtonBox::Apply)->click();
        state.PauseTiming();
        applyCalls[0] += SaveCalls::renames;
        applyCalls[1] += SaveCalls::fsyncs;
        pages.clear(); // pages leave the sheet before they go, as at the end of the program
        sheet.reset();
        state.ResumeTiming();
    }
    if (otherCalls != 0 || g_messages != 0)
        state.SkipWithError("a save outside Apply, or a message box");
    SaveCalls::renames = applyCalls[0];
    SaveCalls::fsyncs = applyCalls[1];
    CountCalls(state);
}

// The session alone, as any front end drives it: every key read and shown, one changed, then
// one OK's writes sorted and saved.
void SessionSave(benchmark::State& state, std::string text) {
    const std::string path = Dir().put("GombleTroveII.ini", text);
    SaveCalls::renames = SaveCalls::fsyncs = 0;
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        SettingsSession session(path, SaveCalls::kIo);
        for (const SettingKey& key : SettingKeys())
            session.noteShown(key.key, session.read(key.key).value_or(std::nullopt));
        flip = !flip;
        state.ResumeTiming();
        for (const SettingKey& key : SettingKeys()) {
            std::string value = key.defaultText;
            if (std::string_view(key.key) == "Nfraglimit")
                value = flip ? "10" : "20";
            session.addWrite(key.key, value, [&] { state.SkipWithError("save failed"); });
        }
        session.sortWrites();
        session.commit();
    }
    CountCalls(state);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dir().put("gomble_motd.txt", "Welcome to the server.\r\n");
    QDir::setCurrent(QString::fromStdString(Dir().path()));
    qputenv("GOMCFG_WINDIR", QByteArray::fromStdString(Dir().path()));
    SetMessageBoxHandler([](const MessageBoxCall&) { ++g_messages; });

    const std::pair<const char*, std::string> files[] = {
        {"sample", SampleText()},
        {"10MB", SettingsText(10 << 20, "\r\n")},
    };
    for (const auto& [name, text] : files) {
        const bool large = text.size() > (1 << 20);
        for (auto [kind, run] :
             {std::pair{"SingleKeySave", &SingleKeySave}, std::pair{"SessionSave", &SessionSave},
              std::pair{"SheetApply", &SheetApply}})
            benchmark::RegisterBenchmark((std::string(kind) + "/" + name).c_str(), run, text)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(large ? 10 : 100);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
