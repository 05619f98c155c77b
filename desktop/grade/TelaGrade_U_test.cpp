// The grid forms against a temporary demo database with every module library open, and the
// e-Sfinge online send against a fake court in this process.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "ArvoreMensagens_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Demo_U.h"
#include "DialogoFormula_U.h"
#include "DialogoEscolha_U.h"
#include "FakeEsfingeOnline_U.h"
#include "FrmPowerParamcxGridCloseTab_U.h"
#include "ModeloDataSet_U.h"
#include "ModuleLoader_U.h"
#include "RegraBaseCalculo_U.h"
#include "PainelParametros_U.h"
#include "Projeto_U.h"
#include "SQL_U.h"
#include "ServicosDesktop_U.h"
#include "TelaGrade_U.h"
#include "TestFolder_U.h"
#include "Variant_U.h"
#include "VisaoDelegado_U.h"
#include "VisaoGradeBandas_U.h"
#include "VisaoProxyAgrupamento_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

void Selecionar(int aSistema, int aEmpresa) {
  TnSelecao::Params().Limpar();
  TnSelecao::Params().Definir("CODIGOSISTEMATCE", TVariant(aSistema));
  TnSelecao::Params().Definir("CODIGOEMPRESA", TVariant(aEmpresa));
}

std::unique_ptr<TTelaGrade> Abrir(const char* aClasse) {
  auto tela = std::make_unique<TTelaGrade>(PrepararProcesso(aClasse));
  tela->resize(1200, 760);
  tela->show();
  return tela;
}

void Digitar(TTelaGrade& aTela, const char* aAlias, const QString& aTexto) {
  auto* e = qobject_cast<QLineEdit*>(aTela.Painel()->Controle(aAlias));
  QVERIFY2(e, aAlias);
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, aTexto);
}

bool EsperarFim(TTelaGrade& aTela, int aMs = 60000) {
  if (!aTela.Executando()) return true;
  QSignalSpy fim(&aTela, &TTelaProcesso::Terminou);
  return fim.wait(aMs);
}

// Clicks and waits for the run to end successfully.
void Rodar(TTelaGrade& aTela, QPushButton* aBotao) {
  QVERIFY(aBotao);
  QVERIFY(aBotao->isEnabled());
  QTest::mouseClick(aBotao, Qt::LeftButton);
  QVERIFY(EsperarFim(aTela));
  QVERIFY2(aTela.Resultado() == TTelaProcesso::TResultado::Sucesso,
           qPrintable(aTela.Situacao()->text() + "\n" + aTela.Mensagens()->Texto()));
}

QStringList Abas(const TTelaGrade& aTela) {
  QStringList r;
  for (int i = 0; i < aTela.Abas()->count(); ++i) r << aTela.Abas()->tabText(i);
  return r;
}

QStringList Cabecalhos(const TModeloDataSet& aModelo) {
  QStringList r;
  for (int c = 0; c < aModelo.columnCount(); ++c) r << aModelo.headerData(c, Qt::Horizontal).toString();
  return r;
}

QString Texto(TModeloDataSet& aModelo, int aLinha, const char* aCampo) {
  return aModelo.data(aModelo.index(aLinha, aModelo.ColunaDoCampo(aCampo))).toString();
}

// The first row whose column shows the text; -1 when none.
int Linha(TModeloDataSet& aModelo, const char* aCampo, const QString& aTexto) {
  for (int r = 0; r < aModelo.rowCount(); ++r)
    if (Texto(aModelo, r, aCampo) == aTexto) return r;
  return -1;
}

// A cell typed as the user types it; the grid's refusal fails the test with its message.
void Editar(TVisaoGradeBandas& aVisao, int aLinha, const char* aCampo, const QString& aTexto) {
  TModeloDataSet& m = aVisao.Modelo();
  QString recusa;
  auto c = QObject::connect(&m, &TModeloDataSet::EdicaoRecusada, [&](const QString& t) { recusa = t; });
  bool ok = m.setData(m.index(aLinha, m.ColunaDoCampo(aCampo)), aTexto, Qt::EditRole);
  QObject::disconnect(c);
  QVERIFY2(ok, qPrintable(QString(aCampo) + ": " + recusa));
}

void Marcar(TVisaoGradeBandas& aVisao, int aLinha) {
  TModeloDataSet& m = aVisao.Modelo();
  int coluna = m.ColunaDoCampo(QString::fromStdString(m.Grade().Marca()->FieldName()));
  QVERIFY(m.setData(m.index(aLinha, coluna), Qt::Checked, Qt::CheckStateRole));
}

int64_t Contar(const std::string& aSQL) { return ExecutarSQL(aSQL)->Fields(0).AsInteger(); }

// Answers the next question box with the button of that caption; keeps the question asked.
class TResposta : public QObject {
 public:
  TResposta(QString aBotao) : FBotao(std::move(aBotao)) {
    connect(&FVigia, &QTimer::timeout, this, [this] {
      auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!caixa || !caixa->isVisible()) return;
      FVigia.stop();
      Pergunta = caixa->text();
      for (QAbstractButton* b : caixa->buttons())
        if (b->text().remove('&') == FBotao) b->click();
    });
    FVigia.start(20);
  }
  QString Pergunta;

 private:
  QString FBotao;
  QTimer FVigia;
};

const char* const ClasseEnvio = "TUlmoDPEnviarArquivosCtbeSFinge";
const char* const ClasseConsulta = "TUlmoDPConsultaSfingeOnlineDadosEnviados";

void PreencherEnvio(TTelaGrade& aTela, const QString& aFim) {
  Digitar(aTela, "pCompetInicial", "01/01/2024");
  Digitar(aTela, "pCompetFinal", aFim);
  Digitar(aTela, "pUsuario", "u");
  Digitar(aTela, "pSenha", "s");
  Digitar(aTela, "pUnidadeGestora", "ug");
}

}  // namespace

class TTelaGradeTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<TTestFolder> FPasta;
  TnBibliotecas FBibliotecas;

 private slots:
  void initTestCase() {
    FPasta = std::make_unique<TTestFolder>();
    std::string banco = (FPasta->Path() / "demo.db").string();
    nHost::CriarBancoDemo(banco);
    nConfig().Banco = banco;
    AbrirBanco();
    FBibliotecas.Carregar({"UlmoPkPb", "UlmoPkPbDevExpress", "UlmoPkDevExpress", "UlmoPk"}, ULMO_PASTA_BIBLIOTECAS);
    Application().Title = "TCE - Brivo";
    InstalarServicosDesktop();
  }

  void init() { TnGerentecxGrid::LimparLayoutsSalvos(); }

  void cleanupTestCase() {
    FBibliotecas.Descarregar();
    FecharBanco();
  }

  void soOsProcessosComGradeAbremNoFormularioDeGrade() {
    Selecionar(1, 1);
    for (const char* c : {ClasseEnvio, ClasseConsulta, "TUlmoDPRelacionarBens", "TUlmoDPRelacionarPlanoPlEspec",
                          "TUlmoDPTCESESagresReceita", "TUlmoDPTCESagresPgto"})
      QVERIFY2(EhProcessoGrade(*PrepararProcesso(c)), c);
    QVERIFY(!EhProcessoGrade(*PrepararProcesso("TUlmoDPGerarArquivosCtb")));
  }

  void oEnvioMostraAsDuasAbasComOsLancamentosAgrupadosPorSlipEData() {
    Selecionar(1, 1);
    auto tela = Abrir(ClasseEnvio);
    QVERIFY(tela->Formulario());
    QCOMPARE(tela->Abas()->count(), 0);
    QVERIFY(tela->findChild<QLabel*>("lblSemGrades")->isVisible());
    QVERIFY(tela->Alerta());
    QVERIFY(tela->Alerta()->text().startsWith("A partir de Janeiro/2022 os Registros Contábeis devem ser enviados"));
    // The form's layout action sits on the process's panel, run by the screen, not a button.
    QVERIFY(tela->Processo().npqPowerParam.FindAction("actConfigurarCxGrid"));
    QVERIFY(!tela->BotaoAcao("actConfigurarCxGrid"));
    QCOMPARE(tela->BotaoAcao("actEnviarInf")->text(), QString("Enviar Informações"));
    QCOMPARE(tela->BotaoAcao("actEnviarInfEsfingeOnline")->text(), QString("Enviar Informações e-Sfinge Online"));

    PreencherEnvio(*tela, "31/03/2024");
    for (int vez = 0; vez < 2; ++vez) {
      Rodar(*tela, tela->BotaoExecutar());
      QCOMPARE(Abas(*tela), (QStringList{"Conta Contábil", "Lançamento Contábil"}));
    }
    QCOMPARE(tela->Gerente().Views().size(), size_t(2));
    TVisaoGradeBandas* contas = tela->Visao("Conta Contábil");
    TVisaoGradeBandas* lctos = tela->Visao("Lançamento Contábil");
    QVERIFY(contas && lctos);
    QVERIFY(contas->Modelo().rowCount() > 0);
    QVERIFY(lctos->Modelo().rowCount() > contas->Modelo().rowCount());
    QStringList cab = Cabecalhos(lctos->Modelo());
    for (const char* c : {"Número do Slip", "Data Lançamento Contábil", "Valor Lançamento", "Histórico Lançamento"})
      QVERIFY2(cab.contains(c), c);
    QVERIFY(!cab.contains("Código Conta Contábil"));  // hidden field
    QVERIFY(Cabecalhos(contas->Modelo()).contains("Classificação / Descrição Conta TCE"));
    TnViewcxGrid& view = lctos->View();
    QCOMPARE(view.ColunasAgrupadas(), (std::vector<std::string>{"NumeroSlip", "DataLancamento"}));
    QVERIFY(!view.ViewGetColumnByFieldName("NumeroSlip")->Visible);
    QVERIFY(view.ViewGetColumnByFieldName("DataLancamento")->Visible);
    QVERIFY(view.Expandido);
    QVERIFY(contas->View().ColunasAgrupadas().empty());
  }

  void oEnvioOnlineGuardaOReciboQueAConsultaMostraECancela() {
    nUlmoEsfingeTeste::TFakeEsfingeOnline tribunal;
    nConfig().UrlEsfingeOnline = tribunal.Url();
    Selecionar(1, 1);
    {
      auto tela = Abrir(ClasseEnvio);
      PreencherEnvio(*tela, "31/01/2024");
      Rodar(*tela, tela->BotaoExecutar());
      TVisaoGradeBandas* contas = tela->Visao("Conta Contábil");
      TVisaoGradeBandas* lctos = tela->Visao("Lançamento Contábil");
      QVERIFY(contas && lctos);
      contas->MarcarTodos();
      lctos->MarcarTodos();
      QCOMPARE(int(contas->Modelo().Grade().Linhas("ENVIAR = 1").size()), contas->Modelo().rowCount());
      Rodar(*tela, tela->BotaoAcao("actEnviarInfEsfingeOnline"));
      QVERIFY2(tela->Mensagens()->Texto().contains("Lote 202401: Envio parcial realizado com sucesso."),
               qPrintable(tela->Mensagens()->Texto()));
      QCOMPARE(tela->Mensagens()->Contar(tmErro), 0);
    }
    QCOMPARE(tribunal.Pacotes().size(), size_t(1));
    QCOMPARE(QString::fromStdString(tribunal.Pacotes()[0].Estado), QString("finalizado"));
    QCOMPARE(Contar("select count(*) from TCEESFINGEONLINEENVIO where CODIGOEMPRESA = 1 and STATUS = 1"), int64_t(1));

    auto consulta = Abrir(ClasseConsulta);
    QVERIFY(consulta->Formulario());
    QCOMPARE(consulta->Abas()->count(), 1);  // the form's own dataset, before any run
    Digitar(*consulta, "pCompetenciaInicial", "01/01/2024");
    Digitar(*consulta, "pCompetenciaFinal", "31/12/2024");
    Digitar(*consulta, "pUsuario", "u");
    Digitar(*consulta, "pSenha", "s");
    Digitar(*consulta, "pUnidadeGestora", "ug");
    Rodar(*consulta, consulta->BotaoExecutar());
    TVisaoGradeBandas* recibos = consulta->VisaoAtual();
    QVERIFY(recibos);
    TModeloDataSet& m = recibos->Modelo();
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(Texto(m, 0, "STATUS"), QString("Finalizado"));
    QCOMPARE(Texto(m, 0, "LOTE"), QString("202401"));
    QCOMPARE(Texto(m, 0, "CODIGOREGISTROINFORMACAO"), QString::fromStdString(tribunal.Pacotes()[0].Recibo));
    QVERIFY(Cabecalhos(m).contains("Recibo de Fechamento"));
    Marcar(*recibos, 0);
    Rodar(*consulta, consulta->BotaoAcao("ActCancelarRemessa"));
    QVERIFY2(consulta->Mensagens()->Texto().contains("Lote cancelado com sucesso"),
             qPrintable(consulta->Mensagens()->Texto()));
    QCOMPARE(consulta->VisaoAtual(), recibos);
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(Texto(m, 0, "STATUS"), QString("Cancelado"));
    QCOMPARE(m.data(m.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(Contar("select count(*) from TCEESFINGEONLINEENVIO where CODIGOEMPRESA = 1 and STATUS = 0"), int64_t(1));
    nConfig().UrlEsfingeOnline.clear();
  }

  void umBemDaEmpresaPRClassificadoNaGradeChegaAoBanco() {
    Selecionar(3, 3);
    auto tela = Abrir("TUlmoDPRelacionarBens");
    QCOMPARE(Abas(*tela), QStringList{"Dados"});
    Digitar(*tela, "pDataInicial", "01/01/2024");
    Digitar(*tela, "pDataFinal", "31/12/2024");
    Rodar(*tela, tela->BotaoExecutar());
    TVisaoGradeBandas* v = tela->VisaoAtual();
    QVERIFY(v);
    QCOMPARE(v->Modelo().rowCount(), 2);
    for (const char* c : {"Descrição do Bem", "Propriedade do Bem", "Categoria do Bem", "Utilização do Bem"})
      QVERIFY2(Cabecalhos(v->Modelo()).contains(c), c);
    int linha = Linha(v->Modelo(), "ChaveLcto", "104");
    QVERIFY(linha >= 0);
    Editar(*v, linha, "PropriedadeBem", "Próprio");
    Editar(*v, linha, "NaturezaBem", "Bens Móveis");
    Editar(*v, linha, "CategoriaBem", "2");
    Editar(*v, linha, "DetalhamentoBem", "201");
    Editar(*v, linha, "UtilizacaoBem", "Bens de Uso Especial");
    Rodar(*tela, tela->BotaoAcao("nActSalvar"));
    QCOMPARE(Contar("select count(*) from PATBEMRELACTCE where CODIGOEMPRESA = 3 and CODIGOBEM = 104 and "
                    "PROPRIEDADEBEM = 1 and NATUREZABEM = 1 and IDTIPOCATEGORIABEM = 2 and IDTIPODETALHAMENTOBEM = 201 "
                    "and UTILIZACAOBEM = 3"),
             int64_t(1));
    // Listed without the classified ones, the grid reloads without it.
    QCOMPARE(v->Modelo().rowCount(), 1);
    QCOMPARE(Linha(v->Modelo(), "ChaveLcto", "104"), -1);
  }

  void umaContaRelacionadaNaGradeChegaAoBancoEAExclusaoPergunta() {
    Selecionar(1, 1);
    auto tela = Abrir("TUlmoDPRelacionarPlanoPlEspec");
    tela->Processo().Param("pNivelConta").SetValue("3");
    tela->Painel()->Recarregar();
    Rodar(*tela, tela->BotaoExecutar());
    TVisaoGradeBandas* v = tela->VisaoAtual();
    QVERIFY(v);
    int linha = Linha(v->Modelo(), "CONTATCE", "170");
    QVERIFY(linha >= 0);
    Editar(*v, linha, "CONTACTB", "1001");
    Editar(*v, linha, "DATAINICIOPLANO", "01/01/2024");
    Editar(*v, linha, "DATAFIMPLANO", "31/12/2024");
    Editar(*v, linha, "TIPONATURSALDO", "Devedor");
    Editar(*v, linha, "APLICFINANCEIRA", "Não");
    Editar(*v, linha, "TIPOSUPERAVITFINANC", "Nenhum");
    Editar(*v, linha, "CODIGOTIPOCONTATCE", "4");
    Rodar(*tela, tela->BotaoAcao("nActSalvar"));
    QVERIFY2(tela->Mensagens()->Texto().contains("Relacionamento da Conta TCE 170 inserido com sucesso."),
             qPrintable(tela->Mensagens()->Texto()));
    QCOMPARE(Contar("select count(*) from TCEPLANOPLESPEC where CODIGOEMPRESA = 1 and CONTATCE = 170 and CONTACTB = 1001"),
             int64_t(1));

    // The deletion asks first; "Não" leaves the relation.
    linha = Linha(v->Modelo(), "CONTATCE", "170");
    QVERIFY(linha >= 0);
    Marcar(*v, linha);
    TResposta nao("Não");
    Rodar(*tela, tela->BotaoAcao("ActExcluirRelac"));
    QCOMPARE(nao.Pergunta, QString("Deseja excluir os registros selecionados?"));
    QCOMPARE(Contar("select count(*) from TCEPLANOPLESPEC where CODIGOEMPRESA = 1 and CONTATCE = 170 and CONTACTB = 1001"),
             int64_t(1));
  }

  void asGradesDoSagresAbremComOsItensEAsRegras() {
    Selecionar(4, 4);
    struct TCaso {
      const char* Classe;
      int Linhas;
      const char* Coluna;
    };
    for (TCaso c : {TCaso{"TUlmoDPTCESESagresReceita", 16, "Receita"}, TCaso{"TUlmoDPTCESagresDespesa", 17, "Regra"},
                    TCaso{"TUlmoDPTCESagresPatrimonio", 12, "Tipo Patrimônio"}}) {
      auto tela = Abrir(c.Classe);
      QCOMPARE(tela->Abas()->count(), 1);
      Rodar(*tela, tela->BotaoExecutar());
      TVisaoGradeBandas* v = tela->VisaoAtual();
      QVERIFY(v);
      QCOMPARE(v->Modelo().rowCount(), c.Linhas);
      QVERIFY2(Cabecalhos(v->Modelo()).contains(c.Coluna), c.Classe);
      QVERIFY(tela->BotaoAcao("actSalvar"));
      // The asset grid merges its type and entry-kind cells; the others merge none.
      TnViewcxGrid& view = v->View();
      bool patrimonio = std::string(c.Classe) == "TUlmoDPTCESagresPatrimonio";
      QVERIFY(view.ViewGetColumnByFieldName("RegraCalculo"));
      QVERIFY(!view.ViewGetColumnByFieldName("RegraCalculo")->MesclarCelulas);
      if (patrimonio) {
        QVERIFY(view.ViewGetColumnByFieldName("DescrTipoPatrimonio")->MesclarCelulas);
        QVERIFY(view.ViewGetColumnByFieldName("DescrTipoLancamento")->MesclarCelulas);
      }
    }
  }

  void umaRegraInvalidaNaoGravaEAValidaGrava() {
    Selecionar(4, 4);
    auto tela = Abrir("TUlmoDPTCESESagresReceita");
    Rodar(*tela, tela->BotaoExecutar());
    TVisaoGradeBandas* v = tela->VisaoAtual();
    int linha = Linha(v->Modelo(), "Descricao", "13 - Outras Receitas Operacionais");
    QVERIFY(linha >= 0);
    // The rule is checked as it is typed: refused, the row keeps its rule and the screen says why.
    TModeloDataSet& m = v->Modelo();
    QVERIFY(!m.setData(m.index(linha, m.ColunaDoCampo("RegraCalculo")), "CREDITO(197", Qt::EditRole));
    QVERIFY2(tela->Situacao()->text().contains("Regra definida é inválida."), qPrintable(tela->Situacao()->text()));
    QCOMPARE(Texto(m, linha, "RegraCalculo"), QString());
    Editar(*v, linha, "RegraCalculo", "CREDITO(197) + CREDITO(198)");
    Rodar(*tela, tela->BotaoAcao("actSalvar"));
    QCOMPARE(Contar("select count(*) from TCESESAGRESRECEITA where CODIGOEMPRESA = 4 and TIPORECEITA = 13 and "
                    "REGRACALCULOCTB = 'CREDITO(197) + CREDITO(198)'"),
             int64_t(1));
    QCOMPARE(Texto(v->Modelo(), linha, "RegraCalculo"), QString("CREDITO(197) + CREDITO(198)"));
  }

  void umaRegraEntraPeloEditorDeFormulasDaCelula() {
    InstalarEditorFormula();
    Selecionar(4, 4);
    auto tela = Abrir("TUlmoDPTCESESagresReceita");
    Rodar(*tela, tela->BotaoExecutar());
    TVisaoGradeBandas* v = tela->VisaoAtual();
    QVERIFY(v);
    TModeloDataSet& m = v->Modelo();
    int linha = Linha(m, "Descricao", "11 - Vendas de Asfalto");
    QVERIFY(linha >= 0);
    QModelIndex celula =
        v->Agrupamento().mapFromSource(v->Pesquisa().mapFromSource(m.index(linha, m.ColunaDoCampo("RegraCalculo"))));
    QVERIFY(celula.isValid());
    v->Arvore()->scrollTo(celula);
    // In the editor: a bad rule first, refused on OK with the engine's message; then a good one.
    QString recusa;
    int passo = 0;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* caixa = qobject_cast<QMessageBox*>(modal); caixa && caixa->isVisible()) {
        recusa = caixa->text();
        caixa->accept();
        return;
      }
      auto* d = qobject_cast<TDialogoFormula*>(modal);
      if (!d || !d->isVisible()) return;
      auto* texto = d->findChild<QPlainTextEdit*>();
      if (passo == 0) {
        texto->setPlainText("CREDITO(197");
        ++passo;
        QMetaObject::invokeMethod(d, &TDialogoFormula::accept, Qt::QueuedConnection);
      } else if (passo == 1 && !recusa.isEmpty()) {
        texto->setPlainText("CREDITO(197) + CREDITO(198)");
        ++passo;
        vigia.stop();
        QMetaObject::invokeMethod(d, &TDialogoFormula::accept, Qt::QueuedConnection);
      }
    });
    vigia.start(20);
    QRect botao = TDelegadoGrade::RetanguloBotao(v->Arvore()->visualRect(celula));
    QTest::mouseClick(v->Arvore()->viewport(), Qt::LeftButton, {}, botao.center());
    QCOMPARE(passo, 2);
    QCOMPARE(recusa, QString("Regra definida é inválida."));
    QCOMPARE(Texto(m, linha, "RegraCalculo"), QString("CREDITO(197) + CREDITO(198)"));
    Rodar(*tela, tela->BotaoAcao("actSalvar"));
    QCOMPARE(Contar("select count(*) from TCESESAGRESRECEITA where CODIGOEMPRESA = 4 and TIPORECEITA = 11 and "
                    "REGRACALCULOCTB = 'CREDITO(197) + CREDITO(198)'"),
             int64_t(1));
    TnDMRegraBaseCalculo::SetEditorFormula(nullptr);
  }

  void aGradeDeNaturezasFiltraPorEstabelecimentoEGravaANatureza() {
    Selecionar(4, 4);
    auto tela = Abrir("TUlmoDPTCESagresPgto");
    QVERIFY(tela->Painel()->Controle("pCodigoEstab"));
    QVERIFY(tela->Painel()->Controle("pCodigoCFOP"));
    Digitar(*tela, "pCodigoEstab", "1");
    // Establishment 1 is the company's own, not the first company's of that number.
    QCOMPARE(tela->Painel()->Descricao("pCodigoEstab")->text(), QString("EMOMA - Sede"));
    // Its pick dialog lists the company's establishments only.
    int linhas = -1;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, [&] {
      auto* d = qobject_cast<TDialogoEscolha*>(QApplication::activeModalWidget());
      if (!d || !d->isVisible()) return;
      vigia.stop();
      linhas = d->Grade()->model()->rowCount();
      d->reject();
    });
    vigia.start(20);
    QTest::mouseClick(tela->Painel()->Botao("pCodigoEstab"), Qt::LeftButton);
    QCOMPARE(linhas, int(Contar("select count(*) from ESTAB where CODIGOEMPRESA = 4")));
    QVERIFY(linhas < int(Contar("select count(*) from ESTAB")));
    Rodar(*tela, tela->BotaoExecutar());
    TVisaoGradeBandas* v = tela->VisaoAtual();
    QVERIFY(v);
    QVERIFY(v->Modelo().rowCount() > 2);
    QCOMPARE(Cabecalhos(v->Modelo()), (QStringList{"Natureza", "Descrição", "Natureza do Pagamento"}));
    int linha = Linha(v->Modelo(), "CodigoCFOP", "1.653");  // the CFOP format
    QVERIFY(linha >= 0);
    // A value the list lacks is refused, and the screen says why.
    TModeloDataSet& m = v->Modelo();
    QVERIFY(!m.setData(m.index(linha, m.ColunaDoCampo("NaturezaPgto")), "Nove", Qt::EditRole));
    QVERIFY2(tela->Situacao()->text().contains("Natureza do Pagamento"), qPrintable(tela->Situacao()->text()));
    Editar(*v, linha, "NaturezaPgto", "Manutençao");
    Rodar(*tela, tela->BotaoAcao("actSalvar"));
    QCOMPARE(Contar("select count(*) from TCESESAGRESPGTO where CODIGOEMPRESA = 4 and CODIGOESTAB = 1 and "
                    "CODIGOCFOP = 1653 and NATUREZAPGTO = 5"),
             int64_t(1));
  }

  void oLayoutSalvoPeloUsuarioVenceOPadraoAoReabrir() {
    Selecionar(1, 1);
    auto abrirEExecutar = [] {
      auto tela = Abrir(ClasseEnvio);
      PreencherEnvio(*tela, "31/01/2024");
      Rodar(*tela, tela->BotaoExecutar());
      return tela;
    };
    {
      auto tela = abrirEExecutar();
      TVisaoGradeBandas* lctos = tela->Visao("Lançamento Contábil");
      QVERIFY(lctos);
      // The user groups by the date alone, and hides the history column.
      lctos->RemoverAgrupamento("NumeroSlip");
      lctos->CapturarLayout();
      TnViewcxGrid& view = lctos->View();
      view.ViewGetColumnByFieldName("HistoricoLancamento")->Visible = false;
      lctos->AplicarLayout();
    }
    // Opened and closed before its grids were laid out, the form keeps the saved layout.
    Abrir(ClasseEnvio).reset();
    auto tela = abrirEExecutar();
    TnViewcxGrid& view = tela->Visao("Lançamento Contábil")->View();
    QCOMPARE(view.ColunasAgrupadas(), std::vector<std::string>{"DataLancamento"});
    QVERIFY(view.ViewGetColumnByFieldName("NumeroSlip")->Visible);
    QVERIFY(!view.ViewGetColumnByFieldName("HistoricoLancamento")->Visible);

    QVERIFY(tela->BotaoRestaurarLayout()->isEnabled());
    QTest::mouseClick(tela->BotaoRestaurarLayout(), Qt::LeftButton);
    TnViewcxGrid& padrao = tela->Visao("Lançamento Contábil")->View();
    QCOMPARE(padrao.ColunasAgrupadas(), (std::vector<std::string>{"NumeroSlip", "DataLancamento"}));
    QVERIFY(!padrao.ViewGetColumnByFieldName("NumeroSlip")->Visible);
    QVERIFY(padrao.ViewGetColumnByFieldName("HistoricoLancamento")->Visible);
  }

  void umaAbaFechadaVoltaComOLayoutPadrao() {
    Selecionar(1, 1);
    auto tela = Abrir(ClasseEnvio);
    PreencherEnvio(*tela, "31/01/2024");
    Rodar(*tela, tela->BotaoExecutar());
    QCOMPARE(tela->Abas()->count(), 2);
    emit tela->Abas()->tabCloseRequested(0);
    QCOMPARE(Abas(*tela), QStringList{"Lançamento Contábil"});
    // Run again, the form re-attaches its datasets and the closed tab stays closed.
    Rodar(*tela, tela->BotaoExecutar());
    QCOMPARE(Abas(*tela), QStringList{"Lançamento Contábil"});
    tela->RestaurarLayoutPadrao();
    QCOMPARE(Abas(*tela), (QStringList{"Conta Contábil", "Lançamento Contábil"}));
  }

  void asCapturasDasGradesSaemEmPng() {
    TTestFolder temporaria;
    std::filesystem::path pasta = temporaria.Path();
    if (const char* d = std::getenv("ULMO_CAPTURAS"); d && *d) pasta = d;
    auto gravados = CapturarTelasGrade(pasta);
    QCOMPARE(gravados.size(), size_t(7));
    for (const auto& p : gravados) {
      QImage img(QString::fromStdString(p.string()));
      QVERIFY2(!img.isNull(), p.c_str());
      QVERIFY(img.width() >= 1000);
    }
  }
};

QTEST_MAIN(TTelaGradeTest)
#include "TelaGrade_U_test.moc"
