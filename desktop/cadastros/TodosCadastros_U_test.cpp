// Every register and lookup of the module libraries, loaded by name as the program loads them,
// opens its screen and its forms over the demo database, with a control for each field shown.
#include <QTemporaryDir>
#include <QtTest>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "BancoTeste_U.h"
#include "Demo_U.h"
#include "Exceptions_U.h"
#include "FormCadastro_U.h"
#include "ModeloDataSet_U.h"
#include "ModuleLoader_U.h"
#include "TelaCadastro_U.h"

using namespace nFramework;
using namespace nDesktop;

class TTesteTodosCadastros : public QObject {
  Q_OBJECT
  QTemporaryDir FPasta;
  std::unique_ptr<TnDMConexao> FConexao;
  TnBibliotecas FBibliotecas;

 private slots:
  void initTestCase() {
    QVERIFY(FPasta.isValid());
    std::string banco = FPasta.filePath("demo.db").toStdString();
    FConexao = nHost::AbrirDemoTeste(banco);
    SetConexao(FConexao.get());
    FBibliotecas.Carregar(nConfig().Bibliotecas, PastaPadraoBibliotecas());
  }

  void cleanupTestCase() {
    FBibliotecas.Descarregar();
    SetConexao(nullptr);
    FConexao.reset();
  }

  void cadaCadastroAbreSuaTelaESeuFormulario() {
    TnSelecao::Params().Limpar();
    TnSelecao::Params().Definir("CodigoSistemaTCE", TVariant(1));
    TnSelecao::Params().Definir("CodigoEmpresa", TVariant(1));
    int telas = 0, formularios = 0;
    QStringList falhas;
    for (const std::string& classe : nClassesRegistradas()) {
      auto reg = nComoClasse<TnDMClientDataSet>(nCriarInstancia(classe));
      if (!reg) continue;
      const QString nome = QString::fromStdString(classe);
      try {
        TTelaCadastro tela(classe);
        ++telas;
        // Every column the grid shows is a field the dataset shows.
        int visiveis = 0;
        for (int i = 0; i < tela.Cadastro().nClientDataSet().FieldCount(); ++i)
          visiveis += tela.Cadastro().nClientDataSet().Fields(i).Visible;
        if (tela.Modelo()->columnCount() != visiveis) falhas << nome + ": colunas da grade";
        std::vector<TModoForm> modos = {TModoForm::Consulta};
        if (reg->PegarTipoObjeto() == 1) modos = {TModoForm::Inclusao, TModoForm::Alteracao};
        for (TModoForm modo : modos) {
          std::vector<TVariant> chave;
          if (modo != TModoForm::Inclusao) {
            chave = tela.ChaveSelecionada();
            if (chave.empty()) continue;  // no row under the selection
          }
          TFormCadastro form(&tela, classe, modo, chave);
          ++formularios;
          for (const TnCampoDef& d : form.Cadastro().Campos()) {
            TField* f = form.Cadastro().nClientDataSet().FindField(d.Nome);
            if (f && !f->IsLookup() && d.Visivel && !form.findChild<QWidget*>(QString::fromStdString(d.Nome)))
              falhas << nome + ": sem controle para " + QString::fromStdString(d.Nome);
          }
          form.reject();
        }
      } catch (const Exception& e) {
        falhas << nome + ": " + QString::fromStdString(e.what());
      }
    }
    QVERIFY2(falhas.isEmpty(), qPrintable(falhas.join("\n")));
    // The libraries hold registers of every subsystem: court registers, settings, SAGRES.
    QVERIFY2(telas >= 35, qPrintable(QString::number(telas)));
    QVERIFY(formularios >= telas);
  }
};

QTEST_MAIN(TTesteTodosCadastros)
#include "TodosCadastros_U_test.moc"
