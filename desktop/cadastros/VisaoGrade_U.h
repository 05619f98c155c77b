// How the desktop's grids look and behave alike: whole rows selected one at a time, alternate
// row colours, headers to the left, the dataset's own order until a column is clicked, and
// columns as wide as their contents within a limit.
#pragma once

class QTableView;

namespace nDesktop {

void ConfigurarGrade(QTableView* aGrade);
// After the model is set: every column but the last (which stretches) fits its contents, up
// to aMaximo pixels; a longer text shows in its cell's tip.
void AjustarColunas(QTableView* aGrade, int aMaximo = 380);

}  // namespace nDesktop
