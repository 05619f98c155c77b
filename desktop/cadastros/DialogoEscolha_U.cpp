#include "DialogoEscolha_U.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "ModeloDataSet_U.h"
#include "TextUtils_U.h"
#include "VisaoGrade_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The value a control takes from a lookup's field: numbers and texts as stored, dates as typed.
std::string TextoValor(const TField& f) {
  if (f.IsNull()) return {};
  if (f.DataType() == TFieldType::ftDate) return FormatDateTime("dd/mm/yyyy", f.AsDateTime());
  if (f.DataType() == TFieldType::ftDateTime) return FormatDateTime("dd/mm/yyyy hh:nn:ss", f.AsDateTime());
  return Trim(f.AsString());
}

}  // namespace

// A check box on the first column of every row, kept here and not in the dataset: what the
// user picks, not data.
class TProxyMarcas : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QSet<int> Marcadas;

  Qt::ItemFlags flags(const QModelIndex& aIndice) const override {
    Qt::ItemFlags r = QIdentityProxyModel::flags(aIndice);
    if (aIndice.isValid() && aIndice.column() == 0) r |= Qt::ItemIsUserCheckable;
    return r;
  }
  QVariant data(const QModelIndex& aIndice, int aPapel) const override {
    if (aPapel == Qt::CheckStateRole && aIndice.isValid() && aIndice.column() == 0)
      return Marcadas.contains(aIndice.row()) ? Qt::Checked : Qt::Unchecked;
    return QIdentityProxyModel::data(aIndice, aPapel);
  }
  bool setData(const QModelIndex& aIndice, const QVariant& aValor, int aPapel) override {
    if (aPapel != Qt::CheckStateRole || !aIndice.isValid() || aIndice.column() != 0)
      return QIdentityProxyModel::setData(aIndice, aValor, aPapel);
    if (aValor.toInt() == Qt::Checked) Marcadas.insert(aIndice.row());
    else Marcadas.remove(aIndice.row());
    emit dataChanged(aIndice, aIndice, {Qt::CheckStateRole});
    return true;
  }
};

TDialogoEscolha::TDialogoEscolha(QWidget* aPai, const std::string& aClasse, const std::string& aCampo, bool aVarios,
                                 const std::string& aCondicao)
    : QDialog(aPai), FVarios(aVarios) {
  setObjectName("DialogoEscolha");
  FLookup = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aClasse));
  if (!FLookup) throw Exception(aClasse + " não é um cadastro nem uma consulta.");
  FLookup->ConfigSobDemanda();
  std::string condicao = CondicaoSelecao(ChavesSelecao(*FLookup));
  if (!Trim(aCondicao).empty()) condicao += (condicao.empty() ? "" : " and ") + ("(" + aCondicao + ")");
  FLookup->FetchRegistros(condicao);
  TClientDataSet& d = FLookup->nClientDataSet();
  std::string campo = aCampo;
  if (Trim(campo).empty()) {
    std::vector<std::string> chave = FLookup->CamposChave();
    campo = chave.empty() ? d.Fields(0).FieldName() : chave.back();
  }
  FCampo = d.FindField(campo);
  if (!FCampo)
    throw EInternalError(std::string(FLookup->ClassName()) + " não tem o campo " + campo + " que a escolha devolve");

  setWindowTitle(Q(FLookup->Caption().empty() ? std::string(FLookup->ClassName()) : FLookup->Caption()));
  auto* principal = new QVBoxLayout(this);
  principal->setContentsMargins(12, 12, 12, 10);
  principal->setSpacing(8);

  auto* linhaPesquisa = new QHBoxLayout();
  auto* rotulo = new QLabel("Pesquisar:", this);
  FPesquisa = new QLineEdit(this);
  FPesquisa->setObjectName("Pesquisa");
  FPesquisa->setPlaceholderText("Digite parte de qualquer coluna");
  FPesquisa->setClearButtonEnabled(true);
  rotulo->setBuddy(FPesquisa);
  linhaPesquisa->addWidget(rotulo);
  linhaPesquisa->addWidget(FPesquisa, 1);
  principal->addLayout(linhaPesquisa);

  FModelo = new TModeloDataSet(d, this);
  FProxy = new TProxyPesquisa(this);
  if (FVarios) {
    FMarcas = new TProxyMarcas(this);
    FMarcas->setSourceModel(FModelo);
    FProxy->setSourceModel(FMarcas);
    connect(FMarcas, &QAbstractItemModel::dataChanged, this, [this] { AtualizarContagem(); });
  } else {
    FProxy->setSourceModel(FModelo);
  }
  FGrade = new QTableView(this);
  FGrade->setObjectName("Grade");
  FGrade->setModel(FProxy);
  ConfigurarGrade(FGrade);
  AjustarColunas(FGrade);
  principal->addWidget(FGrade, 1);

  auto* rodape = new QHBoxLayout();
  FContagem = new QLabel(this);
  FContagem->setObjectName("Contagem");
  rodape->addWidget(FContagem, 1);
  auto* botoes = new QDialogButtonBox(this);
  QPushButton* ok = botoes->addButton("OK", QDialogButtonBox::AcceptRole);
  ok->setObjectName("OK");
  ok->setDefault(true);
  QPushButton* cancelar = botoes->addButton("Cancelar", QDialogButtonBox::RejectRole);
  cancelar->setObjectName("Cancelar");
  rodape->addWidget(botoes);
  principal->addLayout(rodape);

  connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FPesquisa, &QLineEdit::textChanged, this, [this](const QString& t) {
    FProxy->SetPesquisa(t);
    if (!FGrade->currentIndex().isValid() && FProxy->rowCount() > 0) FGrade->selectRow(0);
    AtualizarContagem();
  });
  connect(FGrade, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
    if (i.isValid() && !FVarios) accept();
  });
  // Arrows in the search box move through the grid, so the keyboard never leaves it.
  FPesquisa->installEventFilter(this);

  if (FProxy->rowCount() > 0) FGrade->selectRow(0);
  AtualizarContagem();
  resize(940, 540);
  FPesquisa->setFocus();
}

TDialogoEscolha::~TDialogoEscolha() = default;

void TDialogoEscolha::AtualizarContagem() {
  int n = FProxy->rowCount(), total = FModelo->rowCount();
  QString texto = n == total ? QString("%1 registro(s)").arg(total) : QString("%1 de %2 registro(s)").arg(n).arg(total);
  if (FVarios) texto += QString(" · %1 marcado(s)").arg(FMarcas->Marcadas.size());
  FContagem->setText(texto);
}

std::string TDialogoEscolha::Valor(int aLinhaModelo) const {
  if (!FModelo->Posicionar(aLinhaModelo)) return {};
  return TextoValor(*FCampo);
}

void TDialogoEscolha::Selecionar(const std::vector<std::string>& aValores) {
  for (int i = 0; i < FModelo->rowCount(); ++i) {
    std::string v = Valor(i);
    bool esta = false;
    for (const auto& a : aValores) esta = esta || Trim(a) == v;
    if (!esta) continue;
    if (FVarios) {
      FMarcas->setData(FMarcas->index(i, 0), Qt::Checked, Qt::CheckStateRole);
      continue;
    }
    QModelIndex p = FProxy->mapFromSource(FModelo->index(i, 0));
    if (p.isValid()) {
      FGrade->selectRow(p.row());
      FGrade->scrollTo(p, QAbstractItemView::PositionAtCenter);
    }
    break;
  }
  if (FVarios) AtualizarContagem();
}

bool TDialogoEscolha::eventFilter(QObject* aObjeto, QEvent* aEvento) {
  if (aObjeto == FPesquisa && aEvento->type() == QEvent::KeyPress) {
    auto* tecla = static_cast<QKeyEvent*>(aEvento);
    switch (tecla->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        QCoreApplication::sendEvent(FGrade, aEvento);
        return true;
      default: break;
    }
  }
  return QDialog::eventFilter(aObjeto, aEvento);
}

std::vector<std::string> TDialogoEscolha::Escolhidos() const {
  std::vector<std::string> r;
  if (FVarios) {
    for (int p = 0; p < FProxy->rowCount(); ++p) {
      int i = FMarcas->mapToSource(FProxy->mapToSource(FProxy->index(p, 0))).row();
      if (FMarcas->Marcadas.contains(i)) r.push_back(Valor(i));
    }
    // Rows marked and then hidden by the search still count.
    for (int i : FMarcas->Marcadas)
      if (!FProxy->mapFromSource(FMarcas->index(i, 0)).isValid()) r.push_back(Valor(i));
    return r;
  }
  QModelIndex atual = FGrade->currentIndex();
  if (!atual.isValid()) {
    auto linhas = FGrade->selectionModel()->selectedRows();
    if (linhas.isEmpty()) return r;
    atual = linhas.first();
  }
  r.push_back(Valor(FProxy->mapToSource(atual).row()));
  return r;
}

}  // namespace nDesktop
