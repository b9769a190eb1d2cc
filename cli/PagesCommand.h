#pragma once

#include "cli/CliOutput.h"

namespace CLI {
class App;
}

// "gomcfgctl pages": the sheet's pages as the page model has them, so that a front end that
// knows only this and gomcfgctl can show the sheet (docs/pages.schema.json).
CLI::App* AddPagesCommand(CLI::App& app);
int RunPages(CliOutput& output);

// The export itself.
CliOutput::Json PagesJson();
