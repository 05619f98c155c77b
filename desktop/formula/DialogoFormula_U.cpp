#include "DialogoFormula_U.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "Classes_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "ModeloDataSet_U.h"
#include "ModeloSaldos_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const char* const kInvalida = "Regra definida é inválida.";

// Line breaks and tabs read as blanks: the grid keeps a rule on one line.
std::string Limpar(const QString& aTexto) {
  QString t = aTexto;
  for (QChar& c : t)
    if (c == QChar('\n') || c == QChar('\r') || c == QChar('\t') || c == QChar::ParagraphSeparator ||
        c == QChar::LineSeparator)
      c = QChar(' ');
  return t.trimmed().toStdString();
}

QString Ajuda(const TnDMRegraBaseCalculo& aRegra) {
  QStringList nomes;
  for (const auto& f : aRegra.FuncoesCTB()) nomes << QStringLiteral("<code>%1</code>").arg(Q(f.Nome));
  QString lista = nomes.size() > 1 ? QStringList(nomes.mid(0, nomes.size() - 1)).join(QStringLiteral(", ")) +
                                         QStringLiteral(" e ") + nomes.last()
                                   : nomes.join(QString());
  return QStringLiteral(
             "<p><b>Como escrever a regra</b></p>"
             "<p>Números (decimais com ponto: <code>0.5</code>), soma (<code>+</code>), subtração (<code>-</code>), "
             "multiplicação (<code>*</code>), divisão (<code>/</code>), parênteses e as funções %1, cada uma com o código reduzido de uma conta (a coluna Conta, não a "
             "classificação).</p>"
             "<p>Exemplo: <code>SALDOATUAL(10) - DEBITO(12)</code><br>o saldo final da conta 10 menos os débitos "
             "da conta 12.</p>"
             "<p>Uma conta sem saldo no período vale zero; uma conta sintética soma as suas contas. O SAGRES "
             "calcula a regra mês a mês e informa o valor absoluto do resultado.</p>")
      .arg(lista);
}

}  // namespace

TDialogoFormula::TDialogoFormula(const std::string& aFormula, const TnDMRegraBaseCalculo& aRegra, QWidget* aPai)
    : QDialog(aPai), FRegra(aRegra), FOriginal(aFormula) {
  setObjectName(QStringLiteral("TDialogoFormula"));
  setWindowTitle(QStringLiteral("Regra de Cálculo"));
  setSizeGripEnabled(true);
  resize(1280, 720);

  auto* principal = new QVBoxLayout(this);
  auto* rotulo = new QLabel(QStringLiteral("&Fórmula:"), this);
  principal->addWidget(rotulo);
  FEditor = new QPlainTextEdit(this);
  FEditor->setObjectName(QStringLiteral("edtFormula"));
  FEditor->setPlainText(Q(aFormula));
  FEditor->setTabChangesFocus(true);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  FEditor->setFont(mono);
  FEditor->setFixedHeight(FEditor->fontMetrics().lineSpacing() * 3 + 14);
  FEditor->moveCursor(QTextCursor::End);
  rotulo->setBuddy(FEditor);
  principal->addWidget(FEditor);

  FResultado = new QLabel(this);
  FResultado->setObjectName(QStringLiteral("lblResultado"));
  FResultado->setWordWrap(true);
  FResultado->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FResultado->setMinimumHeight(FResultado->fontMetrics().lineSpacing() * 2 + 4);
  principal->addWidget(FResultado);
  // An edited text has not been checked any more.
  connect(FEditor, &QPlainTextEdit::textChanged, FResultado, &QLabel::clear);

  auto* divisor = new QSplitter(Qt::Horizontal, this);
  divisor->setChildrenCollapsible(false);
  divisor->addWidget(CriarContas());
  divisor->addWidget(CriarFuncoes());
  divisor->setStretchFactor(0, 1);
  divisor->setStretchFactor(1, 0);
  divisor->setSizes({820, 440});
  principal->addWidget(divisor, 1);

  auto* botoes = new QHBoxLayout;
  auto botao = [&](const QString& aTexto, const char* aNome, const QString& aDica) {
    auto* b = new QPushButton(aTexto, this);
    b->setObjectName(QString::fromLatin1(aNome));
    b->setAutoDefault(false);
    if (!aDica.isEmpty()) b->setToolTip(aDica);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("Verificar")) + 36);
    return b;
  };
  auto* inserir = botao(QStringLiteral("&Inserir"), "btnInserir",
                        QStringLiteral("Insere no cursor da fórmula a conta ou a função escolhida"));
  auto* verificar = botao(QStringLiteral("&Verificar"), "btnVerificar",
                          QStringLiteral("Confere a fórmula e mostra o seu valor sobre os saldos"));
  auto* ok = botao(QStringLiteral("OK"), "btnOK", {});
  auto* cancelar = botao(QStringLiteral("Cancelar"), "btnCancelar", {});
  ok->setDefault(true);
  botoes->addWidget(inserir);
  botoes->addWidget(verificar);
  botoes->addStretch(1);
  botoes->addWidget(ok);
  botoes->addWidget(cancelar);
  connect(inserir, &QPushButton::clicked, this, &TDialogoFormula::Inserir);
  connect(verificar, &QPushButton::clicked, this, [this] { Verificar(); });
  connect(ok, &QPushButton::clicked, this, &TDialogoFormula::accept);
  connect(cancelar, &QPushButton::clicked, this, &TDialogoFormula::reject);
  principal->addLayout(botoes);
  FEditor->setFocus();
}

QWidget* TDialogoFormula::CriarContas() {
  auto* grupo = new QGroupBox(QStringLiteral("Contas contábeis e saldos"), this);
  auto* layout = new QVBoxLayout(grupo);
  auto* periodo = new QLabel(Q(FRegra.DescricaoPlano()), grupo);
  periodo->setObjectName(QStringLiteral("lblSaldos"));
  periodo->setWordWrap(true);
  layout->addWidget(periodo);

  FPesquisa = new QLineEdit(grupo);
  FPesquisa->setObjectName(QStringLiteral("edtPesquisa"));
  FPesquisa->setPlaceholderText(QStringLiteral("Pesquisar por conta, classificação ou descrição"));
  FPesquisa->setClearButtonEnabled(true);
  layout->addWidget(FPesquisa);

  FModelo = new TModeloSaldos(FRegra.SaldosCTB(), this);
  FProxy = new TProxyPesquisa(this);
  FProxy->setSourceModel(FModelo);
  connect(FPesquisa, &QLineEdit::textChanged, FProxy, &TProxyPesquisa::SetPesquisa);

  FContas = new QTableView(grupo);
  FContas->setObjectName(QStringLiteral("gradeContas"));
  FContas->setModel(FProxy);
  FContas->setSelectionBehavior(QAbstractItemView::SelectRows);
  FContas->setSelectionMode(QAbstractItemView::SingleSelection);
  FContas->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FContas->setAlternatingRowColors(true);
  // The chart's own order until a header is clicked.
  FContas->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  FContas->setSortingEnabled(true);
  FContas->setWordWrap(false);
  FContas->verticalHeader()->hide();
  FContas->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FContas->verticalHeader()->setDefaultSectionSize(FContas->fontMetrics().height() + 6);
  QHeaderView* h = FContas->horizontalHeader();
  h->setHighlightSections(false);
  h->setSectionResizeMode(QHeaderView::Interactive);
  h->setSectionResizeMode(TModeloSaldos::colDescricao, QHeaderView::Stretch);
  // Synthetic accounts are bold: the widths are measured in bold.
  QFont negrito = FContas->font();
  negrito.setBold(true);
  const QFontMetrics medida(negrito);
  const int numero = medida.horizontalAdvance(QStringLiteral("-00.000.000,00")) + 14;
  FContas->setColumnWidth(TModeloSaldos::colConta, medida.horizontalAdvance(QStringLiteral("Conta 00")) + 8);
  FContas->setColumnWidth(TModeloSaldos::colClassificacao, medida.horizontalAdvance(QStringLiteral("0.0.0.00.000")) + 14);
  for (int c = TModeloSaldos::colSaldoAnterior; c < TModeloSaldos::colQuantidade; ++c) FContas->setColumnWidth(c, numero);
  // Debits, credits and the opening balance are one click away in the header's menu; the grid
  // shows what rules mostly read.
  FContas->setColumnHidden(TModeloSaldos::colSaldoAnterior, true);
  FContas->setColumnHidden(TModeloSaldos::colMovimento, true);
  h->setContextMenuPolicy(Qt::ActionsContextMenu);
  for (int c = TModeloSaldos::colConta + 1; c < TModeloSaldos::colQuantidade; ++c) {
    auto* a = new QAction(FModelo->headerData(c, Qt::Horizontal).toString(), h);
    a->setCheckable(true);
    a->setChecked(!FContas->isColumnHidden(c));
    connect(a, &QAction::toggled, FContas, [this, c](bool aVer) { FContas->setColumnHidden(c, !aVer); });
    h->addAction(a);
  }
  FContas->setMinimumWidth(560);
  connect(FContas, &QTableView::doubleClicked, this, [this] { InserirContaAtual(); });
  connect(FContas, &QTableView::clicked, this, [this] { FUltimaLista = FContas; });
  connect(FContas->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { FUltimaLista = FContas; });
  layout->addWidget(FContas, 1);
  if (FModelo->rowCount() == 0 && FRegra.DescricaoPlano().empty()) periodo->setText(QStringLiteral("Sem saldos."));
  return grupo;
}

QWidget* TDialogoFormula::CriarFuncoes() {
  auto* grupo = new QGroupBox(QStringLiteral("Funções"), this);
  auto* layout = new QVBoxLayout(grupo);
  FFuncoes = new QTreeWidget(grupo);
  FFuncoes->setObjectName(QStringLiteral("listaFuncoes"));
  FFuncoes->setColumnCount(2);
  FFuncoes->setHeaderLabels({QStringLiteral("Função"), QStringLiteral("Descrição")});
  FFuncoes->setRootIsDecorated(false);
  FFuncoes->setAlternatingRowColors(true);
  FFuncoes->setUniformRowHeights(true);
  for (const auto& f : FRegra.FuncoesCTB()) {
    auto* item = new QTreeWidgetItem(FFuncoes, {Q(f.Nome + "(" + f.Argumento + ")"), Q(f.Descricao)});
    item->setData(0, Qt::UserRole, Q(f.Nome));
    item->setToolTip(1, Q(f.Descricao));
  }
  FFuncoes->header()->setStretchLastSection(true);
  FFuncoes->resizeColumnToContents(0);
  FFuncoes->setColumnWidth(0, FFuncoes->columnWidth(0) + 12);
  // Every function in sight, no scrolling.
  const int linhas = static_cast<int>(FRegra.FuncoesCTB().size());
  const int linha = linhas > 0 ? FFuncoes->sizeHintForRow(0) : FFuncoes->fontMetrics().height();
  FFuncoes->setFixedHeight(FFuncoes->header()->sizeHint().height() + linha * std::max(linhas, 1) +
                           2 * FFuncoes->frameWidth() + 4);
  connect(FFuncoes, &QTreeWidget::itemDoubleClicked, this, [this] { InserirFuncaoAtual(); });
  connect(FFuncoes, &QTreeWidget::itemClicked, this, [this] { FUltimaLista = FFuncoes; });
  connect(FFuncoes, &QTreeWidget::currentItemChanged, this, [this] { FUltimaLista = FFuncoes; });
  layout->addWidget(FFuncoes);

  auto* ajuda = new QLabel(Ajuda(FRegra), grupo);
  ajuda->setObjectName(QStringLiteral("lblAjuda"));
  ajuda->setWordWrap(true);
  ajuda->setTextFormat(Qt::RichText);
  ajuda->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  ajuda->setFrameShape(QFrame::StyledPanel);
  ajuda->setMargin(6);
  ajuda->setAutoFillBackground(true);
  QPalette p = ajuda->palette();
  p.setColor(QPalette::Window, QColor(0xfb, 0xf8, 0xe6));
  ajuda->setPalette(p);
  layout->addWidget(ajuda, 1);
  return grupo;
}

std::string TDialogoFormula::Formula() const {
  std::string texto = Limpar(FEditor->toPlainText());
  return texto == Trim(FOriginal) ? FOriginal : texto;
}

void TDialogoFormula::InserirContaAtual() {
  QModelIndex atual = FContas->currentIndex();
  if (!atual.isValid()) return;
  QString conta = FModelo->Conta(FProxy->mapToSource(atual).row());
  QTextCursor c = FEditor->textCursor();
  c.insertText(conta);
  FEditor->setTextCursor(c);
  FEditor->setFocus();
}

void TDialogoFormula::InserirFuncaoAtual() {
  QTreeWidgetItem* item = FFuncoes->currentItem();
  if (!item) return;
  QString nome = item->data(0, Qt::UserRole).toString();
  QTextCursor c = FEditor->textCursor();
  QString dentro = c.selectedText();
  c.insertText(nome + '(' + dentro);
  // The cursor waits for the account between the parentheses.
  int pos = c.position();
  c.insertText(QStringLiteral(")"));
  c.setPosition(dentro.isEmpty() ? pos : pos + 1);
  FEditor->setTextCursor(c);
  FEditor->setFocus();
}

void TDialogoFormula::Inserir() {
  if (FUltimaLista == FFuncoes)
    InserirFuncaoAtual();
  else
    InserirContaAtual();
}

void TDialogoFormula::MostrarResultado(bool aValida, const QString& aTitulo, const QString& aDetalhe) {
  const QString cor = aValida ? QStringLiteral("#1b6e20") : QStringLiteral("#b01c1c");
  FResultado->setText(QStringLiteral("<span style=\"color:%1\"><b>%2</b></span> %3")
                          .arg(cor, aTitulo.toHtmlEscaped(), aDetalhe.toHtmlEscaped()));
  FResultado->setProperty("valida", aValida);
}

bool TDialogoFormula::Verificar() {
  std::string texto = Limpar(FEditor->toPlainText());
  if (texto.empty()) {
    MostrarResultado(true, QStringLiteral("Sem regra."), QStringLiteral("O item fica sem valor no SAGRES."));
    return true;
  }
  std::string motivo = FRegra.MotivoFormulaInvalida(texto);
  if (!motivo.empty()) {
    MostrarResultado(false, QString::fromUtf8(kInvalida), Q(motivo));
    return false;
  }
  if (!FRegra.TemPlano()) {
    MostrarResultado(true, QStringLiteral("Regra válida."),
                     FRegra.DescricaoPlano().empty() ? QString() : Q(FRegra.DescricaoPlano()));
    return true;
  }
  QString detalhe;
  try {
    detalhe = QStringLiteral("Valor: %1")
                  .arg(Q(FormatFloat("#,##0.00", FRegra.ExecutarFormulaCTB(texto), FormatSettingsTela)));
  } catch (const EFormulaSemValor&) {
    detalhe = QStringLiteral("Sem valor sobre estes saldos (divisão por zero)");
  }
  MostrarResultado(true, QStringLiteral("Regra válida."), detalhe + QStringLiteral(" (") + Q(FRegra.DescricaoPlano()) +
                                                             QStringLiteral(")."));
  return true;
}

void TDialogoFormula::accept() {
  if (!Verificar()) {
    QMessageBox caixa(QMessageBox::Warning, windowTitle(), QString::fromUtf8(kInvalida), QMessageBox::Ok, this);
    caixa.setObjectName(QStringLiteral("msgRegraInvalida"));
    caixa.setInformativeText(Q(FRegra.MotivoFormulaInvalida(Limpar(FEditor->toPlainText()))));
    caixa.exec();
    FEditor->setFocus();
    return;
  }
  QDialog::accept();
}

std::string EditarFormula(const std::string& aFormula, const TnDMRegraBaseCalculo& aRegra, QWidget* aPai) {
  TDialogoFormula dialogo(aFormula, aRegra, aPai);
  if (dialogo.exec() != QDialog::Accepted) return aFormula;
  return dialogo.Formula();
}

void InstalarEditorFormula() {
  TnDMRegraBaseCalculo::SetEditorFormula([](const std::string& aFormula, const TnDMRegraBaseCalculo& aRegra) {
    // A window opens only on the user-interface thread; the rule cell's button runs there.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
      throw EInternalError("editor de fórmulas chamado fora da thread da interface");
    return EditarFormula(aFormula, aRegra, QApplication::activeWindow());
  });
}

}  // namespace nDesktop
