// Column, row and footer calculations.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::CalcFooter(Integer /*ACol*/) {}

double TAdvStringGrid::ColumnSum(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}

double TAdvStringGrid::ColumnAvg(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}

double TAdvStringGrid::ColumnMin(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}

double TAdvStringGrid::ColumnMax(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}

double TAdvStringGrid::ColumnDistinct(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}

double TAdvStringGrid::ColumnStdDev(Integer /*ACol*/, Integer /*FromRow*/, Integer /*ToRow*/) {
    return 0;
}
