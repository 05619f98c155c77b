#include "FormCadastro_U.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "ClassRegistry_U.h"
#include "ControleCampo_U.h"
#include "DialogoEscolha_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::vector<std::string> Separar(std::string_view aTexto) {
  TStringList l;
  l.SetDelimitedText(aTexto, ';');
  std::vector<std::string> r;
  for (const auto& s : l)
    if (!Trim(s).empty()) r.push_back(Trim(s));
  return r;
}

bool Contem(const std::vector<std::string>& aNomes, std::string_view aNome) {
  for (const auto& n : aNomes)
    if (SameText(n, aNome)) return true;
  return false;
}

}  // namespace

std::string CondicaoChave(TnDMClientDataSet& aReg, const std::vector<TVariant>& aChave) {
  std::vector<std::string> campos = aReg.CamposChave();
  if (campos.empty() || campos.size() != aChave.size())
    throw EInternalError(std::string(aReg.ClassName()) + ": chave com " + std::to_string(aChave.size()) +
                         " valores para os campos " + aReg.ChavePrimaria());
  std::string r;
  for (size_t i = 0; i < campos.size(); ++i) {
    TField& f = aReg.nClientDataSet().FieldByName(campos[i]);
    r += (r.empty() ? "" : " and ") + f.FieldName() +
         (aChave[i].IsNull() ? std::string(" is null") : " = " + ValorParaSQL(aChave[i], f.DataType()));
  }
  return r;
}

TFormCadastro::TFormCadastro(QWidget* aPai, const std::string& aClasse, TModoForm aModo,
                             const std::vector<TVariant>& aChave)
    : QDialog(aPai), FModo(aModo) {
  setObjectName("FormCadastro");
  FReg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aClasse));
  if (!FReg) throw Exception(aClasse + " não é um cadastro.");
  FReg->ConfigSobDemanda();
  TClientDataSet& d = FReg->nClientDataSet();
  if (FModo == TModoForm::Inclusao) {
    FReg->FetchRegistros("1 = 0");
    d.Append();
    // A new row belongs to the selection it is made under, as on the command line.
    for (const TnChaveSelecao& c : ChavesSelecao(*FReg))
      if (c.Campo && c.Valor) c.Campo->SetValue(*c.Valor);
    // The values the register's expressions give a new row show before the user types.
    if (d.FieldCount() > 0) {
      try {
        FReg->ChecarConfigurarCampo(d.Fields(0));
      } catch (const EInternalError&) {
        throw;
      } catch (const Exception&) {
        // A rule that cannot be worked out yet (a field still empty) is worked out on save.
      }
    }
  } else {
    FReg->FetchRegistros(CondicaoChave(*FReg, aChave));
    if (d.IsEmpty()) throw Exception("Registro não encontrado: ele foi excluído por outro usuário.");
    if (FModo == TModoForm::Alteracao) d.Edit();
  }

  const QString caption = Q(FReg->Caption().empty() ? std::string(FReg->ClassName()) : FReg->Caption());
  setWindowTitle(caption + (FModo == TModoForm::Inclusao    ? " - Inclusão"
                            : FModo == TModoForm::Alteracao ? " - Alteração"
                                                            : " - Consulta"));
  auto* principal = new QVBoxLayout(this);
  principal->setContentsMargins(14, 14, 14, 12);
  principal->setSpacing(10);

  CriarControles();

  FQuadroMensagem = new QFrame(this);
  FQuadroMensagem->setObjectName("QuadroMensagem");
  FQuadroMensagem->setStyleSheet(
      "#QuadroMensagem { background: #fdecea; border: 1px solid #e6b3ad; border-radius: 4px; }");
  auto* linhaMensagem = new QHBoxLayout(FQuadroMensagem);
  linhaMensagem->setContentsMargins(8, 6, 8, 6);
  auto* icone = new QLabel(FQuadroMensagem);
  icone->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(20, 20));
  icone->setAlignment(Qt::AlignTop);
  FMensagem = new QLabel(FQuadroMensagem);
  FMensagem->setObjectName("Mensagem");
  FMensagem->setWordWrap(true);
  FMensagem->setTextInteractionFlags(Qt::TextSelectableByMouse);
  FMensagem->setStyleSheet("color: #8a1c12;");
  linhaMensagem->addWidget(icone);
  linhaMensagem->addWidget(FMensagem, 1);
  FQuadroMensagem->hide();
  principal->addWidget(FQuadroMensagem);

  auto* botoes = new QDialogButtonBox(this);
  if (FModo == TModoForm::Consulta) {
    QPushButton* fechar = botoes->addButton("Fechar", QDialogButtonBox::RejectRole);
    fechar->setObjectName("Fechar");
  } else {
    FGravar = botoes->addButton("Gravar", QDialogButtonBox::AcceptRole);
    FGravar->setObjectName("Gravar");
    FGravar->setDefault(true);
    QPushButton* cancelar = botoes->addButton("Cancelar", QDialogButtonBox::RejectRole);
    cancelar->setObjectName("Cancelar");
    connect(FGravar, &QPushButton::clicked, this, &TFormCadastro::Gravar);
  }
  connect(botoes, &QDialogButtonBox::rejected, this, &TFormCadastro::reject);
  principal->addWidget(botoes);

  Atualizar(nullptr);
  // Wide enough for a company's or an account's description on one line.
  setMinimumWidth(760);
  adjustSize();
  for (auto& c : FControles)
    if (c->Foco() && c->Foco()->isEnabled()) {
      c->Foco()->setFocus();
      break;
    }
}

TFormCadastro::~TFormCadastro() = default;

void TFormCadastro::CriarControles() {
  auto* principal = static_cast<QVBoxLayout*>(layout());
  auto* formulario = new QFormLayout();
  formulario->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  formulario->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  formulario->setHorizontalSpacing(12);
  formulario->setVerticalSpacing(7);
  principal->addLayout(formulario);

  const std::vector<std::string> chave = FReg->CamposChave();
  std::vector<std::string> selecao;
  for (const TnChaveSelecao& c : ChavesSelecao(*FReg))
    if (c.Campo && c.Valor) selecao.push_back(c.Campo->FieldName());
  TClientDataSet& d = FReg->nClientDataSet();

  for (const TnCampoDef& def : FReg->Campos()) {
    TField* campo = d.FindField(def.Nome);
    if (!campo || campo->IsLookup() || !def.Visivel) continue;
    if (!def.Grupo.empty()) {
      // A group caption opens a box that holds this field and the ones after it.
      auto* grupo = new QGroupBox(Q(def.Grupo), this);
      formulario = new QFormLayout(grupo);
      formulario->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      formulario->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      formulario->setHorizontalSpacing(12);
      formulario->setVerticalSpacing(7);
      principal->addWidget(grupo);
    }
    auto c = std::make_unique<TControleCampo>();
    c->Def = &def;
    c->Campo = campo;
    c->Chave = Contem(chave, def.Nome);
    c->Bloqueado = Contem(selecao, def.Nome) || (c->Chave && FModo != TModoForm::Inclusao && !FReg->PodeAlterarChave());
    const TnEntradaDicionario* entrada = def.Dicionario.empty() ? nullptr : Dicionario().Encontrar(def.Dicionario);

    std::string lookup = !def.LinkConsulta.empty() ? def.LinkConsulta : entrada ? entrada->ClasseLookup : "";
    if (!lookup.empty() && nClasseRegistrada(lookup)) {
      c->ClasseLookup = nNomeRegistrado(lookup);
      c->ChavesLookup = def.LinkChaves.empty() ? std::vector<std::string>{def.Nome} : Separar(def.LinkChaves);
      // The link's result fields that the lookup has, else the dictionary's description.
      if (TnDMPtr<TnDMClientDataSet> l = nComoClasse<TnDMClientDataSet>(nCriarInstancia(c->ClasseLookup))) {
        l->ConfigSobDemanda();
        for (const auto& r : Separar(def.LinkResultado))
          if (l->nClientDataSet().FindField(r)) c->Exibidos.push_back(r);
        c->Lookup = std::move(l);
      }
      if (c->Exibidos.empty() && entrada && !entrada->CampoExibido.empty()) c->Exibidos.push_back(entrada->CampoExibido);
    }

    QWidget* editor = c->CriarEditor(this, entrada);
    if (def.AutoIncrementar && FModo == TModoForm::Inclusao && c->Linha) c->Linha->setPlaceholderText("automático");
    c->Rotulo = new QLabel(this);
    c->Rotulo->setObjectName(Q(def.Nome) + "_Rotulo");
    c->Rotulo->setBuddy(c->Foco());
    if (!def.Hint.empty()) c->Rotulo->setToolTip(Q(def.Hint));
    formulario->addRow(c->Rotulo, editor);

    TControleCampo* p = c.get();
    if (c->Linha) connect(c->Linha, &QLineEdit::textEdited, this, [this, p] { AoAlterar(*p); });
    if (c->Combo) connect(c->Combo, &QComboBox::currentIndexChanged, this, [this, p] { AoAlterar(*p); });
    if (c->Data) connect(c->Data, &QDateEdit::dateChanged, this, [this, p] { AoAlterar(*p); });
    if (c->Caixa) connect(c->Caixa, &QCheckBox::toggled, this, [this, p] { AoAlterar(*p); });
    if (c->Botao) connect(c->Botao, &QToolButton::clicked, this, [this, p] { Escolher(*p); });
    FControles.push_back(std::move(c));
  }
}

void TFormCadastro::AoAlterar(TControleCampo& c) {
  try {
    if (FAtualizando || FModo == TModoForm::Consulta) return;
    c.Erro = c.Ler();
    if (QWidget* foco = c.Foco()) foco->setStyleSheet(c.Erro.empty() ? QString() : "border: 1px solid #c0392b;");
    if (QWidget* foco = c.Foco()) foco->setToolTip(c.Erro.empty() ? Q(c.Def->Hint) : Q(c.Erro));
    if (c.Erro.empty()) {
      try {
        // The register's rules that hang on this field (expressions, cleared and forced values).
        FReg->ChecarConfigurarCampo(*c.Campo);
      } catch (const EInternalError&) {
        throw;
      } catch (const Exception& e) {
        MostrarMensagem(Q(e.what()));
      }
    }
    Atualizar(&c);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A rule or a lookup that failed on the way: said in the form, nothing saved.
    MostrarMensagem(Q(MensagemDeErro(e)));
  }
}

void TFormCadastro::Atualizar(const TControleCampo* aExceto) {
  FAtualizando = true;
  struct TFim {
    bool& Atualizando;
    ~TFim() { Atualizando = false; }
  } fim{FAtualizando};
  for (auto& p : FControles) {
    TControleCampo& c = *p;
    if (&c != aExceto) {
      QSignalBlocker bloqueio(c.Foco());
      c.Mostrar();
    }
    const std::string nome = c.Def->Nome;
    bool habilitado = FModo != TModoForm::Consulta && !c.Bloqueado && FReg->CampoHabilitado(nome);
    // A code the register proposes on save may be left empty.
    const bool automatico = c.Def->AutoIncrementar && FModo == TModoForm::Inclusao;
    bool obrigatorio = (c.Chave || FReg->CampoObrigatorio(nome)) && !automatico;
    if (c.Foco()) c.Foco()->setEnabled(habilitado);
    if (c.Botao) c.Botao->setEnabled(habilitado);
    QString rotulo = Q(c.Campo->DisplayLabel).toHtmlEscaped() + ":";
    if (obrigatorio && FModo != TModoForm::Consulta) rotulo += " <span style=\"color:#c0392b\">*</span>";
    c.Rotulo->setText(rotulo);
    c.Rotulo->setProperty("obrigatorio", obrigatorio);
    c.Rotulo->setEnabled(habilitado || FModo == TModoForm::Consulta);
    if (c.Tipo == TControleCampo::Vinculo) AtualizarDescricao(c);
  }
}

void TFormCadastro::AtualizarDescricao(TControleCampo& c) {
  TClientDataSet& d = FReg->nClientDataSet();
  if (c.Campo->IsNull()) {
    c.Descricao->clear();
    return;
  }
  if (!c.Lookup) {
    c.Lookup = nComoClasse<TnDMClientDataSet>(nCriarInstancia(c.ClasseLookup));
    if (!c.Lookup) return;
    c.Lookup->ConfigSobDemanda();
  }
  TClientDataSet& l = c.Lookup->nClientDataSet();
  // Keys the lookup does not have are left out of its condition.
  std::string filtro;
  for (const auto& k : c.ChavesLookup) {
    TField* f = d.FindField(k);
    if (!f || f->IsNull() || !l.FindField(k)) continue;
    filtro += (filtro.empty() ? "" : " and ") + std::string(l.FindField(k)->FieldName()) + " = " +
              ValorParaSQL(f->Value(), f->DataType());
  }
  c.Lookup->FetchRegistros(filtro.empty() ? "1 = 0" : filtro);
  if (l.IsEmpty()) {
    c.Descricao->setText("<span style=\"color:#8a1c12\">Não cadastrado</span>");
    return;
  }
  std::vector<std::string> partes;
  for (const auto& e : c.Exibidos)
    if (TField* f = l.FindField(e); f && !f->IsNull()) partes.push_back(Trim(f->AsString()));
  if (partes.empty()) {
    // No declared description: the lookup's first text that is not a key.
    std::vector<std::string> chaves = c.Lookup->CamposChave();
    for (int i = 0; i < l.FieldCount() && partes.empty(); ++i)
      if (IsTextType(l.Fields(i).DataType()) && !Contem(chaves, l.Fields(i).FieldName()) && !l.Fields(i).IsNull())
        partes.push_back(Trim(l.Fields(i).AsString()));
  }
  std::string texto;
  for (const auto& p : partes) texto += (texto.empty() ? "" : " - ") + p;
  c.Descricao->setText(Q(texto).toHtmlEscaped());
}

std::unique_ptr<TDialogoEscolha> TFormCadastro::CriarEscolha(TControleCampo& c, std::string& aCampo) {
  TClientDataSet& d = FReg->nClientDataSet();
  auto lookup = nComoClasse<TnDMClientDataSet>(nCriarInstancia(c.ClasseLookup));
  if (!lookup) return nullptr;
  lookup->ConfigSobDemanda();
  // The other keys of a composite link narrow the choice (the accounts of the row's company).
  std::string filtro;
  for (const auto& k : c.ChavesLookup) {
    if (SameText(k, c.Def->Nome)) continue;
    TField* f = d.FindField(k);
    TField* g = lookup->nClientDataSet().FindField(k);
    if (!f || f->IsNull() || !g) continue;
    filtro += (filtro.empty() ? "" : " and ") + g->FieldName() + " = " + ValorParaSQL(f->Value(), f->DataType());
  }
  aCampo = c.Def->Nome;
  if (!lookup->nClientDataSet().FindField(aCampo)) {
    const TnEntradaDicionario* e = c.Def->Dicionario.empty() ? nullptr : Dicionario().Encontrar(c.Def->Dicionario);
    aCampo = e ? e->CampoLookup : std::string();
  }
  lookup.reset();
  auto dialogo = std::make_unique<TDialogoEscolha>(this, c.ClasseLookup, aCampo, false, filtro);
  if (!c.Campo->IsNull()) dialogo->Selecionar({c.Campo->AsString()});
  return dialogo;
}

std::unique_ptr<TDialogoEscolha> TFormCadastro::CriarEscolha(const std::string& aCampo) {
  for (auto& c : FControles)
    if (SameText(c->Def->Nome, aCampo) && c->Tipo == TControleCampo::Vinculo) {
      std::string campo;
      return CriarEscolha(*c, campo);
    }
  return nullptr;
}

void TFormCadastro::Escolher(TControleCampo& c) {
  try {
    std::string campo;
    std::unique_ptr<TDialogoEscolha> dialogo = CriarEscolha(c, campo);
    if (!dialogo || dialogo->exec() != QDialog::Accepted) return;
    std::vector<std::string> escolhidos = dialogo->Escolhidos();
    if (escolhidos.empty()) return;
    {
      QSignalBlocker bloqueio(c.Linha);
      c.Linha->setText(Q(escolhidos.front()));
    }
    AoAlterar(c);
    c.Linha->setFocus();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // A rule or a lookup that failed on the way: said in the form, nothing saved.
    MostrarMensagem(Q(MensagemDeErro(e)));
  }
}

void TFormCadastro::MostrarMensagem(const QString& aTexto) {
  FMensagem->setText(aTexto);
  FQuadroMensagem->setVisible(!aTexto.isEmpty());
  if (aTexto.isEmpty()) return;
  // A message that names a field (by its caption in quotes) puts the cursor there.
  for (auto& c : FControles)
    if (aTexto.contains("\"" + Q(c->Campo->DisplayLabel) + "\"") && c->Foco() && c->Foco()->isEnabled()) {
      c->Foco()->setFocus();
      break;
    }
}

QString TFormCadastro::Mensagem() const { return FQuadroMensagem->isVisible() ? FMensagem->text() : QString(); }

void TFormCadastro::Gravar() {
  if (FModo == TModoForm::Consulta) return;
  for (auto& c : FControles)
    if (!c->Erro.empty()) {
      MostrarMensagem("Valor inválido no campo \"" + Q(c->Campo->DisplayLabel) + "\": " + Q(c->Erro));
      c->Foco()->setFocus();
      return;
    }
  TClientDataSet& d = FReg->nClientDataSet();
  try {
    d.Post();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // Refused by the register: the row stays in edit for the user to mend.
    MostrarMensagem(Q(e.what()));
    Atualizar(nullptr);
    return;
  }
  int falhas;
  try {
    falhas = FReg->ApplyUpdates(0);
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    // The database refused the transaction itself: nothing was written.
    MostrarMensagem(Q(e.what()));
    d.Edit();
    return;
  }
  if (falhas > 0) {
    QString erros;
    for (const auto& e : FReg->ErrosApplyUpdates()) erros += (erros.isEmpty() ? "" : "\n") + Q(e);
    MostrarMensagem(erros);
    d.Edit();
    return;
  }
  FChaveGravada.clear();
  for (const auto& k : FReg->CamposChave()) FChaveGravada.push_back(d.FieldByName(k).Value());
  MostrarMensagem(QString());
  accept();
}

void TFormCadastro::reject() {
  FReg->nClientDataSet().Cancel();
  QDialog::reject();
}

}  // namespace nDesktop
