// The formula editor's captures, through the revenue grid's own button as the screen presses it.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "ClassRegistry_U.h"
#include "ClientDataSet_U.h"
#include "DialogoFormula_U.h"
#include "Exceptions_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

// Puts the editor back however the capture ends.
struct TEditorInstalado {
  ~TEditorInstalado() { InstalarEditorFormula(); }
};

}  // namespace

std::vector<std::filesystem::path> CapturarTelasFormula(const std::filesystem::path& aPasta) {
  std::filesystem::create_directories(aPasta);
  auto empresa = ExecutarSQL(
      "select T.CODIGOEMPRESA from TCESISTEMAEMPRESA T join TCESISTEMA S on S.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE "
      "where S.SIGLAESTADO = 'SE' order by T.CODIGOEMPRESA");
  if (empresa->Eof()) throw Exception("Nenhuma empresa ligada ao TCE-SE para a captura do editor de fórmulas.");
  auto grade = nComoClasse<TnDMPowerParam>(nCriarInstancia("TUlmoDPTCESESagresReceita"));
  if (!grade) throw EInternalError("TUlmoDPTCESESagresReceita não é um processo");
  grade->Param("pCodigoEmpresa").SetValue(empresa->Fields(0).AsString());
  nExecutarProcesso(*grade);
  TClientDataSet& dados = grade->ComponentByName<TClientDataSet>("curDados");
  // The gross sales, a rule the demo company has.
  if (!dados.Locate("TipoReceita", {TVariant(5)})) dados.First();
  TField& regra = dados.FieldByName("RegraCalculo");
  if (!regra.OnButtonClick) throw EInternalError("a coluna RegraCalculo não tem o botão do editor");

  std::vector<std::filesystem::path> arquivos;
  auto salvar = [&](QWidget& aTela, const char* aNome) {
    QApplication::processEvents();
    std::filesystem::path p = aPasta / aNome;
    if (!aTela.grab().save(QString::fromStdString(p.string()), "PNG"))
      throw EFileError("Não foi possível gravar a imagem " + p.string());
    arquivos.push_back(p);
  };
  TEditorInstalado reinstalar;
  TnDMRegraBaseCalculo::SetEditorFormula([&](const std::string& aFormula, const TnDMRegraBaseCalculo& aRegra) {
    TDialogoFormula dialogo(aFormula, aRegra);
    dialogo.show();
    auto* contas = dialogo.findChild<QTableView*>(QStringLiteral("gradeContas"));
    // The rule's first account, in sight and selected.
    if (contas && contas->model()->rowCount() > 0) {
      int linha = 0;
      const size_t abre = aFormula.find('(');
      const QString conta = QString::fromStdString(abre == std::string::npos ? std::string()
                                                                             : aFormula.substr(abre + 1, aFormula.find(')') - abre - 1));
      for (int r = 0; r < contas->model()->rowCount(); ++r)
        if (contas->model()->index(r, 0).data().toString() == conta) linha = r;
      contas->selectRow(linha);
      contas->scrollTo(contas->model()->index(linha, 0), QAbstractItemView::PositionAtCenter);
    }
    dialogo.Verificar();
    salvar(dialogo, "formula-editor.png");
    auto* editor = dialogo.findChild<QPlainTextEdit*>(QStringLiteral("edtFormula"));
    editor->setPlainText(QString::fromStdString(aFormula) + QStringLiteral(" * (CREDITO(2)"));
    dialogo.Verificar();
    salvar(dialogo, "formula-invalida.png");
    return aFormula;
  });
  regra.OnButtonClick(regra);
  return arquivos;
}

}  // namespace nDesktop
