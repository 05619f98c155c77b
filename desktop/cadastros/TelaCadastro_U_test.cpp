// The register screens through their widgets, over a fresh demo database: insert, edit and a
// refused delete; the chart mapping's live rules and its own refusal; the pick dialogs.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "Conexao_U.h"
#include "Contexto_U.h"
#include "BancoTeste_U.h"
#include "Demo_U.h"
#include "DialogoEscolha_U.h"
#include "Exceptions_U.h"
#include "FormCadastro_U.h"
#include "ModeloDataSet_U.h"
#include "SQL_U.h"
#include "TelaCadastro_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

int Contar(const std::string& aSQL) {
  auto d = ExecutarSQL(aSQL);
  return d->Fields(0).AsInteger();
}

std::string Valor(const std::string& aSQL) {
  auto d = ExecutarSQL(aSQL);
  return d->Eof() ? std::string() : d->Fields(0).AsString();
}

// The visible top-level widget of that type (a dialog opened with exec or open).
template <class T>
T* Aberto(const QString& aNome = {}) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible() && (aNome.isEmpty() || t->objectName() == aNome)) return t;
  return nullptr;
}

// Runs aPasso as soon as the dialog the next call opens is up; a step that failed leaves no
// dialog waiting.
template <class T>
void QuandoAbrir(std::function<void()> aPasso) {
  QTimer::singleShot(0, [aPasso] {
    aPasso();
    if (auto* d = Aberto<T>()) d->reject();
  });
}

// The visible child of that name: a message box closed with WA_DeleteOnClose lingers until
// its deferred deletion.
template <class T>
T* Visivel(QWidget* aPai, const QString& aNome) {
  for (T* t : aPai->findChildren<T*>(aNome))
    if (t->isVisible()) return t;
  return nullptr;
}

void Clicar(QWidget* aPai, const QString& aBotao) {
  auto* b = aPai->findChild<QAbstractButton*>(aBotao);
  QVERIFY2(b, qPrintable("botão " + aBotao));
  QVERIFY2(b->isEnabled(), qPrintable("botão " + aBotao + " desabilitado"));
  QTest::mouseClick(b, Qt::LeftButton);
}

void Digitar(QWidget* aForm, const QString& aCampo, const QString& aTexto) {
  auto* e = aForm->findChild<QLineEdit*>(aCampo);
  QVERIFY2(e, qPrintable("campo " + aCampo));
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  // keyClicks takes ASCII only: accented letters go as key events with their text.
  for (QChar c : aTexto) {
    if (c.unicode() < 128) {
      QTest::keyClick(e, c.toLatin1());
      continue;
    }
    QTest::sendKeyEvent(QTest::Press, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void Escolher(QWidget* aForm, const QString& aCampo, const QString& aTitulo) {
  auto* c = aForm->findChild<QComboBox*>(aCampo);
  QVERIFY2(c, qPrintable("lista " + aCampo));
  int i = c->findText(aTitulo);
  QVERIFY2(i >= 0, qPrintable(aTitulo));
  c->setCurrentIndex(i);
}

bool Obrigatorio(QWidget* aForm, const QString& aCampo) {
  auto* r = aForm->findChild<QLabel*>(aCampo + "_Rotulo");
  return r && r->property("obrigatorio").toBool();
}

}  // namespace

class TTesteTelaCadastro : public QObject {
  Q_OBJECT
  QTemporaryDir FPasta;
  std::unique_ptr<TnDMConexao> FConexao;

 private slots:
  void init() {
    QVERIFY(FPasta.isValid());
    std::string banco = FPasta.filePath("demo.db").toStdString();
    std::filesystem::remove(banco);
    FConexao = nHost::AbrirDemoTeste(banco);
    SetConexao(FConexao.get());
    TnSelecao::Params().Limpar();
    TnSelecao::Params().Definir("CodigoSistemaTCE", TVariant(1));
    TnSelecao::Params().Definir("CodigoEmpresa", TVariant(1));
  }

  void cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
    SetConexao(nullptr);
    FConexao.reset();
  }

  void incluiAlteraERecusaExclusao() {
    TTelaCadastro tela("TUlmoDMTipoContaCtb");
    tela.show();
    QAbstractItemModelTester tester(tela.Proxy(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int antes = Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1");
    QCOMPARE(tela.Proxy()->rowCount(), antes);
    QVERIFY(antes > 0);

    // Insert: the selection's court system is given and locked, the code proposed on save.
    Clicar(&tela, "Incluir");
    TFormCadastro* form = tela.Formulario();
    QVERIFY(form);
    auto* sistema = form->findChild<QLineEdit*>("CODIGOSISTEMATCE");
    QVERIFY(sistema);
    QCOMPARE(sistema->text(), QString("1"));
    QVERIFY(!sistema->isEnabled());
    QVERIFY(!form->findChild<QLabel*>("CODIGOSISTEMATCE_Descricao")->text().isEmpty());
    // The code is proposed on save: not marked required.
    QVERIFY(!Obrigatorio(form, "CODIGOTIPOCONTATCE"));
    QVERIFY(Obrigatorio(form, "DESCRTIPOCONTATCE"));
    // Saved without a description: the register refuses, the form says so and stays open.
    Escolher(form, "BANCARIA", "Não");
    Clicar(form, "Gravar");
    QVERIFY(tela.Formulario());
    QVERIFY2(form->Mensagem().contains("\"Descrição\" deve ser informado"), qPrintable(form->Mensagem()));
    QCOMPARE(Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1"), antes);
    Digitar(form, "DESCRTIPOCONTATCE", "Conta Vinculada à Obra");
    Clicar(form, "Gravar");
    QTRY_VERIFY(!tela.Formulario());
    QCOMPARE(Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1"), antes + 1);
    const std::string codigo =
        Valor("select CODIGOTIPOCONTATCE from TCETIPOCONTACTB where DESCRTIPOCONTATCE = 'Conta Vinculada à Obra'");
    QVERIFY(!codigo.empty());
    QCOMPARE(tela.Proxy()->rowCount(), antes + 1);
    // The row saved is the one selected.
    std::vector<TVariant> chave = tela.ChaveSelecionada();
    QCOMPARE(chave.size(), size_t(2));
    QCOMPARE(VarToStr(chave[1]), codigo);

    // Edit the row selected: the key stays locked, the new text is written.
    Clicar(&tela, "Alterar");
    form = tela.Formulario();
    QVERIFY(form);
    QVERIFY(!form->findChild<QLineEdit*>("CODIGOTIPOCONTATCE")->isEnabled());
    QCOMPARE(form->findChild<QLineEdit*>("DESCRTIPOCONTATCE")->text(), QString("Conta Vinculada à Obra"));
    Digitar(form, "DESCRTIPOCONTATCE", "Conta Vinculada ao Convênio");
    Escolher(form, "BANCARIA", "Sim");
    Clicar(form, "Gravar");
    QTRY_VERIFY(!tela.Formulario());
    QCOMPARE(Valor("select DESCRTIPOCONTATCE || '/' || BANCARIA from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1 and "
                   "CODIGOTIPOCONTATCE = " + codigo),
             std::string("Conta Vinculada ao Convênio/1"));

    // Delete a type the chart mapping uses: confirmed, then refused in the register's words.
    const std::string usado =
        Valor("select CODIGOTIPOCONTATCE from TCEPLANOPLESPEC where CODIGOSISTEMATCE = 1 and CODIGOTIPOCONTATCE is "
              "not null limit 1");
    QVERIFY(!usado.empty());
    QVERIFY(tela.SelecionarChave({TVariant(1), TVariant(std::stoi(usado))}));
    Clicar(&tela, "Excluir");
    auto* pergunta = Visivel<QMessageBox>(&tela, "ConfirmarExclusao");
    QVERIFY(pergunta);
    QVERIFY(pergunta->text().contains("Confirma a exclusão"));
    Clicar(pergunta, "Sim");
    QMessageBox* aviso = nullptr;
    QTRY_VERIFY((aviso = Visivel<QMessageBox>(&tela, "Aviso")) != nullptr);
    QCOMPARE(aviso->text(), QString("O registro não pode ser excluído: ele está sendo usado em outro cadastro."));
    Clicar(aviso, "OK");
    QCOMPARE(Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1 and CODIGOTIPOCONTATCE = " +
                    usado),
             1);
    QCOMPARE(tela.Proxy()->rowCount(), antes + 1);

    // "Não" deletes nothing; "Sim" on an unused row deletes it.
    QVERIFY(tela.SelecionarChave({TVariant(1), TVariant(std::stoi(codigo))}));
    Clicar(&tela, "Excluir");
    QTRY_VERIFY((pergunta = Visivel<QMessageBox>(&tela, "ConfirmarExclusao")) != nullptr);
    Clicar(pergunta, "Não");
    QTRY_VERIFY(!Visivel<QMessageBox>(&tela, "ConfirmarExclusao"));
    QCOMPARE(Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1"), antes + 1);
    Clicar(&tela, "Excluir");
    QTRY_VERIFY((pergunta = Visivel<QMessageBox>(&tela, "ConfirmarExclusao")) != nullptr);
    Clicar(pergunta, "Sim");
    QTRY_COMPARE(tela.Proxy()->rowCount(), antes);
    QCOMPARE(Contar("select count(*) from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1"), antes);
  }

  void falhaDoBancoEDitaEATelaFica() {
    TTelaCadastro tela("TUlmoDMTipoContaCtb");
    tela.show();
    const int linhas = tela.Proxy()->rowCount();
    // The table goes away behind the screen: reading it again fails, and the screen says so.
    ExecutarSQLDireto("alter table TCETIPOCONTACTB rename to TCETIPOCONTACTB_FORA");
    Clicar(&tela, "Atualizar");
    QMessageBox* aviso = nullptr;
    QTRY_VERIFY((aviso = Visivel<QMessageBox>(&tela, "Aviso")) != nullptr);
    QVERIFY2(aviso->text().contains("TCETIPOCONTACTB"), qPrintable(aviso->text()));
    Clicar(aviso, "OK");
    QCOMPARE(tela.Proxy()->rowCount(), linhas);
    ExecutarSQLDireto("alter table TCETIPOCONTACTB_FORA rename to TCETIPOCONTACTB");
  }

  void gradeAplicaSelecaoEPesquisa() {
    const int daEmpresa = Contar("select count(*) from TCEPLANOPLESPEC where CODIGOSISTEMATCE = 1 and CODIGOEMPRESA = 1");
    QVERIFY(daEmpresa > 0);
    QVERIFY(Contar("select count(*) from TCEPLANOPLESPEC") > daEmpresa);
    TTelaCadastro tela("TUlmoDMPlanoPlEspec");
    QCOMPARE(tela.Proxy()->rowCount(), daEmpresa);
    TModeloDataSet* m = tela.Modelo();
    // Lists by their captions in the grid, as in the form.
    int natureza = m->ColunaDoCampo("TIPONATURSALDO");
    QVERIFY(natureza >= 0);
    QCOMPARE(m->headerData(natureza, Qt::Horizontal).toString(), QString("Tipo Natureza Saldo"));
    // The court account is captioned by its dictionary entry, not shown by its field name.
    QCOMPARE(m->headerData(m->ColunaDoCampo("CONTATCE"), Qt::Horizontal).toString(), QString("Conta TCE"));
    QStringList naturezas;
    for (int i = 0; i < m->rowCount(); ++i) naturezas << m->index(i, natureza).data().toString();
    QVERIFY(naturezas.contains("Devedor"));
    QVERIFY(!naturezas.contains("1"));
    QTest::keyClicks(tela.Pesquisa(), "credor");
    QVERIFY(tela.Proxy()->rowCount() > 0);
    QVERIFY(tela.Proxy()->rowCount() < daEmpresa);
    QCOMPARE(tela.Proxy()->rowCount(),
             Contar("select count(*) from TCEPLANOPLESPEC where CODIGOSISTEMATCE = 1 and CODIGOEMPRESA = 1 and "
                    "TIPONATURSALDO = 2"));
    // Atualizar follows a selection changed since the screen opened.
    tela.Pesquisa()->clear();
    TnSelecao::Params().Definir("CodigoSistemaTCE", TVariant(2));
    TnSelecao::Params().Definir("CodigoEmpresa", TVariant(2));
    Clicar(&tela, "Atualizar");
    const int daOutra = Contar("select count(*) from TCEPLANOPLESPEC where CODIGOSISTEMATCE = 2 and CODIGOEMPRESA = 2");
    QVERIFY(daOutra > 0);
    QCOMPARE(tela.Proxy()->rowCount(), daOutra);
    const int empresa = m->ColunaDoCampo("CODIGOEMPRESA");
    for (int i = 0; i < m->rowCount(); ++i) QCOMPARE(m->index(i, empresa).data().toString(), QString("2"));
    QVERIFY(tela.findChild<QLabel*>("Selecao")->text().contains("Empresa: 2 - "));
    // Lookups open as screens too, without the editing buttons.
    TTelaCadastro consulta("TUlmoDCTipoContaCtb");
    QVERIFY(!consulta.findChild<QPushButton*>("Incluir"));
    QVERIFY(!consulta.findChild<QPushButton*>("Excluir"));
    QVERIFY(consulta.findChild<QPushButton*>("Visualizar"));
  }

  void recusaSemSelecaoOuQuandoNaoECadastro() {
    TnSelecao::Params().Limpar();
    try {
      TTelaCadastro tela("TUlmoDMPlanoPlEspec");
      QFAIL("abriu sem a seleção");
    } catch (const Exception& e) {
      QVERIFY2(QString(e.what()).contains("selecione antes: Sistema TCE, Empresa"), e.what());
    }
    // The work-area variant asks for the company alone.
    TnSelecao::Params().Definir("CodigoEmpresa", TVariant(1));
    TTelaCadastro area("TUlmoDMPlanoPlEspecAreaTrabalho");
    QCOMPARE(area.Proxy()->rowCount(), Contar("select count(*) from TCEPLANOPLESPEC where CODIGOEMPRESA = 1"));
    QVERIFY_THROWS_EXCEPTION(Exception, TTelaCadastro("TUlmoDPGerarArquivosCtb"));
  }

  void mapeamentoRegrasAoVivoERecusaDoCadastro() {
    auto d = ExecutarSQL(
        "select CONTACTB, DATAINICIOPLANO, DATAINICIOPLANO || '' from TCEPLANOPLESPEC where CODIGOEMPRESA = 1 and "
        "CODIGOSISTEMATCE = 1 and CODIGOBANCO is null order by CONTACTB limit 1");
    QVERIFY(!d->Eof());
    std::vector<TVariant> chave = {TVariant(1), d->Fields(0).Value(), d->Fields(1).Value()};
    const std::string onde = " from TCEPLANOPLESPEC where CODIGOEMPRESA = 1 and CONTACTB = " + d->Fields(0).AsString() +
                             " and DATAINICIOPLANO = '" + d->Fields(2).AsString() + "'";
    const std::string regras = std::string("select ") +
                               (TestePostgreSQL() ? "string_agg(TIPOSUPERAVITFINANC || CODIGOTIPOCONTATCE, ',')"
                                                  : "group_concat(TIPOSUPERAVITFINANC || CODIGOTIPOCONTATCE)") +
                               " from TCEPLANOPLESPEC";
    const std::string antes = Valor(regras);
    TFormCadastro form(nullptr, "TUlmoDMPlanoPlEspec", TModoForm::Alteracao, chave);
    form.show();
    // SC: the TCE/PR identifier is off, the account type on and required.
    QVERIFY(!form.findChild<QComboBox*>("IDENTIFIPATQUALITATIVA")->isEnabled());
    QVERIFY(form.findChild<QLineEdit*>("CODIGOTIPOCONTATCE")->isEnabled());
    QVERIFY(Obrigatorio(&form, "CODIGOTIPOCONTATCE"));
    QVERIFY(!Obrigatorio(&form, "CODIGOBANCO"));
    QVERIFY(!form.findChild<QLineEdit*>("CODIGOEMPRESA")->isEnabled());  // key kept once stored
    QVERIFY(!form.findChild<QLabel*>("CONTATCE_Descricao")->text().isEmpty());
    // A bank account type makes the bank data required at once; another frees it.
    const QString bancaria =
        QString::fromStdString(Valor("select CODIGOTIPOCONTATCE from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1 and "
                                     "BANCARIA = '1' limit 1"));
    const QString outra =
        QString::fromStdString(Valor("select CODIGOTIPOCONTATCE from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1 and "
                                     "BANCARIA = '0' limit 1"));
    Digitar(&form, "CODIGOTIPOCONTATCE", bancaria);
    QVERIFY(Obrigatorio(&form, "CODIGOBANCO"));
    QVERIFY(Obrigatorio(&form, "NUMEROCONTA"));
    Digitar(&form, "CODIGOTIPOCONTATCE", outra);
    QVERIFY(!Obrigatorio(&form, "CODIGOBANCO"));
    // The register's own refusal: a TCE/PR code on an SC row. Nothing is written.
    Escolher(&form, "TIPOSUPERAVITFINANC", "Financeiro - 'F'");
    Clicar(&form, "Gravar");
    QVERIFY(form.isVisible());
    QVERIFY2(form.Mensagem().contains("válida apenas para o estado do Paraná"), qPrintable(form.Mensagem()));
    QCOMPARE(Valor(regras), antes);
    // Mended in the same form, it is saved.
    Escolher(&form, "TIPOSUPERAVITFINANC", "Mista/Híbrida");
    Clicar(&form, "Gravar");
    QVERIFY2(form.Mensagem().isEmpty(), qPrintable(form.Mensagem()));
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(Valor("select TIPOSUPERAVITFINANC || CODIGOTIPOCONTATCE" + onde), "X" + outra.toStdString());
  }

  void escolhaDevolveAChaveEscolhida() {
    const std::string esperado =
        Valor("select CODIGOTIPOCONTATCE from TCETIPOCONTACTB where CODIGOSISTEMATCE = 1 and DESCRTIPOCONTATCE = "
              "'Aplicação Financeira'");
    QVERIFY(!esperado.empty());
    bool viu = false;
    QuandoAbrir<TDialogoEscolha>([&] {
      auto* d = Aberto<TDialogoEscolha>();
      QVERIFY(d);
      QTest::keyClicks(d->Pesquisa(), "aplicacao");
      QCOMPARE(d->Grade()->model()->rowCount(), 1);
      QModelIndex i = d->Grade()->model()->index(0, 1);
      // A view takes a double click on the row its press went to.
      QTest::mouseClick(d->Grade()->viewport(), Qt::LeftButton, {}, d->Grade()->visualRect(i).center());
      QTest::mouseDClick(d->Grade()->viewport(), Qt::LeftButton, {}, d->Grade()->visualRect(i).center());
      viu = true;
    });
    std::optional<std::string> r = EscolherDoCadastro(nullptr, "TUlmoDCTipoContaCtb", "", "", "CODIGOSISTEMATCE = 1");
    QVERIFY(viu);
    QVERIFY(r);
    QCOMPARE(*r, esperado);

    // Cancelled: nothing. The value held is selected on opening and OK returns it.
    QuandoAbrir<TDialogoEscolha>([&] { Clicar(Aberto<TDialogoEscolha>(), "Cancelar"); });
    QVERIFY(!EscolherDoCadastro(nullptr, "TUlmoDCTipoContaCtb", "CODIGOTIPOCONTATCE", "1", "CODIGOSISTEMATCE = 1"));
    QuandoAbrir<TDialogoEscolha>([&] { Clicar(Aberto<TDialogoEscolha>(), "OK"); });
    r = EscolherDoCadastro(nullptr, "TUlmoDCTipoContaCtb", "CODIGOTIPOCONTATCE", esperado, "CODIGOSISTEMATCE = 1");
    QVERIFY(r);
    QCOMPARE(*r, esperado);
  }

  void escolhaDeVariosMarcaELevaOsMarcados() {
    QuandoAbrir<TDialogoEscolha>([&] {
      auto* d = Aberto<TDialogoEscolha>();
      QVERIFY(d);
      QAbstractItemModel* m = d->Grade()->model();
      // The value held comes marked; one more is marked by its check box.
      int marcadas = 0;
      for (int i = 0; i < m->rowCount(); ++i) marcadas += m->index(i, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
      QCOMPARE(marcadas, 1);
      QTest::keyClicks(d->Pesquisa(), "sagres");
      QCOMPARE(m->rowCount(), 1);
      QVERIFY(m->setData(m->index(0, 0), Qt::Checked, Qt::CheckStateRole));
      Clicar(d, "OK");
    });
    std::optional<std::vector<std::string>> r =
        EscolherVariosDoCadastro(nullptr, "TUlmoDCSistema", "CODIGOSISTEMATCE", {"1"});
    QVERIFY(r);
    std::vector<std::string> esperado = {
        Valor("select CODIGOSISTEMATCE from TCESISTEMA where SIGLAESTADO = 'SE' order by 1 limit 1"), "1"};
    QCOMPARE(*r, esperado);
  }

  void capturaAsTelas() {
    TnSelecao::Params().Limpar();
    auto arquivos = CapturarTelasCadastro(FPasta.filePath("telas").toStdString());
    QCOMPARE(arquivos.size(), size_t(4));
    for (const auto& a : arquivos) {
      QImage imagem(QString::fromStdString(a.string()));
      QVERIFY2(!imagem.isNull(), a.c_str());
      QVERIFY(imagem.width() >= 600);
    }
    // The capture leaves the user's selection as it found it.
    QCOMPARE(TnSelecao::GetParams().Count(), size_t(0));
    if (qEnvironmentVariableIsSet("ULMO_TELAS")) CapturarTelasCadastro(qEnvironmentVariable("ULMO_TELAS").toStdString());
  }
};

QTEST_MAIN(TTesteTelaCadastro)
#include "TelaCadastro_U_test.moc"
