#pragma once

#include "clscal.h"
#include "gridstate.h"
#include "sheetmodel.h"

// A sheet on its own, without a window or a program around it: its grid state, its cells, its
// layout and an engine of its own. The command-line tool works on these.
struct StandaloneSheet {
    explicit StandaloneSheet(qint16 roundDigits = 5) : engine(roundDigits) {}
    StandaloneSheet(const StandaloneSheet&) = delete;
    StandaloneSheet& operator=(const StandaloneSheet&) = delete;

    clsCal engine;
    GridState grid;
    SheetModel model{grid, [this]() -> clsCal& { return engine; }};
    SheetLayout layout;
};
