#pragma once

#include "calc/clscal.h"
#include "model/gridstate.h"
#include "model/sheetmodel.h"

// A sheet on its own, without a window or a program around it: its cells with their grid
// state and layout, and an engine of its own. The command-line tool works on these.
struct StandaloneSheet
{
    explicit StandaloneSheet(qint16 roundDigits = 5) : engine(roundDigits) {}
    StandaloneSheet(const StandaloneSheet&) = delete;
    StandaloneSheet& operator=(const StandaloneSheet&) = delete;

    clsCal engine;
    SheetModel model{[this]() -> clsCal& { return engine; }};
    GridState& grid = model.grid();
};
