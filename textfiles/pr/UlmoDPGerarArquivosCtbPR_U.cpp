#include "UlmoDPGerarArquivosCtbPR_U.h"

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Conexao_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "UlmoArqPRGerarArquivo_U.h"
#include "UlmoParametros_U.h"
#include "UlmoMenuRegra_U.h"
#include "Variant_U.h"

namespace nUlmoPR {

using namespace nFramework;

TUlmoDPGerarArquivosCtbPR::TUlmoDPGerarArquivosCtbPR() {
  SetCaption("Gerar Arquivos Contábeis - PR");
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe as empresas para geração"});
  AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pIdPessoa", .Caption = "Identificador Pessoa/TCE", .Dicionario = "DICNUMERICO",
            .Obrigatorio = true,
            .Hint = "Informe o código identificador da Entidade encarregada pelo envio dos dados atribuído pelo "
                    "Cadastro Interno do Tribunal de Contas"});
  AddParam({.Alias = "pIdPessoaEntidade", .Caption = "Identificador Pessoa Entidade/TCE", .Dicionario = "DICNUMERICO",
            .Hint = "Informe o código identificador da Entidade atribuído pelo Cadastro Interno do Tribunal de Contas "
                    "que identifica a pessoa jurídica a que os dados se referem"});
  AddParam({.Alias = "pGerarPessoa", .Caption = "Pessoa SEICED", .Dicionario = "DICSIMNAO", .Padrao = "0",
            .Obrigatorio = true, .Hint = "Informe se deve gerar o arquivo PessoaSEICED", .Separador = "Tabelas a Gerar"});
  AddParam({.Alias = "pGerarPlanoContas", .Caption = "Plano de Contas TCE", .Dicionario = "DICSIMNAO", .Padrao = "0",
            .Obrigatorio = true, .Hint = "Informe se deve gerar o arquivo PlanoContabil"});
  AddParam({.Alias = "pGerarSaldoCtb", .Caption = "Saldo Contábil Exercício Anterior", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Hint = "Informe se deve gerar o arquivo SaldoContabilExercicioAnterior"});
  AddParam({.Alias = "pGerarMovimentoCtb", .Caption = "Movimento Contábil Mensal", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Hint = "Informe se deve gerar o arquivo MovimentoContabilMensal"});
  AddParam({.Alias = "pTipoMovimentoCtb", .Caption = "Tipo Movimento Contábil", .Padrao = "1",
            .Lista = "Abertura do Exercício=1;Movimento Normal=2;Encerramento do Exercício=3;Ajustes de Exercícios "
                     "Anteriores=4",
            .ExpressaoObrigatorio = "IGUAL ( PGERARMOVIMENTOCTB , 1 )"});
  AddParam({.Alias = "pPlanoEstatal", .Caption = "Plano de Contas Estatal", .Padrao = "0", .Obrigatorio = true,
            .Lista = "Não=1;Movimento=2;Completo=3"});
  AddParam({.Alias = "pBalanceteEstatal", .Caption = "Balancete Mensal Estatal", .Dicionario = "DICSIMNAO",
            .Padrao = "1", .Obrigatorio = true});
  AddParam({.Alias = "pBens", .Caption = "Bens", .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true});
  AddParam({.Alias = "pCompactarArq", .Caption = "Compactar Arquivos", .Dicionario = "DICSIMNAO", .Padrao = "0",
            .Obrigatorio = true, .Hint = "Agrupa os arquivos gerados em um arquivo compactado preparado para o envio",
            .Separador = "Arquivo"});
  AddParam({.Alias = "pPastaDestino", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO", .Obrigatorio = true});
}

void TUlmoDPGerarArquivosCtbPR::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                 const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPGerarArquivosCtbPR::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgTreeExibir(true);
  SetOpcoesProcesso({1, 0});
}

namespace {

// The court's identifier of a person: a whole number of at least 1 that fits the files' 32-bit
// field. Read with a default of 0, "1.5" or "-1" would have named the files and the ZIP 0.
void ValidarIdentificador(const TnDMPowerParam& AProcesso, const char* AAlias, const std::string& AMensagem,
                          bool AOpcional) {
  std::string texto = Trim(AProcesso.Param(AAlias).AsString());
  if (AOpcional && texto.empty()) return;
  int64_t id = 0;
  if (!TryStrToInt64(texto, id) || id < 1 || id > 2147483647) throw EnParam(AProcesso.Param(AAlias), AMensagem);
}

}  // namespace

void TUlmoDPGerarArquivosCtbPR::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // The company must be one: the run would otherwise write its files empty.
  nUlmo::LerEmpresaParametro(*this);
  // Each date first: an empty or impossible end date is no end before the start.
  nUlmo::LerPeriodoParametros(*this, "pDataInicial", "pDataFinal");
  ValidarIdentificador(*this, "pIdPessoa", "Identificador Pessoa/TCE inválido!", false);
  ValidarIdentificador(*this, "pIdPessoaEntidade", "Identificador Pessoa Entidade/TCE inválido!", true);
  FRequisicao.reset();
  FRequisicao = LerRequisicao();
  ControleMensagem().SetFraListaMensagemTree(GetMsgTreeLista());
}

TRequisicaoPR TUlmoDPGerarArquivosCtbPR::LerRequisicao() const {
  auto inteiro = [this](const char* AAlias) { return StrToIntDef(Trim(GetControlValues(AAlias)), 0); };
  auto data = [this](const char* AAlias) { return StrToDateDef(Trim(GetControlValues(AAlias)), 0); };
  TRequisicaoPR r;
  r.CodigoEmpresa = inteiro("pCodigoEmpresa");
  r.DataInicial = data("pDataInicial");
  r.DataFinal = data("pDataFinal");
  r.IdPessoa = inteiro("pIdPessoa");
  r.IdPessoaEntidade = inteiro("pIdPessoaEntidade");
  r.GerarPessoa = inteiro("pGerarPessoa") == 1;
  r.GerarPlanoContas = inteiro("pGerarPlanoContas") == 1;
  r.GerarSaldoCtb = inteiro("pGerarSaldoCtb") == 1;
  r.GerarMovimentoCtb = inteiro("pGerarMovimentoCtb") == 1;
  r.TipoMovimentoCtb = inteiro("pTipoMovimentoCtb");
  r.PlanoEstatal = inteiro("pPlanoEstatal");
  r.BalanceteEstatal = inteiro("pBalanceteEstatal") == 1;
  r.Bens = inteiro("pBens") == 1;
  r.CompactarArq = inteiro("pCompactarArq") == 1;
  r.PastaDestino = Trim(GetControlValues("pPastaDestino"));
  return r;
}

void TUlmoDPGerarArquivosCtbPR::Executar() {
  TnDMPowerParam::Executar();
  if (!FRequisicao) throw EInternalError("TUlmoDPGerarArquivosCtbPR executado sem ValidarDado");
  TUlmoArqPRGerarArquivo driver;
  std::unique_ptr<TnFraProgresso> progresso = CriarProgresso(this);
  progresso->MostrarMultiplo();
  progresso->SetEhCircularParcial(true);

  driver.Requisicao = *FRequisicao;
  driver.Progresso = progresso.get();

  TnDMConexao& conexao = Conexao();
  conexao.StartTransactionRO(1);
  try {
    driver.GerarArquivos();
    conexao.CommitRO(1);
  } catch (...) {
    conexao.RollBackRO(1);
    progresso->Hide();
    throw;
  }
  progresso->Hide();
  if (auto arvore = GetMsgTreeLista()) arvore->ExpandAll();
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPGerarArquivosCtbPR>(), nClasse<TUlmoDPGerarArquivosCtbPRAreaTrabalho>()};

}  // namespace nUlmoPR
