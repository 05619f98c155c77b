#include "TelaCadastro_U.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "DialogoEscolha_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "FormCadastro_U.h"
#include "GradeDados_U.h"
#include "ModeloDataSet_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "VisaoGrade_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// How the user knows a selection key: its dictionary caption ("Sistema TCE"), else its name.
std::string NomeChave(const std::string& aChave) {
  const TnEntradaDicionario* e = Dicionario().Encontrar(aChave);
  return e && !e->Caption.empty() ? e->Caption : aChave;
}

// "1 - TCE/SC - e-Sfinge": a selected value with its description from the key's lookup.
std::string DescricaoSelecao(const std::string& aChave, const TVariant& aValor) {
  std::string texto = VarToStr(aValor);
  const TnEntradaDicionario* e = Dicionario().Encontrar(aChave);
  if (!e || e->ClasseLookup.empty() || e->CampoExibido.empty() || !nClasseRegistrada(e->ClasseLookup)) return texto;
  auto lookup = nComoClasse<TnDMClientDataSet>(nCriarInstancia(e->ClasseLookup));
  if (!lookup) return texto;
  lookup->ConfigSobDemanda();
  TField* chave = lookup->nClientDataSet().FindField(e->CampoLookup);
  TField* exibido = lookup->nClientDataSet().FindField(e->CampoExibido);
  if (!chave || !exibido) return texto;
  lookup->FetchRegistros(chave->FieldName() + " = " + ValorParaSQL(aValor, chave->DataType()));
  if (lookup->nClientDataSet().IsEmpty() || exibido->IsNull()) return texto;
  return texto + " - " + Trim(exibido->AsString());
}

}  // namespace

TTelaCadastro::TTelaCadastro(const std::string& aClasse, QWidget* aPai) : QWidget(aPai) {
  setObjectName("TelaCadastro");
  FReg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aClasse));
  if (!FReg) throw Exception(aClasse + " não é um cadastro nem uma consulta.");
  FClasse = std::string(FReg->ClassName());
  FReg->ConfigSobDemanda();
  FCaption = Q(FReg->Caption().empty() ? FClasse : FReg->Caption());

  // The rows of the user's selection, as the command line lists them; the register is not
  // opened without the keys it asks for.
  std::string selecao;
  if (std::optional<std::string> faltam = LerSelecao(selecao))
    throw Exception("Para abrir \"" + FCaption.toStdString() + "\", selecione antes: " + *faltam +
                    " (Selecionar Sistema TCE).");
  FReg->FetchRegistros(FCondicao);
  const bool cadastro = FReg->PegarTipoObjeto() == 1;

  auto* principal = new QVBoxLayout(this);
  principal->setContentsMargins(12, 10, 12, 10);
  principal->setSpacing(8);

  auto* cabecalho = new QHBoxLayout();
  auto* titulo = new QLabel(FCaption, this);
  titulo->setObjectName("Titulo");
  QFont fonte = titulo->font();
  fonte.setPointSizeF(fonte.pointSizeF() * 1.35);
  fonte.setBold(true);
  titulo->setFont(fonte);
  cabecalho->addWidget(titulo);
  cabecalho->addStretch(1);
  if (!selecao.empty()) {
    FSelecao = new QLabel(Q(selecao), this);
    FSelecao->setObjectName("Selecao");
    FSelecao->setStyleSheet("color: #555;");
    cabecalho->addWidget(FSelecao);
  }
  principal->addLayout(cabecalho);

  auto* barra = new QHBoxLayout();
  barra->setSpacing(6);
  auto botao = [&](const QString& aTexto, const QString& aDica) {
    auto* b = new QPushButton(aTexto, this);
    b->setObjectName(aTexto);
    b->setToolTip(aDica);
    b->setMinimumWidth(96);
    barra->addWidget(b);
    return b;
  };
  if (cadastro) {
    FIncluir = botao("Incluir", "Incluir um registro (Insert)");
    FAlterar = botao("Alterar", "Alterar o registro selecionado (Enter)");
    FExcluir = botao("Excluir", "Excluir o registro selecionado (Delete)");
    connect(FIncluir, &QPushButton::clicked, this, &TTelaCadastro::Incluir);
    connect(FAlterar, &QPushButton::clicked, this, &TTelaCadastro::Alterar);
    connect(FExcluir, &QPushButton::clicked, this, &TTelaCadastro::Excluir);
  } else {
    FAlterar = botao("Visualizar", "Ver o registro selecionado (Enter)");
    connect(FAlterar, &QPushButton::clicked, this, &TTelaCadastro::Alterar);
  }
  QPushButton* atualizar = botao("Atualizar", "Ler os registros novamente");
  connect(atualizar, &QPushButton::clicked, this, &TTelaCadastro::Recarregar);
  barra->addStretch(1);
  auto* rotuloPesquisa = new QLabel("Pesquisar:", this);
  FPesquisa = new QLineEdit(this);
  FPesquisa->setObjectName("Pesquisa");
  FPesquisa->setPlaceholderText("Digite parte de qualquer coluna");
  FPesquisa->setClearButtonEnabled(true);
  FPesquisa->setMinimumWidth(280);
  rotuloPesquisa->setBuddy(FPesquisa);
  barra->addWidget(rotuloPesquisa);
  barra->addWidget(FPesquisa);
  principal->addLayout(barra);

  FModelo = new TModeloDataSet(FReg->nClientDataSet(), this);
  FProxy = new TProxyPesquisa(this);
  FProxy->setSourceModel(FModelo);
  FGrade = new QTableView(this);
  FGrade->setObjectName("Grade");
  FGrade->setModel(FProxy);
  ConfigurarGrade(FGrade);
  AjustarColunas(FGrade);
  principal->addWidget(FGrade, 1);

  FContagem = new QLabel(this);
  FContagem->setObjectName("Contagem");
  principal->addWidget(FContagem);

  connect(FPesquisa, &QLineEdit::textChanged, this, [this](const QString& t) {
    FProxy->SetPesquisa(t);
    AtualizarBotoes();
  });
  connect(FGrade->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { AtualizarBotoes(); });
  connect(FGrade, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
    if (i.isValid()) Alterar();
  });
  connect(FModelo, &QAbstractItemModel::modelReset, this, [this] { AtualizarBotoes(); });
  for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* atalhoAlterar = new QShortcut(QKeySequence(tecla), FGrade, nullptr, nullptr, Qt::WidgetShortcut);
    connect(atalhoAlterar, &QShortcut::activated, this, &TTelaCadastro::Alterar);
  }
  if (cadastro) {
    auto* atalhoIncluir = new QShortcut(QKeySequence(Qt::Key_Insert), this, nullptr, nullptr,
                                        Qt::WidgetWithChildrenShortcut);
    connect(atalhoIncluir, &QShortcut::activated, this, &TTelaCadastro::Incluir);
    auto* atalhoExcluir = new QShortcut(QKeySequence::Delete, FGrade, nullptr, nullptr, Qt::WidgetShortcut);
    connect(atalhoExcluir, &QShortcut::activated, this, &TTelaCadastro::Excluir);
  }
  if (FProxy->rowCount() > 0) FGrade->selectRow(0);
  AtualizarBotoes();
}

TTelaCadastro::~TTelaCadastro() = default;

void TTelaCadastro::AtualizarBotoes() {
  bool linha = !ChaveSelecionada().empty();
  if (FAlterar) FAlterar->setEnabled(linha);
  if (FExcluir) FExcluir->setEnabled(linha);
  int n = FProxy->rowCount(), total = FModelo->rowCount();
  FContagem->setText(n == total ? QString("%1 registro(s)").arg(total)
                                : QString("%1 de %2 registro(s)").arg(n).arg(total));
}

std::vector<TVariant> TTelaCadastro::ChaveSelecionada() const {
  QModelIndexList linhas = FGrade->selectionModel()->selectedRows();
  if (linhas.isEmpty()) return {};
  int linha = FProxy->mapToSource(linhas.first()).row();
  if (!FModelo->Posicionar(linha)) return {};
  std::vector<TVariant> r;
  for (const auto& k : FReg->CamposChave()) r.push_back(FReg->nClientDataSet().FieldByName(k).Value());
  return r;
}

bool TTelaCadastro::SelecionarChave(const std::vector<TVariant>& aChave) {
  std::vector<std::string> campos = FReg->CamposChave();
  if (aChave.empty() || aChave.size() != campos.size()) return false;
  std::string nomes;
  for (const auto& c : campos) nomes += (nomes.empty() ? "" : ";") + c;
  TClientDataSet& d = FReg->nClientDataSet();
  if (!d.Locate(nomes, aChave)) return false;
  int linha = FModelo->LinhaDoMarcador(d.GetBookmark());
  QModelIndex p = FProxy->mapFromSource(FModelo->index(linha, 0));
  if (!p.isValid()) return false;
  FGrade->selectRow(p.row());
  FGrade->scrollTo(p);
  return true;
}

std::optional<std::string> TTelaCadastro::LerSelecao(std::string& aTexto) {
  std::vector<TnChaveSelecao> chaves = ChavesSelecao(*FReg);
  std::string faltam, texto;
  for (const TnChaveSelecao& c : chaves) {
    if (!c.Valor) faltam += (faltam.empty() ? "" : ", ") + NomeChave(c.Chave);
    else if (c.Campo)
      texto += (texto.empty() ? "" : "    ") + NomeChave(c.Chave) + ": " + DescricaoSelecao(c.Chave, *c.Valor);
  }
  if (!faltam.empty()) return faltam;
  FCondicao = CondicaoSelecao(chaves);
  aTexto = texto;
  return std::nullopt;
}

void TTelaCadastro::Recarregar() {
  try {
    std::vector<TVariant> chave = ChaveSelecionada();
    // A selection changed since the screen opened is followed; one that lacks a key keeps the
    // rows of the last complete one.
    std::string selecao;
    if (!LerSelecao(selecao) && FSelecao) FSelecao->setText(Q(selecao));
    FReg->FetchRegistros(FCondicao);
    FModelo->Recarregar();
    if (!SelecionarChave(chave) && FProxy->rowCount() > 0) FGrade->selectRow(0);
    AtualizarBotoes();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A refusal or a database failure on the way: said, and the screen stays as it was.
    Avisar(Q(MensagemDeErro(e)));
  }
}

void TTelaCadastro::Incluir() {
  try {
    if (FReg->PegarTipoObjeto() == 1) AbrirFormulario(TModoForm::Inclusao);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A refusal or a database failure on the way: said, and the screen stays as it was.
    Avisar(Q(MensagemDeErro(e)));
  }
}

void TTelaCadastro::Alterar() {
  try {
    if (ChaveSelecionada().empty()) return;
    AbrirFormulario(FReg->PegarTipoObjeto() == 1 ? TModoForm::Alteracao : TModoForm::Consulta);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A refusal or a database failure on the way: said, and the screen stays as it was.
    Avisar(Q(MensagemDeErro(e)));
  }
}

void TTelaCadastro::AbrirFormulario(TModoForm aModo) {
  if (FFormulario) {
    FFormulario->raise();
    FFormulario->activateWindow();
    return;
  }
  std::vector<TVariant> chave;
  if (aModo != TModoForm::Inclusao) {
    chave = ChaveSelecionada();
    if (chave.empty()) return;
  }
  try {
    FFormulario = new TFormCadastro(this, FClasse, aModo, chave);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    Avisar(Q(e.what()));
    Recarregar();
    return;
  }
  FFormulario->setAttribute(Qt::WA_DeleteOnClose);
  connect(FFormulario, &QDialog::finished, this, [this](int aResultado) {
    std::vector<TVariant> gravada = FFormulario->ChaveGravada();
    FFormulario = nullptr;
    if (aResultado != QDialog::Accepted) return;
    Recarregar();
    SelecionarChave(gravada);
  });
  FFormulario->open();
}

QString TTelaCadastro::DescricaoChave(const std::vector<TVariant>& aChave) const {
  std::vector<std::string> campos = FReg->CamposChave();
  QString r;
  for (size_t i = 0; i < campos.size() && i < aChave.size(); ++i) {
    TField& f = FReg->nClientDataSet().FieldByName(campos[i]);
    r += (r.isEmpty() ? "" : "; ") + Q(TGradeDados::TituloColuna(f)) + " = " + Q(VarToStr(aChave[i]));
  }
  return r;
}

void TTelaCadastro::Excluir() {
  try {
    if (FReg->PegarTipoObjeto() != 1) return;
    std::vector<TVariant> chave = ChaveSelecionada();
    if (chave.empty()) return;
    auto* pergunta = new QMessageBox(QMessageBox::Question, FCaption,
                                     "Confirma a exclusão do registro selecionado?\n" + DescricaoChave(chave),
                                     QMessageBox::NoButton, this);
    pergunta->setObjectName("ConfirmarExclusao");
    QPushButton* sim = pergunta->addButton("Sim", QMessageBox::YesRole);
    sim->setObjectName("Sim");
    QPushButton* nao = pergunta->addButton("Não", QMessageBox::NoRole);
    nao->setObjectName("Não");
    pergunta->setDefaultButton(nao);
    pergunta->setEscapeButton(nao);
    pergunta->setAttribute(Qt::WA_DeleteOnClose);
    connect(pergunta, &QMessageBox::finished, this, [this, pergunta, sim, chave] {
      if (pergunta->clickedButton() == sim) ExcluirConfirmado(chave);
    });
    pergunta->open();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A refusal or a database failure on the way: said, and the screen stays as it was.
    Avisar(Q(MensagemDeErro(e)));
  }
}

void TTelaCadastro::ExcluirConfirmado(const std::vector<TVariant>& aChave) {
  try {
    // An instance of its own, as the command line deletes: the grid keeps its rows if refused.
    auto reg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(FClasse));
    reg->ConfigSobDemanda();
    reg->FetchRegistros(CondicaoChave(*reg, aChave));
    TClientDataSet& d = reg->nClientDataSet();
    if (d.IsEmpty()) {
      Avisar("Registro não encontrado: ele foi excluído por outro usuário.");
      Recarregar();
      return;
    }
    try {
      d.Delete();
    } catch (const EInternalError&) {
      throw;
    } catch (const Exception& e) {
      Avisar(Q(e.what()));
      return;
    }
    int falhas;
    try {
      falhas = reg->ApplyUpdates(0);
    } catch (const EInternalError&) {
      throw;
    } catch (const Exception& e) {
      Avisar(Q(e.what()));
      return;
    }
    if (falhas > 0) {
      QString erros;
      for (const auto& e : reg->ErrosApplyUpdates()) erros += (erros.isEmpty() ? "" : "\n") + Q(e);
      Avisar(erros);
      return;
    }
    Recarregar();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A refusal or a database failure on the way: said, and the screen stays as it was.
    Avisar(Q(MensagemDeErro(e)));
  }
}

void TTelaCadastro::Avisar(const QString& aTexto) {
  auto* aviso = new QMessageBox(QMessageBox::Warning, FCaption, aTexto, QMessageBox::NoButton, this);
  aviso->setObjectName("Aviso");
  aviso->addButton("OK", QMessageBox::AcceptRole)->setObjectName("OK");
  aviso->setAttribute(Qt::WA_DeleteOnClose);
  aviso->open();
}

QWidget* CriarTelaCadastro(const std::string& aClasse, QWidget* aPai) { return new TTelaCadastro(aClasse, aPai); }

std::optional<std::string> EscolherDoCadastro(QWidget* aPai, const std::string& aClasse, const std::string& aCampo,
                                              const std::string& aAtual, const std::string& aCondicao) {
  TDialogoEscolha dialogo(aPai, aClasse, aCampo, false, aCondicao);
  if (!Trim(aAtual).empty()) dialogo.Selecionar({aAtual});
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> escolhidos = dialogo.Escolhidos();
  if (escolhidos.empty()) return std::nullopt;
  return escolhidos.front();
}

std::optional<std::string> EscolherDoCadastro(QWidget* aPai, const std::string& aClasse, const std::string& aCampo,
                                              const std::string& aAtual) {
  return EscolherDoCadastro(aPai, aClasse, aCampo, aAtual, std::string());
}

std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget* aPai, const std::string& aClasse,
                                                                 const std::string& aCampo,
                                                                 const std::vector<std::string>& aAtuais) {
  return EscolherVariosDoCadastro(aPai, aClasse, aCampo, aAtuais, std::string());
}

std::optional<std::vector<std::string>> EscolherVariosDoCadastro(QWidget* aPai, const std::string& aClasse,
                                                                 const std::string& aCampo,
                                                                 const std::vector<std::string>& aAtuais,
                                                                 const std::string& aCondicao) {
  TDialogoEscolha dialogo(aPai, aClasse, aCampo, true, aCondicao);
  dialogo.Selecionar(aAtuais);
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  return dialogo.Escolhidos();
}

std::vector<std::filesystem::path> CapturarTelasCadastro(const std::filesystem::path& aPasta, const std::string& aClasse,
                                                         const std::string& aCampoEscolha) {
  std::filesystem::create_directories(aPasta);
  std::vector<std::filesystem::path> arquivos;
  auto salvar = [&](QWidget& aTela, const char* aNome) {
    QApplication::processEvents();
    std::filesystem::path p = aPasta / aNome;
    if (!aTela.grab().save(QString::fromStdString(p.string()), "PNG"))
      throw EFileError("Não foi possível gravar a imagem " + p.string());
    arquivos.push_back(p);
  };

  // The keys the user has not selected take the first row's values, for the capture only.
  const TnSelecaoParams selecaoAntes = TnSelecao::GetParams();
  struct TRestaurar {
    const TnSelecaoParams& Antes;
    ~TRestaurar() { TnSelecao::Params() = Antes; }
  } restaurar{selecaoAntes};
  {
    auto reg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aClasse));
    if (!reg) throw Exception(aClasse + " não é um cadastro.");
    reg->ConfigSobDemanda();
    reg->Abrir();
    for (const TnChaveSelecao& c : ChavesSelecao(*reg))
      if (!c.Valor && c.Campo && !reg->nClientDataSet().IsEmpty()) TnSelecao::Params().Definir(c.Chave, c.Campo->Value());
  }

  TTelaCadastro tela(aClasse);
  tela.resize(1180, 640);
  tela.show();
  salvar(tela, "cadastro.png");

  std::vector<TVariant> chave = tela.ChaveSelecionada();
  if (chave.empty()) return arquivos;
  TFormCadastro formulario(&tela, aClasse, TModoForm::Alteracao, chave);
  formulario.show();
  salvar(formulario, "cadastro-formulario.png");

  if (std::unique_ptr<TDialogoEscolha> escolha = formulario.CriarEscolha(aCampoEscolha)) {
    escolha->show();
    salvar(*escolha, "cadastro-escolha.png");
  }
  formulario.reject();

  // A new row saved empty: the register's refusal as the form shows it.
  TFormCadastro inclusao(&tela, aClasse, TModoForm::Inclusao);
  inclusao.show();
  inclusao.Gravar();
  salvar(inclusao, "cadastro-recusa.png");
  inclusao.reject();
  return arquivos;
}

}  // namespace nDesktop
