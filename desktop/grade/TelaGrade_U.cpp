#include "TelaGrade_U.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "GradeDados_U.h"
#include "ModeloDataSet_U.h"
#include "SQL_U.h"
#include "ArvoreMensagens_U.h"
#include "PainelParametros_U.h"
#include "PowerParamCxGridConfigBase_U.h"
#include "TextoMensagem_U.h"
#include "Variant_U.h"
#include "VisaoGradeBandas_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool TemFormulario(const TnDMPowerParam& aProcesso) {
  std::string classe = aProcesso.GetFormClass();
  return !classe.empty() && nClasseRegistrada(classe);
}

QPushButton* Botao(const QString& aTexto, const QString& aNome, const QString& aDica, QWidget* aPai) {
  auto* b = new QPushButton(aTexto, aPai);
  b->setObjectName(aNome);
  b->setToolTip(aDica);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

bool EhProcessoGrade(const TnDMPowerParam& aProcesso) {
  return TemFormulario(aProcesso) || !aProcesso.DataSetsGrade().empty();
}

TTelaGrade::TTelaGrade(TnDMPtr<TnDMPowerParam> aProcesso, QWidget* aPai) : TTelaProcesso(std::move(aProcesso), aPai) {
  TnDMPowerParam& processo = Processo();
  if (TemFormulario(processo)) {
    FForm = nCriarFormularioProcesso(processo);
    FGerente = &FForm->Gerente();
  } else {
    // Without a form, the grid manager of a plain closable-tab form: a tab per grid dataset.
    FGerenteProprio = std::make_unique<TnGerentecxGrid>(std::string(processo.ClassName()));
    FGerente = FGerenteProprio.get();
    for (const std::string& nome : processo.DataSetsGrade()) {
      TClientDataSet* ds = processo.FindComponent<TClientDataSet>(nome);
      if (!ds) throw EInternalError(std::string(processo.ClassName()) + " mostra a grade " + nome + ", que não tem");
      FGerente->CriarTabSheetBanded(TGradeDados(*ds, nome).Titulo(), *ds);
      FGerente->ConfigurarGridFields(true, false);
    }
  }

  FAreaGrade = new QWidget(this);
  FAreaGrade->setObjectName("areaGrade");
  FRestaurar = Botao("Restaurar layout padrão", "btnRestaurarLayout",
                     "Volta as colunas, larguras, ordem e agrupamentos das grades ao padrão", FAreaGrade);
  FRestaurar->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  connect(FRestaurar, &QPushButton::clicked, this, &TTelaGrade::RestaurarLayoutPadrao);

  auto* barra = new QHBoxLayout;
  barra->setContentsMargins(0, 0, 0, 0);
  barra->setSpacing(6);
  barra->addStretch(1);
  barra->addWidget(FRestaurar);

  FAbas = new QTabWidget(FAreaGrade);
  FAbas->setObjectName("abasGrade");
  FAbas->setTabsClosable(true);
  FAbas->setDocumentMode(true);
  connect(FAbas, &QTabWidget::tabCloseRequested, this, &TTelaGrade::FecharAba);
  auto* vazio = new QLabel("Informe os parâmetros e clique em \"Executar\" para carregar as grades.", FAreaGrade);
  vazio->setObjectName("lblSemGrades");
  vazio->setAlignment(Qt::AlignCenter);
  vazio->setWordWrap(true);
  vazio->setStyleSheet("color: #6b6b6b;");
  FPilha = new QStackedWidget(FAreaGrade);
  FPilha->addWidget(vazio);
  FPilha->addWidget(FAbas);

  auto* layout = new QVBoxLayout(FAreaGrade);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addLayout(barra);
  layout->addWidget(FPilha, 1);

  // A few parameters sit above the grids, in a band; a longer panel goes beside them, as wide as
  // its captions and controls need within reason. Both over the messages.
  int itens = 0;
  for (const auto& item : processo.npqPowerParam.Itens())
    if (Painel()->Controle(item->Alias())) ++itens;
  const bool acima = itens <= 4;
  auto* lado = new QSplitter(acima ? Qt::Vertical : Qt::Horizontal, this);
  lado->setObjectName("divisorGrade");
  lado->setChildrenCollapsible(false);
  Divisor()->insertWidget(0, lado);
  lado->addWidget(Painel());
  lado->addWidget(FAreaGrade);
  lado->setStretchFactor(0, 0);
  lado->setStretchFactor(1, 1);
  if (acima) {
    lado->setSizes({48 + 31 * itens, 600});
  } else {
    // The panel keeps room for its controls: the grids scroll sideways instead.
    const int largura = std::clamp(Painel()->sizeHint().width(), 300, 470);
    lado->setSizes({largura, 900});
    Painel()->setMinimumWidth(largura);
  }
  Divisor()->setStretchFactor(0, 4);
  Divisor()->setStretchFactor(1, 1);

  // A form whose panel action lays the tabs out stores its default itself (after the first run);
  // the others' default is the layout they have now.
  if (AcoesDoFormulario().empty()) {
    FGerente->StoreAsDefaultConfig();
    FGerente->RestoreFormIniFile();
    FLayoutMontado = true;
  }
  connect(this, &TTelaProcesso::Terminou, this, &TTelaGrade::AposExecucao);
  MontarAbas();
}

TTelaGrade::~TTelaGrade() {
  EncerrarExecucao();
  if (FGuardarLayout) SalvarLayout();
  // The views point into the form's manager and the process's datasets: they go first.
  for (TVisaoGradeBandas* v : FVisoes) delete v;
  FVisoes.clear();
  FForm.reset();
}

std::vector<TnAction*> TTelaGrade::AcoesDoFormulario() const {
  std::vector<TnAction*> r;
  if (!FForm) return r;
  for (const auto& a : FForm->ActionList)
    if (Processo().npqPowerParam.FindAction(a->Name) == a.get()) r.push_back(a.get());
  return r;
}

TVisaoGradeBandas* TTelaGrade::Visao(const QString& aCaption) const {
  for (int i = 0; i < FAbas->count(); ++i)
    if (FAbas->tabText(i) == aCaption) return static_cast<TVisaoGradeBandas*>(FAbas->widget(i));
  return nullptr;
}

TVisaoGradeBandas* TTelaGrade::VisaoAtual() const { return static_cast<TVisaoGradeBandas*>(FAbas->currentWidget()); }

void TTelaGrade::MontarAbas() {
  std::vector<TnViewcxGrid*> visiveis;
  for (const auto& v : FGerente->Views()) {
    if (!v->LevelVisible || !v->DataSet || !v->DataSet->Active()) continue;
    // A dataset that got its fields only at its first run gets its columns now.
    if (v->Columns.empty()) v->ConfigurarGridFields(true, false);
    visiveis.push_back(v.get());
  }

  // Views no longer shown, or shown over another dataset, give up their tabs.
  for (auto it = FVisoes.begin(); it != FVisoes.end();) {
    TVisaoGradeBandas* w = *it;
    bool fica = std::find(visiveis.begin(), visiveis.end(), &w->View()) != visiveis.end() &&
                &w->Modelo().Grade().DataSet() == w->View().DataSet;
    if (fica) {
      // Cells the process merges once its grid is configured (its first run): drawn again
      // with what the user changed on screen kept.
      TnViewcxGrid antes = w->View();
      if (MarcarMescladas(antes)) {
        w->CapturarLayout();
        MarcarMescladas(w->View());
        w->AplicarLayout();
      }
      ++it;
      continue;
    }
    w->CapturarLayout();
    FAbas->removeTab(FAbas->indexOf(w));
    delete w;
    it = FVisoes.erase(it);
  }
  for (size_t i = 0; i < visiveis.size(); ++i) {
    TnViewcxGrid* view = visiveis[i];
    auto achada = std::find_if(FVisoes.begin(), FVisoes.end(), [view](TVisaoGradeBandas* w) { return &w->View() == view; });
    if (achada != FVisoes.end()) {
      (*achada)->Recarregar();
      continue;
    }
    MarcarMescladas(*view);
    auto* w = new TVisaoGradeBandas(*view, FAbas);
    w->setObjectName(Q("visao" + view->Name));
    w->AplicarLayout();
    connect(w, &TVisaoGradeBandas::RestaurarPadraoSolicitado, this, &TTelaGrade::RestaurarLayoutPadrao);
    connect(w, &TVisaoGradeBandas::EdicaoRecusada, this, [this](const QString& aMotivo) {
      Situacao()->setText(aMotivo);
      Situacao()->setStyleSheet("color: #b01c1c; font-weight: bold;");
    });
    FAbas->insertTab(static_cast<int>(std::min<size_t>(i, static_cast<size_t>(FAbas->count()))), w, Q(view->Caption));
    FVisoes.push_back(w);
  }
  FPilha->setCurrentIndex(FAbas->count() > 0 ? 1 : 0);
  AtualizarBotoes();
}

void TTelaGrade::Recarregar() { MontarAbas(); }

bool TTelaGrade::MarcarMescladas(TnViewcxGrid& aView) const {
  auto* grade = dynamic_cast<const TnDMPowerParamCxGridConfigBase*>(&Processo());
  if (!grade) return false;
  bool mudou = false;
  for (TnColunaGrid& c : aView.Columns) {
    bool mesclar = grade->CelulasMescladas(c.FieldName);
    mudou |= c.MesclarCelulas != mesclar;
    c.MesclarCelulas = mesclar;
  }
  return mudou;
}

void TTelaGrade::AposExecucao() {
  // The form lays its tabs out once the process has filled its datasets; later runs fill the
  // same datasets, which the views read again.
  if (!FLayoutMontado && AcaoExecutada().empty() &&
      (Resultado() == TResultado::Sucesso || Resultado() == TResultado::Falha)) {
    try {
      for (TnAction* a : AcoesDoFormulario()) a->Execute();
      FLayoutMontado = true;
    } catch (const EInternalError& e) {
      // Our fault, said as such; a slot lets no exception out.
      Situacao()->setText(Q(std::string("Erro interno: ") + e.what()));
      Situacao()->setStyleSheet("color: #b01c1c; font-weight: bold;");
    } catch (const Exception& e) {
      Situacao()->setText(Q("Erro: " + MensagemDeErro(e)));
      Situacao()->setStyleSheet("color: #b01c1c; font-weight: bold;");
    }
  }
  MontarAbas();
  // The grids keep most of the height: the messages get a strip, and no room when there are none.
  if (Mensagens()->Arvore()->topLevelItemCount() == 0) {
    Mensagens()->hide();
  } else if (!FDivisorAjustado) {
    int altura = Divisor()->height();
    Divisor()->setSizes({altura * 3 / 4, altura / 4});
    FDivisorAjustado = true;
  }
}

void TTelaGrade::FecharAba(int aIndice) {
  auto* w = static_cast<TVisaoGradeBandas*>(FAbas->widget(aIndice));
  if (!w || Executando()) return;
  // A closed tab is a hidden level: "Restaurar layout padrão" brings it back.
  w->View().LevelVisible = false;
  MontarAbas();
}

void TTelaGrade::AtualizarBotoes() { FRestaurar->setEnabled(FLayoutMontado && !Executando()); }

void TTelaGrade::SalvarLayout() {
  // Before the form laid its tabs out there is nothing of the user's to keep, and saving would
  // drop the layout saved earlier.
  if (!FLayoutMontado) return;
  for (TVisaoGradeBandas* v : FVisoes) v->CapturarLayout();
  FGerente->SalvarFormIniFile();
}

void TTelaGrade::RestaurarLayoutPadrao() {
  FGerente->RestaurarPadrao();
  for (TVisaoGradeBandas* v : FVisoes) v->AplicarLayout();
  MontarAbas();
}

void TTelaGrade::SetExecutando(bool aValor) {
  TTelaProcesso::SetExecutando(aValor);
  if (FAreaGrade) FAreaGrade->setEnabled(!aValor);
  if (FRestaurar) AtualizarBotoes();
}

// Screenshots of the grid screens on the demo data.
namespace {

// The selection of the demo company of a court, for as long as the object lives; the one there
// was comes back after.
class TSelecaoDaUF {
 public:
  explicit TSelecaoDaUF(const char* aUF) : FAntes(TnSelecao::Params().Itens()) {
    auto ds = ExecutarSQL(
        "select T.CODIGOSISTEMATCE, T.CODIGOEMPRESA from TCESISTEMAEMPRESA T join TCESISTEMA S on S.CODIGOSISTEMATCE = "
        "T.CODIGOSISTEMATCE where S.SIGLAESTADO = :UF order by T.CODIGOEMPRESA",
        {TVariant(std::string(aUF))});
    if (ds->Eof()) return;
    TnSelecao::Params().Limpar();
    TnSelecao::Params().Definir("CODIGOSISTEMATCE", TVariant(ds->Fields(0).AsInteger()));
    TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(ds->Fields(1).AsInteger()));
    FEmpresa = static_cast<int>(ds->Fields(1).AsInteger());
  }
  ~TSelecaoDaUF() {
    TnSelecao::Params().Limpar();
    for (const auto& [nome, valor] : FAntes) TnSelecao::Params().Definir(nome, valor);
  }
  // 0 when the database has no company of that court.
  int Empresa() const { return FEmpresa; }

 private:
  std::vector<std::pair<std::string, TVariant>> FAntes;
  int FEmpresa = 0;
};

class TCaptura {
 public:
  TCaptura(const char* aClasse) : FTela(std::make_unique<TTelaGrade>(PrepararProcesso(aClasse))) {
    FTela->SetGuardarLayout(false);
    FTela->resize(1366, 800);
    FTela->show();
    QApplication::processEvents();
  }
  TTelaGrade& Tela() { return *FTela; }
  void Digitar(const char* aAlias, const QString& aTexto) {
    if (auto* e = qobject_cast<QLineEdit*>(FTela->Painel()->Controle(aAlias))) e->setText(aTexto);
  }
  void Valor(const char* aAlias, const std::string& aValor) {
    FTela->Processo().Param(aAlias).SetValue(aValor);
    FTela->Painel()->Recarregar();
  }
  // Runs "Executar" or an action and waits for its end.
  void Rodar(const std::string& aAcao = {}) {
    QEventLoop laco;
    QObject::connect(FTela.get(), &TTelaProcesso::Terminou, &laco, &QEventLoop::quit);
    if (aAcao.empty()) FTela->Executar();
    else FTela->ExecutarAcao(aAcao);
    if (FTela->Executando()) laco.exec();
    QApplication::processEvents();
  }
  void Gravar(const std::filesystem::path& aArquivo, std::vector<std::filesystem::path>& aGravados) {
    QApplication::processEvents();
    if (!FTela->grab().save(QString::fromStdString(aArquivo.string()), "PNG"))
      throw EFileError("Não foi possível gravar a captura " + aArquivo.string() + ".");
    aGravados.push_back(aArquivo);
  }

 private:
  std::unique_ptr<TTelaGrade> FTela;
};

void MarcarPrimeiras(TVisaoGradeBandas* aVisao, int aQuantas) {
  if (!aVisao || !aVisao->Modelo().Grade().Marca()) return;
  TModeloDataSet& m = aVisao->Modelo();
  int coluna = m.ColunaDoCampo(QString::fromStdString(m.Grade().Marca()->FieldName()));
  for (int r = 0; r < std::min(aQuantas, m.rowCount()); ++r) m.setData(m.index(r, coluna), Qt::Checked, Qt::CheckStateRole);
}

}  // namespace

std::vector<std::filesystem::path> CapturarTelasGrade(const std::filesystem::path& aPasta) {
  std::filesystem::create_directories(aPasta);
  std::vector<std::filesystem::path> gravados;
  {
    TSelecaoDaUF sc("SC");
    if (sc.Empresa() > 0) {
      TCaptura envio("TUlmoDPEnviarArquivosCtbeSFinge");
      envio.Digitar("pCompetInicial", "01/01/2024");
      envio.Digitar("pCompetFinal", "31/01/2024");
      envio.Digitar("pUsuario", "contador");
      envio.Digitar("pSenha", "senha");
      envio.Digitar("pUnidadeGestora", "123456");
      envio.Rodar();
      TTelaGrade& t = envio.Tela();
      MarcarPrimeiras(t.Visao("Conta Contábil"), 6);
      MarcarPrimeiras(t.Visao("Lançamento Contábil"), 8);
      if (TVisaoGradeBandas* v = t.Visao("Conta Contábil")) t.Abas()->setCurrentWidget(v);
      envio.Gravar(aPasta / "grade-envio-contas.png", gravados);
      if (TVisaoGradeBandas* v = t.Visao("Lançamento Contábil")) t.Abas()->setCurrentWidget(v);
      envio.Gravar(aPasta / "grade-envio-lancamentos.png", gravados);

      // Without receipts of its own, the company gets three as a send leaves them, written only
      // for the picture: the transaction is undone.
      bool semRecibos = ExecutarSQL("select count(*) from TCEESFINGEONLINEENVIO where CODIGOEMPRESA = :E",
                                    {TVariant(sc.Empresa())})
                            ->Fields(0)
                            .AsInteger() == 0;
      TnDMConexao& conexao = Conexao();
      conexao.StartTransaction();
      try {
        for (int mes : {1, 2, 3}) {
          if (!semRecibos) break;
          std::string anoMes = "2024" + std::string(mes < 10 ? "0" : "") + std::to_string(mes);
          ExecutarSQLDireto("insert into TCEESFINGEONLINEENVIO (CODIGOEMPRESA, COMPETENCIA, SEQ, DATAENVIO, STATUS, "
                      "CHAVEPACOTE, CODIGOREGISTROINFORMACAO) values (:E, :C, 1, :D, :S, :P, :R)",
                      {TVariant(sc.Empresa()), TVariant("2024-0" + std::to_string(mes) + "-01"),
                       TVariant("2024-0" + std::to_string(mes + 1) + "-10"), TVariant(mes == 2 ? 0 : 1),
                       TVariant("PCT-" + anoMes + "-7f3a9c2e"), TVariant("REC-" + anoMes + "-0001842" + std::to_string(mes))});
        }
        TCaptura consulta("TUlmoDPConsultaSfingeOnlineDadosEnviados");
        consulta.Digitar("pCompetenciaInicial", "01/01/2024");
        consulta.Digitar("pCompetenciaFinal", "31/12/2024");
        consulta.Digitar("pUsuario", "contador");
        consulta.Digitar("pSenha", "senha");
        consulta.Digitar("pUnidadeGestora", "123456");
        consulta.Rodar();
        MarcarPrimeiras(consulta.Tela().VisaoAtual(), 1);
        consulta.Gravar(aPasta / "grade-consulta-envios.png", gravados);
      } catch (...) {
        conexao.RollBack();
        throw;
      }
      conexao.RollBack();

      TCaptura plano("TUlmoDPRelacionarPlanoPlEspec");
      plano.Valor("pNivelConta", "3");
      plano.Rodar();
      plano.Gravar(aPasta / "grade-relacionar-plano.png", gravados);
    }
  }
  {
    TSelecaoDaUF pr("PR");
    if (pr.Empresa() > 0) {
      TCaptura bens("TUlmoDPRelacionarBens");
      bens.Digitar("pDataInicial", "01/01/2024");
      bens.Digitar("pDataFinal", "31/12/2024");
      bens.Rodar();
      bens.Gravar(aPasta / "grade-relacionar-bens.png", gravados);
    }
  }
  {
    TSelecaoDaUF se("SE");
    if (se.Empresa() > 0) {
      TCaptura receitas("TUlmoDPTCESESagresReceita");
      receitas.Rodar();
      receitas.Gravar(aPasta / "grade-sagres-receitas.png", gravados);
      TCaptura pagamentos("TUlmoDPTCESagresPgto");
      pagamentos.Digitar("pCodigoEstab", "1");
      pagamentos.Rodar();
      pagamentos.Gravar(aPasta / "grade-sagres-pagamentos.png", gravados);
    }
  }
  return gravados;
}

}  // namespace nDesktop
