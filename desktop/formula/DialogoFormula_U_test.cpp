// The formula editor through its widgets: over a small set of balances for the cursor work, and
// over the demo database's TCE-SE company through the revenue grid's button, to the saved row.
#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "BancoTeste_U.h"
#include "Demo_U.h"
#include "DialogoFormula_U.h"
#include "ModeloSaldos_U.h"
#include "ModuleLoader_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

using namespace nFramework;
using namespace nDesktop;

namespace {

template <class T>
T* Aberto() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

// Runs aPasso once the dialog the next call opens is up; a failed step leaves none waiting.
void QuandoAbrir(std::function<void(TDialogoFormula&)> aPasso) {
  QTimer::singleShot(0, [aPasso] {
    TDialogoFormula* d = Aberto<TDialogoFormula>();
    if (!d) return;
    aPasso(*d);
    if (d->isVisible()) d->reject();
  });
}

void Clicar(QWidget& aPai, const char* aBotao) {
  auto* b = aPai.findChild<QPushButton*>(QString::fromLatin1(aBotao));
  QVERIFY2(b, aBotao);
  QTest::mouseClick(b, Qt::LeftButton);
}

QPlainTextEdit* Editor(QWidget& aDialogo) { return aDialogo.findChild<QPlainTextEdit*>(QStringLiteral("edtFormula")); }
QString Resultado(QWidget& aDialogo) { return aDialogo.findChild<QLabel*>(QStringLiteral("lblResultado"))->text(); }

// The row of the accounts' grid showing that account.
int LinhaDaConta(QTableView* aGrade, const QString& aConta) {
  for (int r = 0; r < aGrade->model()->rowCount(); ++r)
    if (aGrade->model()->index(r, TModeloSaldos::colConta).data().toString() == aConta) return r;
  return -1;
}

}  // namespace

class TTesteDialogoFormula : public QObject {
  Q_OBJECT
  QTemporaryDir FPasta;
  std::unique_ptr<TnDMConexao> FConexao;
  TnBibliotecas FModulos;
  TClientDataSet FSaldos;
  TnDMRegraBaseCalculo FRegra;
  std::string FBanco;

 private slots:
  void initTestCase() {
    QVERIFY(FPasta.isValid());
    FBanco = FPasta.filePath("demo.db").toStdString();
    if (!TestePostgreSQL()) nHost::CriarBancoDemo(FBanco);
    FModulos.CarregarBiblioteca(ULMO_MODULO_GRADES);

    for (const char* c : {"CONTACTB", "CLASSIFCONTA", "DESCRCONTA", "TIPOCONTA", "SALDOANTERIOR", "DEBITO", "CREDITO",
                          "MOVIMENTO", "SALDOATUAL"}) {
      std::string n = c;
      if (n == "CONTACTB" || n == "TIPOCONTA")
        FSaldos.AddFieldDef(n, TFieldType::ftInteger);
      else if (n == "CLASSIFCONTA" || n == "DESCRCONTA")
        FSaldos.AddFieldDef(n, TFieldType::ftString, 100);
      else
        FSaldos.AddFieldDef(n, TFieldType::ftFloat);
    }
    FSaldos.CreateDataSet();
    FSaldos.AppendRecord({4, "4", "RECEITAS", 1, 0.0, 0.0, 1500.5, 1500.5, 1500.5});
    FSaldos.AppendRecord({20, "4.1.1.01.001", "Venda de Serviços de Água", 2, 0.0, 0.0, 1200.25, 1200.25, 1200.25});
    FSaldos.AppendRecord({21, "4.1.1.01.002", "Tarifa de Esgoto", 2, 0.0, 300.0, 600.25, 300.25, 300.25});
    FRegra.RegistrarCTB();
    FRegra.SetcdsPlano(&FSaldos, "Saldos de 01/01/2024 a 31/12/2024");
  }
  void init() {
    std::filesystem::path copia = FPasta.filePath("caso.db").toStdString();
    if (TestePostgreSQL()) {
      FConexao = nHost::AbrirDemoTeste(copia.string());
    } else {
      std::filesystem::copy_file(FBanco, copia, std::filesystem::copy_options::overwrite_existing);
      FConexao = TnDMConexao::AbrirSQLite(copia.string());
    }
    SetConexao(FConexao.get());
  }
  void cleanup() {
    TnDMRegraBaseCalculo::SetEditorFormula(nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
    SetConexao(nullptr);
    FConexao.reset();
  }
  void cleanupTestCase() { FModulos.Descarregar(); }

  void oModeloMostraAsContasComSeusSaldos() {
    TModeloSaldos modelo(FRegra.SaldosCTB());
    QAbstractItemModelTester tester(&modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(modelo.rowCount(), 3);
    QCOMPARE(modelo.index(1, TModeloSaldos::colConta).data().toString(), QStringLiteral("20"));
    QCOMPARE(modelo.index(1, TModeloSaldos::colCredito).data().toString(), QStringLiteral("1.200,25"));
    QCOMPARE(modelo.index(0, TModeloSaldos::colDescricao).data(Qt::FontRole).value<QFont>().bold(), true);
    QCOMPARE(modelo.index(1, TModeloSaldos::colDescricao).data(Qt::FontRole).isValid(), false);
    QCOMPARE(modelo.headerData(TModeloSaldos::colSaldoAtual, Qt::Horizontal).toString(), QStringLiteral("Saldo Atual"));
    QCOMPARE(modelo.Conta(2), QStringLiteral("21"));
  }

  void inserirContaEFuncaoPoemNoCursor() {
    TDialogoFormula dialogo("+ 1", FRegra);
    dialogo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogo));
    QPlainTextEdit* editor = Editor(dialogo);
    QTextCursor c = editor->textCursor();
    c.setPosition(0);
    editor->setTextCursor(c);

    auto* funcoes = dialogo.findChild<QTreeWidget*>(QStringLiteral("listaFuncoes"));
    QCOMPARE(funcoes->topLevelItemCount(), static_cast<int>(FRegra.FuncoesCTB().size()));
    QTreeWidgetItem* credito = funcoes->findItems(QStringLiteral("CREDITO(conta)"), Qt::MatchExactly).value(0);
    QVERIFY(credito);
    funcoes->setCurrentItem(credito);
    Clicar(dialogo, "btnInserir");
    QCOMPARE(editor->toPlainText(), QStringLiteral("CREDITO()+ 1"));
    QCOMPARE(editor->textCursor().position(), 8);

    // The search narrows the accounts; a double-click puts the code at the cursor.
    auto* pesquisa = dialogo.findChild<QLineEdit*>(QStringLiteral("edtPesquisa"));
    auto* contas = dialogo.findChild<QTableView*>(QStringLiteral("gradeContas"));
    QTest::keyClicks(pesquisa, "esgoto");
    QCOMPARE(contas->model()->rowCount(), 1);
    QModelIndex celula = contas->model()->index(0, TModeloSaldos::colDescricao);
    contas->setCurrentIndex(celula);
    QVERIFY(contas->visualRect(celula).isValid());
    // A double-click as the platform delivers it: a click, then the double-click event.
    const QPoint ponto = contas->visualRect(celula).center();
    QTest::mouseClick(contas->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseDClick(contas->viewport(), Qt::LeftButton, {}, ponto);
    QCOMPARE(editor->toPlainText(), QStringLiteral("CREDITO(21)+ 1"));
    QCOMPARE(editor->textCursor().position(), 10);

    // A function wraps the selected code.
    pesquisa->clear();
    QCOMPARE(contas->model()->rowCount(), 3);
    c = editor->textCursor();
    c.setPosition(editor->toPlainText().size());
    editor->setTextCursor(c);
    editor->insertPlainText(QStringLiteral(" - 20"));
    c = editor->textCursor();
    c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 2);
    editor->setTextCursor(c);
    funcoes->setCurrentItem(funcoes->findItems(QStringLiteral("DEBITO(conta)"), Qt::MatchExactly).value(0));
    Clicar(dialogo, "btnInserir");
    QCOMPARE(editor->toPlainText(), QStringLiteral("CREDITO(21)+ 1 - DEBITO(20)"));
    QCOMPARE(dialogo.Formula(), std::string("CREDITO(21)+ 1 - DEBITO(20)"));
  }

  void verificarMostraOValorOuARecusa() {
    TDialogoFormula dialogo("CREDITO(20) + DEBITO(21) * 2", FRegra);
    dialogo.show();
    QVERIFY(dialogo.Verificar());
    QVERIFY2(Resultado(dialogo).contains(QStringLiteral("Regra válida.")), qPrintable(Resultado(dialogo)));
    QVERIFY2(Resultado(dialogo).contains(QStringLiteral("Valor: 1.800,25 (Saldos de 01/01/2024 a 31/12/2024)")),
             qPrintable(Resultado(dialogo)));
    Editor(dialogo)->setPlainText(QStringLiteral("CREDITO(20) +"));
    QVERIFY(Resultado(dialogo).isEmpty());  // an edit drops the last outcome
    Clicar(dialogo, "btnVerificar");
    QVERIFY2(Resultado(dialogo).contains(QStringLiteral("Regra definida é inválida.")), qPrintable(Resultado(dialogo)));
    QVERIFY2(Resultado(dialogo).contains(QStringLiteral("posição 14")), qPrintable(Resultado(dialogo)));
    // No rule at all is a choice, not a mistake.
    Editor(dialogo)->setPlainText(QStringLiteral("  \n "));
    QVERIFY(dialogo.Verificar());
    QCOMPARE(dialogo.Formula(), std::string());
  }

  void okRecusaUmaRegraInvalidaECancelarDevolveOTexto() {
    QString aviso;
    bool continuouAberto = false;
    QuandoAbrir([&](TDialogoFormula& d) {
      Editor(d)->setPlainText(QStringLiteral("SALDOATUAL(20) * (CREDITO(21)"));
      QTimer::singleShot(0, [&] {
        if (auto* m = Aberto<QMessageBox>()) {
          aviso = m->text();
          m->accept();
        }
      });
      Clicar(d, "btnOK");
      continuouAberto = d.isVisible();
      Clicar(d, "btnCancelar");
    });
    QCOMPARE(EditarFormula("SALDOATUAL(20)", FRegra), std::string("SALDOATUAL(20)"));
    QCOMPARE(aviso, QStringLiteral("Regra definida é inválida."));
    QVERIFY(continuouAberto);
  }

  // Through the revenue grid of the demo's TCE-SE company, as the grid's button opens it: the
  // company's balances listed, the rule typed and checked, the row changed and saved.
  void umaRegraDigitadaNaGradeDeReceitasESalva() {
    InstalarEditorFormula();
    auto grade = nComoClasse<TnDMPowerParam>(nCriarInstancia("TUlmoDPTCESESagresReceita"));
    QVERIFY(grade);
    grade->Param("pCodigoEmpresa").SetValue("4");
    nExecutarProcesso(*grade);
    TClientDataSet& dados = grade->ComponentByName<TClientDataSet>("curDados");
    QVERIFY(dados.Locate("TipoReceita", {TVariant(1)}));
    QVERIFY(dados.FieldByName("RegraCalculo").IsNull());
    std::string conta = ExecutarSQL("select CONTACTB from PLANOESPEC where CODIGOEMPRESA = 4 and "
                                    "CLASSIFCONTA = '4.1.1.01.001'")->Fields(0).AsString();
    QVERIFY(!conta.empty());

    QString saldos, resultado, credito;
    QuandoAbrir([&](TDialogoFormula& d) {
      saldos = d.findChild<QLabel*>(QStringLiteral("lblSaldos"))->text();
      auto* contas = d.findChild<QTableView*>(QStringLiteral("gradeContas"));
      int linha = LinhaDaConta(contas, QString::fromStdString(conta));
      QVERIFY(linha >= 0);
      credito = contas->model()->index(linha, TModeloSaldos::colCredito).data().toString();
      QTest::keyClicks(Editor(d), "credito()");
      QTest::keyClick(Editor(d), Qt::Key_Left);
      contas->setCurrentIndex(contas->model()->index(linha, TModeloSaldos::colConta));
      Clicar(d, "btnInserir");
      Clicar(d, "btnVerificar");
      resultado = Resultado(d);
      Clicar(d, "btnOK");
    });
    TField& regra = dados.FieldByName("RegraCalculo");
    regra.OnButtonClick(regra);
    QCOMPARE(saldos, QStringLiteral("Saldos de 01/01/2024 a 31/12/2024"));
    QVERIFY2(credito != QStringLiteral("0,00"), qPrintable(credito));
    QVERIFY2(resultado.contains(QStringLiteral("Valor: ") + credito + QStringLiteral(" (")), qPrintable(resultado));
    const std::string esperada = "credito(" + conta + ")";
    QCOMPARE(regra.AsString(), esperada);
    QCOMPARE(dados.FieldByName("Alterado").AsInteger(), 1);
    QVERIFY(grade->ExecutarAcao("actSalvar"));
    auto gravada = ExecutarSQL("select REGRACALCULOCTB from TCESESAGRESRECEITA where CODIGOEMPRESA = 4 and TIPORECEITA = 1");
    QVERIFY(!gravada->Eof());
    QCOMPARE(gravada->Fields(0).AsString(), esperada);
  }

  void cancelarNaGradeNaoMudaNada() {
    InstalarEditorFormula();
    auto grade = nComoClasse<TnDMPowerParam>(nCriarInstancia("TUlmoDPTCESESagresReceita"));
    QVERIFY(grade);
    grade->Param("pCodigoEmpresa").SetValue("4");
    nExecutarProcesso(*grade);
    TClientDataSet& dados = grade->ComponentByName<TClientDataSet>("curDados");
    QVERIFY(dados.Locate("TipoReceita", {TVariant(5)}));
    const std::string antes = dados.FieldByName("RegraCalculo").AsString();
    QVERIFY(!antes.empty());
    bool abriu = false;
    QuandoAbrir([&](TDialogoFormula& d) {
      abriu = Editor(d)->toPlainText() == QString::fromStdString(antes);
      Editor(d)->setPlainText(QStringLiteral("DEBITO(1)"));
      Clicar(d, "btnCancelar");
    });
    TField& regra = dados.FieldByName("RegraCalculo");
    regra.OnButtonClick(regra);
    QVERIFY(abriu);
    QCOMPARE(regra.AsString(), antes);
    QCOMPARE(dados.FieldByName("Alterado").AsInteger(), 0);
    QCOMPARE(dados.State(), TDataSetState::dsBrowse);
  }

  void capturas() {
    auto arquivos = CapturarTelasFormula(FPasta.filePath("telas").toStdString());
    QCOMPARE(arquivos.size(), size_t{2});
    for (const auto& a : arquivos) QVERIFY2(QImage(QString::fromStdString(a.string())).width() > 800, a.c_str());
    if (qEnvironmentVariableIsSet("ULMO_TELAS")) CapturarTelasFormula(qEnvironmentVariable("ULMO_TELAS").toStdString());
  }
};

QTEST_MAIN(TTesteDialogoFormula)
#include "DialogoFormula_U_test.moc"
