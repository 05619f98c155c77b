#include "VisaoGrade_U.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace nDesktop {

void ConfigurarGrade(QTableView* aGrade) {
  aGrade->setSelectionBehavior(QAbstractItemView::SelectRows);
  aGrade->setSelectionMode(QAbstractItemView::SingleSelection);
  aGrade->setEditTriggers(QAbstractItemView::NoEditTriggers);
  aGrade->setAlternatingRowColors(true);
  aGrade->setWordWrap(false);
  aGrade->verticalHeader()->hide();
  aGrade->verticalHeader()->setDefaultSectionSize(aGrade->fontMetrics().height() + 8);
  aGrade->horizontalHeader()->setStretchLastSection(true);
  aGrade->horizontalHeader()->setHighlightSections(false);
  aGrade->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The register's own order until the user sorts by a column.
  aGrade->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  aGrade->setSortingEnabled(true);
}

void AjustarColunas(QTableView* aGrade, int aMaximo) {
  aGrade->resizeColumnsToContents();
  const int colunas = aGrade->model() ? aGrade->model()->columnCount() : 0;
  for (int c = 0; c + 1 < colunas; ++c) aGrade->setColumnWidth(c, std::min(aGrade->columnWidth(c) + 14, aMaximo));
}

}  // namespace nDesktop
